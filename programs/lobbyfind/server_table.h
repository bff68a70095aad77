// Every server lobbyfind knows of in this run: what the last answer said,
// and in which views it stands. Bounded: past kMaxServers no server is
// added, whatever a master or a network sends.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lobbyfind/games_table.h"
#include "lobbyfind/q3_protocol.h"

namespace ludora::lobbyfind {

inline constexpr std::size_t kMaxServers = 8192;

enum View : unsigned { kInternet = 1, kLan = 2, kFavourites = 4 };

enum class State { Waiting, Asked, Answered, Silent, BadReply };

struct Server {
  SocketAddress address;
  Protocol protocol = Protocol::Q3;
  int game = -1;  // its row in the games table
  unsigned views = 0;
  State state = State::Waiting;
  std::string name;  // with its colour codes
  std::string map;
  int players = -1, maxPlayers = -1, bots = 0;
  int ping = -1;
  bool locked = false;
};

// The players and settings of one server, asked for when it is selected.
struct Details {
  std::optional<std::size_t> server;
  bool ready = false;
  std::vector<Player> players;
  Settings settings;
};

class ServerTable {
 public:
  // The server at `address` with `protocol`, added to `views` (a new one
  // when none is known); nothing when the table is full.
  std::optional<std::size_t> Add(SocketAddress address, Protocol protocol, int game,
                                 unsigned views);
  std::optional<std::size_t> Find(SocketAddress address, Protocol protocol) const;
  Server& operator[](std::size_t at) { return servers_[at]; }
  const Server& operator[](std::size_t at) const { return servers_[at]; }
  std::size_t size() const { return servers_.size(); }

 private:
  // The slot of the server at `address` with `protocol`, or the empty one
  // where it would go.
  std::size_t Slot(SocketAddress address, Protocol protocol) const;

  std::vector<Server> servers_;
  // The servers by address and protocol: their rows plus one (0: an empty
  // slot), open-addressed and at most half full. Four to eight bytes a
  // server, where a tree took a node of some fifty.
  std::vector<std::uint32_t> slots_;
};

}  // namespace ludora::lobbyfind
