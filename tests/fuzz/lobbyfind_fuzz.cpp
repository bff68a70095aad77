// libFuzzer target for what lobbyfind reads from outside: any datagram, read
// as every reply it could be, and as the answer of a server and a master that
// were asked; the datagram cut into the pieces of a split answer; as answers
// to scans of the local network and as an Internet master's list; and any
// file as its table of games and its settings. Nothing may fault, and what
// comes out stays within its bounds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lobbyfind/a2s_split.h"
#include "lobbyfind/address_scope.h"
#include "lobbyfind/query_engine.h"
#include "lobbyfind/user_files.h"

namespace lf = ludora::lobbyfind;
using ludora::DWORD;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

const auto kTable = lf::ReadGames(ludora::ParseIni("[Q]\nProtocol=q3\n[S]\nProtocol=a2s\n"));

// The bytes as answers to scans of the local network, to the broadcast, a
// network's broadcast, one address and the address the first four bytes
// name: from this machine, the local network, the Internet and near that
// address, on Quake III and A2S ports; "$C" in them stands for the scan's
// challenge. What is taken is from a sender of the scanned network.
void Scan(std::string_view bytes) {
  DWORD named = 0;
  for (std::size_t at = 0; at < 4 && at < bytes.size(); ++at)
    named = named << 8 | static_cast<std::uint8_t>(bytes[at]);
  const ludora::SocketAddress senders[] = {
      {0x7F000001, 27960}, {0xC0A80107, 27015}, {0x0A000002, 27961}, {0xA9FE0001, 27016},
      {0x08080808, 27960}, {0x08080808, 27017}, {named, 27960},      {named ^ 1, 27015}};
  for (const DWORD target : {0xFFFFFFFFu, 0xC0A801FFu, 0x7F000001u, named}) {
    lf::ServerTable found;
    lf::QueryEngine scan(found, kTable, {}, 2);
    scan.ScanLan(target);
    std::vector<lf::Outgoing> out;
    scan.Tick(0, out);
    std::string challenge;  // the first Quake III query's
    for (const lf::Outgoing& sent : out) {
      if (sent.bytes.find("getinfo ") == 4 && challenge.empty()) challenge = sent.bytes.substr(12);
    }
    std::string reply(bytes);
    for (auto at = reply.find("$C"); at != std::string::npos;
         at = reply.find("$C", at + challenge.size()))
      reply.replace(at, 2, challenge);
    for (const auto& sender : senders) scan.Receive(1, sender, reply, out);
    scan.Tick(300, out);
    for (const auto& sender : senders) scan.Receive(301, sender, reply, out);
    for (std::size_t row = 0; row < found.size(); ++row) {
      const DWORD ip = found[row].address.ip;
      Check(found[row].views == lf::kLan &&
            std::any_of(std::begin(senders), std::end(senders),
                        [&](auto& sender) { return sender == found[row].address; }));
      if (target == 0xFFFFFFFF) Check(lf::ScopeOf(ip) <= lf::Scope::Local);
      if (target == 0xC0A801FF) Check(ip >> 8 == 0xC0A801);
      if (target == 0x7F000001) Check(ip == target);
    }
    scan.Tick(5000, out);
    Check(scan.progress().finished <= scan.progress().asked && found.size() <= 8);
  }
}

// The bytes as the list of a master on the Internet: only servers on the
// Internet are asked, each host at the pace of one server.
void FromTheInternet(std::string_view bytes) {
  lf::ServerTable listed;
  lf::QueryEngine engine(listed, kTable, {}, 3);
  const ludora::SocketAddress master{0x08080808, 27950};
  engine.AskMaster(master, 0);
  std::vector<lf::Outgoing> out;
  engine.Tick(0, out);
  engine.Receive(1, master, bytes, out);
  for (std::size_t row = 0; row < listed.size(); ++row) {
    Check(lf::ScopeOf(listed[row].address.ip) == lf::Scope::Public &&
          listed[row].address.port >= 1024);
  }
  out.clear();
  engine.Tick(10, out);
  std::vector<DWORD> hosts;
  for (const lf::Outgoing& sent : out) hosts.push_back(sent.to.ip);
  std::sort(hosts.begin(), hosts.end());
  Check(std::adjacent_find(hosts.begin(), hosts.end()) == hosts.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (const auto reply = lf::ParseServerReply(bytes)) {
    Check(reply->players.size() <= lf::kMaxPlayers && reply->settings.size() <= lf::kMaxSettings);
    for (const auto& [key, value] : reply->settings)
      Check(key.size() <= lf::kMaxText && value.size() <= lf::kMaxText);
  }
  if (const auto page = lf::ParseServersResponse(bytes)) Check(page->servers.size() <= size / 7);
  if (const auto reply = lf::ParseA2sReply(bytes)) Check(reply->players.size() <= lf::kMaxPlayers);
  const auto games = lf::ReadGames(ludora::ParseIni(bytes));
  Check(games.size() <= lf::kMaxGames);
  for (const lf::Game& game : games)
    Check(game.masters.size() <= lf::kMaxMasters && game.firstPort <= game.lastPort);
  Check(lf::ReadSettings(ludora::ParseIni(bytes), games).favourites.size() <= lf::kMaxServers);

  // The same bytes as the answer of each server that was asked, and of a master.
  const auto& table = kTable;
  lf::ServerTable servers;
  lf::QueryEngine engine(servers, table, {}, 1);
  const ludora::SocketAddress q3{0x7F000001, 1}, a2s{0x7F000001, 2}, master{0x7F000001, 3};
  engine.Ask(*servers.Add(q3, lf::Protocol::Q3, 0, lf::kFavourites));
  engine.Ask(*servers.Add(a2s, lf::Protocol::A2s, 1, lf::kFavourites), true);
  engine.AskMaster(master, 0);
  std::vector<lf::Outgoing> out;
  engine.Tick(0, out);
  for (const auto& from : {q3, a2s, master, q3}) engine.Receive(1, from, bytes, out);
  // The bytes cut at each '|' into the pieces of a split answer, to a joiner
  // and to the A2S server's question.
  lf::A2sPieces pieces;
  for (std::size_t at = 0; at <= size;) {
    const std::size_t end = std::min(bytes.find('|', at), size);
    const std::string piece = "\xFE\xFF\xFF\xFF" + std::string(bytes.substr(at, end - at));
    if (pieces.Add(piece) == lf::A2sPieces::Step::Whole)
      Check(pieces.whole().size() <= lf::kMaxJoined && pieces.whole().starts_with("\xFF\xFF"));
    engine.Receive(2, a2s, piece, out);
    at = end + 1;
  }
  engine.Tick(5000, out);
  Check(servers.size() <= 2 + size / 7 && engine.progress().finished <= engine.progress().asked);
  Scan(bytes);
  FromTheInternet(bytes);
  return 0;
}
