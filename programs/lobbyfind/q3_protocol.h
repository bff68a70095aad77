// The Quake III engine family's out-of-band queries, as its servers and
// masters speak them: four 0xFF bytes, then a text command. A server
// answers "getinfo <challenge>" with "infoResponse\n\key\value...", and
// "getstatus" with "statusResponse\n\key\value...\n" and one
// `score ping "name"` line a player; a master answers "getservers" with
// "getserversResponse" and '\'-led six-byte addresses, over as many
// datagrams as it needs, the last ended by "\EOT\0\0\0".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/socket_api.h"

namespace ludora::lobbyfind {

inline constexpr std::string_view kOutOfBand = "\xFF\xFF\xFF\xFF";
// What the parsers keep of one reply, whatever it holds: a sane server has
// 64 players at most and a few dozen settings.
inline constexpr std::size_t kMaxPlayers = 64;
inline constexpr std::size_t kMaxSettings = 96;
inline constexpr std::size_t kMaxText = 128;  // a name, a key or a value

using Settings = std::vector<std::pair<std::string, std::string>>;

struct Player {
  std::string name;
  int score = 0;
  int ping = -1;     // ms; -1 where the protocol does not say
  int seconds = -1;  // time on the server; -1 where the protocol does not say
  bool operator==(const Player&) const = default;
};

std::string GetInfoRequest(std::string_view challenge);
std::string GetStatusRequest(std::string_view challenge);
// "getservers [<game name>] <protocol> empty full": the game name for the
// masters that list several games, nothing for the original ones.
std::string GetServersRequest(std::string_view gameName, int protocol);

// "\k\v\k\v": the pairs, each text cut to kMaxText, at most kMaxSettings;
// nothing when the text is not pairs.
std::optional<Settings> ParseInfoString(std::string_view text);
// The value of `key` (keys compared without case), empty when absent.
std::string_view Value(const Settings& settings, std::string_view key);

struct ServerReply {
  bool status = false;  // statusResponse (players listed), else infoResponse
  Settings settings;
  std::vector<Player> players;
};
// An infoResponse or statusResponse; nothing for anything else. Player lines
// past kMaxPlayers are dropped, and so is a line that is not one.
std::optional<ServerReply> ParseServerReply(std::string_view datagram);

struct MasterPage {
  std::vector<SocketAddress> servers;
  bool last = false;  // ended by EOT
};
// A getserversResponse, read record by record at its fixed stride, so a
// '\' inside an address or port is only a byte; nothing for anything else.
// Records that are not addresses (port or address 0) are skipped.
std::optional<MasterPage> ParseServersResponse(std::string_view datagram);

// Names carry colour codes: '^' and a character. StripColours drops them;
// ColourRuns splits the text into runs of one colour (0 to 7, -1 the
// default before any code), as the games draw it.
std::string StripColours(std::string_view text);
struct ColourRun {
  int colour;
  std::string text;
  bool operator==(const ColourRun&) const = default;
};
std::vector<ColourRun> ColourRuns(std::string_view text);

}  // namespace ludora::lobbyfind
