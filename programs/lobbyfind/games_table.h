// The games lobbyfind knows, as data: a table the user may edit. Each row
// names the game, its protocol, the port range its servers use on a local
// network, the protocol versions its servers report (which tell games of
// one family apart), its masters, how to find its program, and the
// arguments that join a server.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings_file.h"
#include "platform/socket_api.h"

namespace ludora::lobbyfind {

enum class Protocol { Q3, A2s };

struct Game {
  std::string name;
  Protocol protocol = Protocol::Q3;
  WORD firstPort = 27960, lastPort = 27963;
  std::vector<int> versions;  // "protocol" of a Quake III reply, Steam's app id of an A2S one
  std::string folder;         // an A2S server's game folder, for answers without an app id
  std::vector<std::string> masters;  // "host:port"
  int masterProtocol = 68;           // what getservers asks for
  std::string masterGame;            // the game's name for masters that list several
  std::string registry;              // "HKLM\key\value": the program, or the folder that holds it
  std::string program;               // its file name, also looked up under App Paths
  std::string path;                  // chosen by the user
  std::string join = "+connect %address%";
  std::string password = "+password %password%";
};

// At most this many rows, of at most this many masters each.
inline constexpr std::size_t kMaxGames = 64;
inline constexpr std::size_t kMaxMasters = 8;

std::vector<Game> ReadGames(const IniFile& file);
IniFile WriteGames(const std::vector<Game>& games);

// The row a reply belongs to: the first of its protocol that lists its
// version (or, for an A2S answer without an app id, its folder); else
// `hint` (the row that was asked), else the first row of the protocol; -1
// when there is none.
int GameOf(const std::vector<Game>& games, Protocol protocol, int version, std::string_view folder,
           int hint);

}  // namespace ludora::lobbyfind
