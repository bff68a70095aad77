// libFuzzer target for what lobbyfind reads from outside: any datagram, read
// as every reply it could be, and as the answer of a server and a master that
// were asked; the datagram cut into the pieces of a split answer; and any
// file as its table of games and its settings. Nothing may fault, and what
// comes out stays within its bounds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lobbyfind/a2s_split.h"
#include "lobbyfind/query_engine.h"
#include "lobbyfind/user_files.h"

namespace lf = ludora::lobbyfind;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
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
  static const auto table =
      lf::ReadGames(ludora::ParseIni("[Q]\nProtocol=q3\n[S]\nProtocol=a2s\n"));
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
  return 0;
}
