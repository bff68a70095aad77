// lobbyfind's files. The table of games ships in the application folder
// (lobbyfind-games.ini); the user's copy of it, once a change is made (a
// master edited, a program chosen), and the user's settings and favourites
// (lobbyfind.ini) live in the user's folder of platform/settings_file.h,
// written safely as it says.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lobbyfind/games_table.h"
#include "lobbyfind/query_engine.h"
#include "platform/settings_file.h"

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

// The user's file `name` (platform/settings_file.h reads it), or, before
// the first save there, the copy in the folder lobbyfind once used,
// <Application Data>\Corvane Ludora. Nothing without a user's folder.
inline constexpr char kOldFolderName[] = "Corvane Ludora";
std::optional<std::string> ReadUserFile(WindowsApi& api, const std::string& userFolder,
                                        const std::string& name);
bool SaveUserFile(WindowsApi& api, const std::string& userFolder, const std::string& name,
                  const std::string& text);

UserSettings ReadSettings(const IniFile& file, const std::vector<Game>& games);
IniFile WriteSettings(const UserSettings& settings, const std::vector<Game>& games);

// The user's copy of the table when there is one, else the shipped table.
std::vector<Game> LoadGames(WindowsApi& api, const std::string& appFolder,
                            const std::string& userFolder);

}  // namespace ludora::lobbyfind
