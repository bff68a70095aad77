#include "lobbyfind/server_table.h"

namespace ludora::lobbyfind {

std::optional<std::size_t> ServerTable::Add(SocketAddress address, Protocol protocol, int game,
                                            unsigned views) {
  if (const auto found = Find(address, protocol)) {
    Server& server = servers_[*found];
    server.views |= views;
    if (server.game < 0) server.game = game;
    return found;
  }
  if (servers_.size() >= kMaxServers || address.ip == 0 || address.port == 0) return std::nullopt;
  Server server;
  server.address = address, server.protocol = protocol, server.game = game, server.views = views;
  servers_.push_back(std::move(server));
  index_[{address, protocol}] = servers_.size() - 1;
  return servers_.size() - 1;
}

std::optional<std::size_t> ServerTable::Find(SocketAddress address, Protocol protocol) const {
  const auto found = index_.find({address, protocol});
  if (found == index_.end()) return std::nullopt;
  return found->second;
}

}  // namespace ludora::lobbyfind
