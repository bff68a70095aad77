#include "lobbyfind/server_table.h"

#include <algorithm>

namespace ludora::lobbyfind {

namespace {

std::size_t Hash(SocketAddress address, Protocol protocol) {
  const std::uint64_t key =
      ((std::uint64_t{address.ip} << 16 | address.port) << 1 | static_cast<unsigned>(protocol)) *
      0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>(key >> 32);
}

}  // namespace

std::size_t ServerTable::Slot(SocketAddress address, Protocol protocol) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = Hash(address, protocol) & mask;; at = (at + 1) & mask) {
    const std::uint32_t row = slots_[at];
    if (row == 0) return at;
    const Server& server = servers_[row - 1];
    if (server.address == address && server.protocol == protocol) return at;
  }
}

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
  if (servers_.size() * 2 > slots_.size()) {
    slots_.assign(std::max<std::size_t>(64, slots_.size() * 2), 0);
    for (std::size_t row = 0; row < servers_.size(); ++row)
      slots_[Slot(servers_[row].address, servers_[row].protocol)] =
          static_cast<std::uint32_t>(row + 1);
  } else {
    slots_[Slot(address, protocol)] = static_cast<std::uint32_t>(servers_.size());
  }
  return servers_.size() - 1;
}

std::optional<std::size_t> ServerTable::Find(SocketAddress address, Protocol protocol) const {
  if (slots_.empty()) return std::nullopt;
  const std::uint32_t row = slots_[Slot(address, protocol)];
  if (row == 0) return std::nullopt;
  return row - 1;
}

}  // namespace ludora::lobbyfind
