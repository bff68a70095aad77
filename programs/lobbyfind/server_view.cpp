#include "lobbyfind/server_view.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace ludora::lobbyfind {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool Passes(const Server& server, const std::vector<Game>& games, const Filter& filter) {
  if (filter.game >= 0 && server.game != filter.game) return false;
  if (filter.notEmpty && server.players <= 0) return false;
  if (filter.notFull && (server.state != State::Answered ||
                         (server.maxPlayers > 0 && server.players >= server.maxPlayers))) {
    return false;
  }
  if (filter.maxPing > 0 && (server.ping < 0 || server.ping > filter.maxPing)) return false;
  if (filter.text.empty()) return true;
  const std::string wanted = Lower(filter.text);
  for (const Column column : {Column::Name, Column::Map, Column::Address, Column::Game}) {
    if (Lower(CellText(server, games, column, false)).find(wanted) != std::string::npos)
      return true;
  }
  return false;
}

// Sound answers first, then the rest by state, whatever the direction.
int Rank(const Server& server) {
  return server.state == State::Answered ? 0 : server.state == State::BadReply ? 2 : 1;
}

}  // namespace

std::vector<std::size_t> VisibleRows(const ServerTable& servers, const std::vector<Game>& games,
                                     unsigned view, const Filter& filter, Sort sort) {
  std::vector<std::size_t> rows;
  for (std::size_t at = 0; at < servers.size(); ++at) {
    if ((servers[at].views & view) && Passes(servers[at], games, filter)) rows.push_back(at);
  }
  std::vector<std::string> names;
  if (sort.column == Column::Name || sort.column == Column::Map || sort.column == Column::Game) {
    names.resize(servers.size());
    for (const std::size_t at : rows)
      names[at] = Lower(CellText(servers[at], games, sort.column, false));
  }
  const auto key = [&](std::size_t at) {
    const Server& s = servers[at];
    switch (sort.column) {
      case Column::Lock:
        return std::tuple<long long, std::string_view>(s.locked, {});
      case Column::Players:
        return std::tuple<long long, std::string_view>(s.players, {});
      case Column::Ping:
        return std::tuple<long long, std::string_view>(s.ping, {});
      case Column::Address:
        return std::tuple<long long, std::string_view>(1LL * s.address.ip << 16 | s.address.port,
                                                       {});
      default:
        return std::tuple<long long, std::string_view>(0, names[at]);
    }
  };
  // Ties in the column go by the table's order, so the order is total and a
  // row stays where it was while nothing changes.
  std::sort(rows.begin(), rows.end(), [&](std::size_t a, std::size_t b) {
    if (Rank(servers[a]) != Rank(servers[b])) return Rank(servers[a]) < Rank(servers[b]);
    const auto first = key(a), second = key(b);
    if (first != second) return sort.descending ? second < first : first < second;
    return a < b;
  });
  return rows;
}

std::string CellText(const Server& server, const std::vector<Game>& games, Column column,
                     bool colours) {
  switch (column) {
    case Column::Lock:
      return server.locked ? "*" : "";
    case Column::Name:
      if (server.name.empty()) return server.address.ToString();
      return colours ? server.name : StripColours(server.name);
    case Column::Game:
      return server.game >= 0 && static_cast<std::size_t>(server.game) < games.size()
                 ? games[server.game].name
                 : "";
    case Column::Map:
      return StripColours(server.map);
    case Column::Players:
      if (server.players < 0) return "";
      return std::to_string(server.players) +
             (server.maxPlayers >= 0 ? '/' + std::to_string(server.maxPlayers) : "");
    case Column::Ping:
      switch (server.state) {
        case State::Waiting:
          return "";
        case State::Asked:
          return "...";
        case State::Silent:
          return "no answer";
        case State::BadReply:
          return "bad reply";
        case State::Answered:
          return std::to_string(server.ping);
      }
      return "";
    case Column::Address:
      return server.address.ToString();
  }
  return "";
}

std::string Summary(const Server& server) {
  const std::string name =
      server.name.empty() ? server.address.ToString() : StripColours(server.name);
  if (server.state == State::Waiting) return name;
  if (server.state != State::Answered)
    return name + " (" + CellText(server, {}, Column::Ping, false) + ")";
  return name + " (" + StripColours(server.map) + ", " +
         CellText(server, {}, Column::Players, false) + ", " + std::to_string(server.ping) + " ms)";
}

}  // namespace ludora::lobbyfind
