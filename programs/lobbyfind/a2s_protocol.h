// The Half-Life and Source servers' queries. A2S_INFO ("TSource Engine
// Query") is answered with the server's record: 'I' in the format of
// Source and of Half-Life since 2006, 'm' in Half-Life's older one; since
// 2020 many servers first answer 'A' and a four-byte challenge, and take
// the query again with the challenge appended. A2S_PLAYER ('U' and a
// challenge, -1 to ask for one) is answered 'A' and the challenge, then
// 'D' and the players. All numbers are little-endian.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lobbyfind/q3_protocol.h"

namespace ludora::lobbyfind {

inline constexpr std::uint32_t kNoChallenge = 0xFFFFFFFFu;

std::string A2sInfoRequest(std::optional<std::uint32_t> challenge);
std::string A2sPlayerRequest(std::uint32_t challenge);

struct A2sInfo {
  std::string name, map, folder, game, version;
  int players = 0, maxPlayers = 0, bots = 0;
  int appId = 0;        // Steam's number of the game, 0 for Half-Life's old answer
  bool locked = false;  // a password is asked
  bool secure = false;  // anti-cheat on
  char type = 0;        // 'd' dedicated, 'l' listen, 'p' relay
  char os = 0;          // 'l', 'w', 'm'
};

struct A2sReply {
  enum class Kind { Challenge, Info, Players } kind = Kind::Info;
  std::uint32_t challenge = 0;
  A2sInfo info;
  std::vector<Player> players;
};

// One unsplit answer; nothing for anything else, a record cut short
// included. Players past kMaxPlayers are dropped.
std::optional<A2sReply> ParseA2sReply(std::string_view datagram);

// The settings a details pane shows for an A2S server.
Settings A2sSettings(const A2sInfo& info);

}  // namespace ludora::lobbyfind
