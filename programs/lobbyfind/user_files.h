// lobbyfind's files. The table of games ships in the application folder
// (lobbyfind-games.ini); the user's copy of it, once a change is made (a
// master edited, a program chosen), and the user's settings and favourites
// (lobbyfind.ini) live in the user's own folder. A file is written whole to
// a new file first, which then takes the old one's place.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lobbyfind/games_table.h"
#include "lobbyfind/query_engine.h"
#include "platform/windows_api.h"

namespace ludora::lobbyfind {

inline constexpr char kGamesFile[] = "lobbyfind-games.ini";
inline constexpr char kSettingsFile[] = "lobbyfind.ini";
inline constexpr DWORD kMaxFileBytes = 1 << 20;  // what is read of a file, at most

struct Filter {
  int game = -1;  // a row of the games table; -1 all
  bool notEmpty = false;
  bool notFull = false;
  int maxPing = 0;  // 0: any
  std::string text;
};

struct Favourite {
  SocketAddress address;
  std::string game;  // its row's name
};

struct UserSettings {
  DWORD lanAddress = 0xFFFFFFFF;  // where the local network's scan goes
  Limits limits;
  bool colours = true;
  unsigned view = kFavourites;
  Filter filter;
  std::vector<Favourite> favourites;
};

std::optional<std::string> ReadWholeFile(WindowsApi& api, const std::string& path);
bool SaveFile(WindowsApi& api, const std::string& path, const std::string& text);

UserSettings ReadSettings(const IniFile& file, const std::vector<Game>& games);
IniFile WriteSettings(const UserSettings& settings, const std::vector<Game>& games);

// The user's copy of the table when there is one, else the shipped table.
std::vector<Game> LoadGames(WindowsApi& api, const std::string& appFolder,
                            const std::string& userFolder);

}  // namespace ludora::lobbyfind
