// lobbyfind.exe: the replies of Quake III family servers, their masters and
// A2S servers, written by hand from the formats; the engine against a
// network in memory; the games table, the settings, the list and the join.
#include <gtest/gtest.h>

#include <set>

#include "fake/fake_windows.h"
#include "fake/lobbyfind_view.h"
#include "fake/sockets.h"
#include "fake/test_support.h"
#include "lobbyfind/a2s_split.h"
#include "lobbyfind/address_scope.h"
#include "lobbyfind/browser.h"
#include "lobbyfind/commands.h"
#include "lobbyfind/join.h"
#include "lobbyfind/resolver.h"
#include "lobbyfind/server_view.h"

namespace ludora::lobbyfind {
namespace {

using namespace std::string_literals;
const std::string kFF = "\xFF\xFF\xFF\xFF";

TEST(Q3Replies, InfoAndStatusWithColoursQuotesAndBrokenLines) {
  const auto info = ParseServerReply(kFF +
                                     "infoResponse\n\\challenge\\x1\\hostname\\^1Red ^7Base"
                                     "\\mapname\\q3dm17\\clients\\3\\sv_maxclients\\8");
  ASSERT_TRUE(info && !info->status);
  EXPECT_EQ(Value(info->settings, "HOSTNAME"), "^1Red ^7Base");
  EXPECT_EQ(StripColours(Value(info->settings, "hostname")), "Red Base");
  const auto status = ParseServerReply(kFF +
                                       "statusResponse\n\\sv_hostname\\X\\mapname\\m\n"
                                       "12 50 \"^2Al\"ex\"\n-3 999 \"Bob\"\nnot a player\n"
                                       "7 20 NoQuotes\n4 30 \"cut");
  ASSERT_TRUE(status && status->status);
  EXPECT_EQ(status->players, (std::vector<Player>{{"^2Al\"ex", 12, 50, -1},
                                                  {"Bob", -3, 999, -1},
                                                  {"NoQuotes", 7, 20, -1},
                                                  {"\"cut", 4, 30, -1}}));
  // A key without its value, another command, no out-of-band mark: nothing.
  for (const std::string& bad :
       {kFF + "infoResponse\n\\hostname\\X\\mapname", kFF + "print\nhi", "infoResponse\n\\a\\b"s,
        kFF + "infoResponsex\n\\a\\b", kFF + "infoResponse\nno pairs"}) {
    EXPECT_FALSE(ParseServerReply(bad)) << bad;
  }
  // Bounded whatever comes: 64 players, 96 settings, texts of 128.
  std::string flood = kFF + "statusResponse\n\\k\\" + std::string(5000, 'v');
  for (int i = 0; i < 200; ++i) flood += "\\k" + std::to_string(i) + "\\v";
  for (int i = 0; i < 200; ++i) flood += "\n1 1 \"p\"";
  const auto bounded = ParseServerReply(flood);
  ASSERT_TRUE(bounded);
  EXPECT_EQ(bounded->players.size(), kMaxPlayers);
  EXPECT_EQ(bounded->settings.size(), kMaxSettings);
  EXPECT_EQ(bounded->settings[0].second.size(), kMaxText);
  EXPECT_EQ(ColourRuns("^1Red^^7 ^xZ^"),
            (std::vector<ColourRun>{{1, "Red^"}, {7, " "}, {0, "Z^"}}));
}

TEST(Q3Replies, MasterListsAtTheirStrideWithABackslashInAPortAndJunk) {
  // 10.0.0.1:27960, then 1.2.3.4 port 0x5C5C ('\\' twice), then address 0, then EOT.
  const std::string page = kFF + "getserversResponse\\\x0A\x00\x00\x01\x6D\x38"s +
                           "\\\x01\x02\x03\x04\x5C\x5C"s + "\\\x00\x00\x00\x00\x6D\x38"s +
                           "\\EOT\0\0\0"s;
  const auto read = ParseServersResponse(page);
  ASSERT_TRUE(read && read->last);
  EXPECT_EQ(read->servers, (std::vector<SocketAddress>{{0x0A000001, 27960}, {0x01020304, 0x5C5C}}));
  // Without EOT more pages follow; a record cut short ends the page.
  const auto partial =
      ParseServersResponse(kFF + "getserversResponse\\\x0A\x00\x00\x01\x6D\x38\\\x01\x02"s);
  ASSERT_TRUE(partial && !partial->last);
  EXPECT_EQ(partial->servers.size(), 1u);
  EXPECT_FALSE(ParseServersResponse(kFF + "getserversExtResponse\\"));
  EXPECT_EQ(GetServersRequest("", 68), kFF + "getservers 68 empty full");
  EXPECT_EQ(GetServersRequest("Quake3Arena", 71), kFF + "getservers Quake3Arena 71 empty full");
}

TEST(A2sReplies, NewAndOldInfoChallengesAndPlayers) {
  const std::string source = kFF +
                             "I\x11"
                             "Dust\0de_dust2\0cstrike\0Counter-Strike\0"s +
                             "\x0A\x00\x05\x10\x01\x64\x6C\x01\x01"s + "1.0\0\x80\x87\x69"s;
  const auto info = ParseA2sReply(source);
  ASSERT_TRUE(info && info->kind == A2sReply::Kind::Info);
  EXPECT_TRUE(info->info.name == "Dust" && info->info.map == "de_dust2" && info->info.appId == 10 &&
              info->info.players == 5 && info->info.maxPlayers == 16 && info->info.bots == 1 &&
              info->info.locked && info->info.secure && info->info.version == "1.0");
  const std::string old = kFF + "m1.2.3.4:27015\0Old\0crossfire\0valve\0Half-Life\0"s +
                          "\x02\x0A\x2F\x64\x77\x00\x01"s + "www\0dl\0\0"s + "\x01\x00\x00\x00"s +
                          "\x02\x00\x00\x00\x00\x01"s + "\x01\x03"s;
  const auto oldInfo = ParseA2sReply(old);
  ASSERT_TRUE(oldInfo);
  EXPECT_TRUE(oldInfo->info.name == "Old" && oldInfo->info.folder == "valve" &&
              oldInfo->info.players == 2 && oldInfo->info.maxPlayers == 10 &&
              !oldInfo->info.locked && oldInfo->info.secure && oldInfo->info.bots == 3);
  // The Ship (app id 2400) has three bytes of its own before the version.
  const std::string ship = kFF + "I\x11S\0m\0ship\0The Ship\0"s +
                           "\x60\x09\x01\x10\x00"
                           "dl\x00\x01"s +
                           "\x00\x03\x1E"s + "1.0.0.4\0"s;
  EXPECT_EQ(ParseA2sReply(ship)->info.version, "1.0.0.4");
  const auto challenge = ParseA2sReply(kFF + "A\x78\x56\x34\x12");
  ASSERT_TRUE(challenge && challenge->kind == A2sReply::Kind::Challenge);
  EXPECT_EQ(challenge->challenge, 0x12345678u);
  EXPECT_EQ(A2sInfoRequest(0x12345678u), kFF + "TSource Engine Query\0\x78\x56\x34\x12"s);
  // Three players announced, two whole, the third cut: the two are kept.
  const auto players = ParseA2sReply(kFF +
                                     "D\x03\x00"
                                     "Ann\0\x05\x00\x00\x00\x00\x00\x70\x42"s +
                                     "\x01"
                                     "Bo\0\xFF\xFF\xFF\xFF\x00\x00\xC0\x7F"s +
                                     "\x02Cy\0\x01"s);
  ASSERT_TRUE(players);
  EXPECT_EQ(players->players, (std::vector<Player>{{"Ann", 5, -1, 60}, {"Bo", -1, -1, -1}}));
  for (const std::string& bad :
       {source.substr(0, source.size() - 6), kFF + "A\x01", kFF + "Z", "I"s, old.substr(0, 40)}) {
    EXPECT_FALSE(ParseA2sReply(bad)) << bad.size();
  }
}

// The pieces of a split answer in each layout, around a payload.
enum class Layout { Source, OldSource, GoldSrc };
std::string Piece(Layout layout, std::uint32_t id, unsigned number, unsigned total,
                  const std::string& payload) {
  std::string piece = "\xFE\xFF\xFF\xFF"s;
  for (int i = 0; i < 4; ++i) piece += static_cast<char>((id >> (8 * i)) & 0xFF);
  if (layout == Layout::GoldSrc) return piece + static_cast<char>(number << 4 | total) + payload;
  piece += static_cast<char>(total);
  piece += static_cast<char>(number);
  return piece + (layout == Layout::Source ? "\xE0\x04"s : ""s) + payload;
}

const std::string kTwoPlayers = kFF + "D\x02\x00"s + "Ann\0\x05\x00\x00\x00\x00\x00\x70\x42"s +
                                "\x01" + "Bob\0\x03\x00\x00\x00\x00\x00\x00\x00"s;  // just come

TEST(A2sSplit, EachLayoutJoinedInOrderOutOfOrderAndWithCopies) {
  for (const Layout layout : {Layout::Source, Layout::OldSource, Layout::GoldSrc}) {
    const auto piece = [&](unsigned number, std::uint32_t id = 7) {
      return Piece(layout, id, number, 3, kTwoPlayers.substr(number * 12, 12));
    };
    A2sPieces pieces;
    EXPECT_EQ(pieces.Add(piece(0)), A2sPieces::Step::Waiting);
    EXPECT_EQ(pieces.Add(piece(1)), A2sPieces::Step::Waiting);
    ASSERT_EQ(pieces.Add(piece(2)), A2sPieces::Step::Whole) << int(layout);
    EXPECT_EQ(pieces.whole(), kTwoPlayers);
    // The last first, a copy, a piece of another answer, then the rest.
    EXPECT_EQ(pieces.Add(piece(2, 8)), A2sPieces::Step::Waiting);
    EXPECT_EQ(pieces.Add(piece(2, 8)), A2sPieces::Step::Waiting);
    EXPECT_EQ(pieces.Add(piece(1, 9)), A2sPieces::Step::Ignored);
    EXPECT_EQ(pieces.Add(piece(1, 8)), A2sPieces::Step::Waiting);
    ASSERT_EQ(pieces.Add(piece(0, 8)), A2sPieces::Step::Whole) << int(layout);
    const auto players = ParseA2sReply(pieces.whole());
    ASSERT_TRUE(players);
    EXPECT_EQ(players->players, (std::vector<Player>{{"Ann", 5, -1, 60}, {"Bob", 3, -1, 0}}));
  }
}

TEST(A2sSplit, MissingOversizedBogusAndCompressedAnswersAreNotJoined) {
  using Step = A2sPieces::Step;
  const auto run = [](const std::vector<std::string>& sent) {
    A2sPieces pieces;
    Step last = Step::Waiting;
    for (const std::string& piece : sent) last = pieces.Add(piece);
    return last;
  };
  const std::string half = kTwoPlayers.substr(0, 12), rest = kTwoPlayers.substr(12);
  const std::string first = Piece(Layout::Source, 1, 0, 3, half);
  EXPECT_EQ(run({first, Piece(Layout::Source, 1, 2, 3, rest)}), Step::Waiting);  // one missing
  // Sixteen pieces of 1,100 bytes: past the size of a joined answer.
  std::vector<std::string> large;
  for (unsigned n = 0; n < 16; ++n)
    large.push_back(Piece(Layout::Source, 1, n, 16, n ? std::string(1100, 'x') : half));
  EXPECT_EQ(run(large), Step::Bad);
  // Totals of 0, of 17, of two kinds; a number past the total.
  EXPECT_EQ(run({Piece(Layout::Source, 1, 0, 0, half)}), Step::Bad);
  EXPECT_EQ(run({Piece(Layout::Source, 1, 0, 17, half)}), Step::Bad);
  EXPECT_EQ(run({first, Piece(Layout::Source, 1, 1, 2, rest)}), Step::Bad);
  EXPECT_EQ(run({first, Piece(Layout::Source, 1, 5, 3, rest)}), Step::Bad);
  EXPECT_EQ(run({Piece(Layout::GoldSrc, 1, 0, 0, half)}), Step::Bad);
  EXPECT_EQ(run({Piece(Layout::Source, 0x80000001u, 0, 2, half)}), Step::Compressed);
  EXPECT_EQ(run({"\xFE\xFF\xFF\xFF\x01"s}), Step::Bad);  // shorter than any header
  // As long as GoldSrc's header, shorter than Source's: held, never read past its end.
  EXPECT_EQ(run({"\xFE\xFF\xFF\xFF\x01\x00\x00\x00\x02\x00"s}), Step::Waiting);
  // A first piece that is no answer's beginning never decides a layout:
  // its pieces are held to the bound, then dropped.
  std::vector<std::string> junk;
  for (unsigned n = 0; n <= kMaxPieces; ++n)
    junk.push_back(Piece(Layout::Source, 1, n, 2, "x" + std::to_string(n)));
  EXPECT_EQ(run(junk), Step::Bad);
}

const char kTable[] =
    "; the games\r\n[Quake III Arena]\r\nProtocol=q3\r\nVersions=68\r\nMasters=127.0.0.1:27950 "
    "master.example:27950\r\nRegistry=HKLM\\Software\\Id\\Quake III Arena\\InstallPath\r\n"
    "Program=quake3.exe\r\n[Enemy Territory]\r\nProtocol=q3\r\nVersions=84\r\nPorts=27960-27961\r\n"
    "[Counter-Strike]\r\nProtocol=a2s\r\nVersions=10\r\nFolder=cstrike\r\nJoin=-game cstrike "
    "+connect %address%\r\n[Bad]\r\nProtocol=gopher\r\n";

TEST(GamesTable, ReadWrittenAndReadAgainAndRepliesPlacedInTheirRow) {
  const auto games = ReadGames(ParseIni(kTable));
  ASSERT_EQ(games.size(), 3u);
  EXPECT_EQ(games[0].masters,
            (std::vector<std::string>{"127.0.0.1:27950", "master.example:27950"}));
  EXPECT_TRUE(games[1].firstPort == 27960 && games[1].lastPort == 27961);
  EXPECT_TRUE(games[2].protocol == Protocol::A2s && games[2].firstPort == 27015);
  const auto again = ReadGames(ParseIni(WriteIni(WriteGames(games))));
  ASSERT_EQ(again.size(), 3u);
  EXPECT_TRUE(again[0].registry == games[0].registry && again[2].join == games[2].join &&
              again[1].versions == games[1].versions && again[0].masterProtocol == 68);
  EXPECT_EQ(GameOf(games, Protocol::Q3, 84, {}, 0), 1);
  EXPECT_EQ(GameOf(games, Protocol::Q3, 71, {}, -1), 0);  // unknown: the first of the family
  EXPECT_EQ(GameOf(games, Protocol::A2s, 0, "CSTRIKE", -1), 2);
}

// A network in memory: servers that answer, one silent, one hostile, a master.
struct Network : ::testing::Test {
  testing::FakeSockets net;
  std::vector<Game> games = ReadGames(ParseIni(kTable));
  UserSettings settings;
  FakeBrowserView window;
  DWORD now = 0;  // the window's clock
  static constexpr SocketAddress kQuake{0x7F000001, 27960}, kSilent{0x7F000001, 27961},
      kSource{0x7F000001, 27015}, kHostile{0x7F000001, 27962}, kMaster{0x7F000001, 27950};

  // A Quake III server that echoes the challenge; its name says how often it was asked.
  void Quake(SocketAddress at, std::string extra = "", int* asked = nullptr) {
    net.peers[at] = [=](const std::string& query) -> std::vector<std::string> {
      if (asked) ++*asked;
      const std::string challenge = query.substr(query.find(' ') + 1);
      if (query.find("getstatus") != std::string::npos) {
        return {kFF + "statusResponse\n\\challenge\\" + challenge +
                "\\sv_hostname\\Q\\mapname\\m\\sv_maxclients\\2" + extra +
                "\n1 5 \"a\"\n2 6 \"b\"\n3 7 \"c\"\n"};
      }
      return {kFF + "infoResponse\n\\challenge\\" + challenge +
              "\\hostname\\^3Quake\\mapname\\q3dm1\\clients\\1\\sv_maxclients\\8\\protocol\\84" +
              extra};
    };
  }
  std::unique_ptr<Browser> Open() {
    auto browser =
        std::make_unique<Browser>(net, games, settings, 0x5EED, window, [this] { return now; });
    EXPECT_TRUE(browser->Open(1, 0x8001));
    return browser;
  }
  static void Run(Browser& browser, DWORD from, DWORD to) {
    for (DWORD now = from; now <= to; now += 10) browser.Tick(now), browser.Read(now + 3);
  }
};

TEST_F(Network, FavouritesAnswerTimeOutAndResistAHostileServer) {
  settings.favourites = {{kQuake, "Quake III Arena"},
                         {kSilent, "Quake III Arena"},
                         {kSource, "counter-strike"},
                         {kHostile, "Quake III Arena"},
                         {kQuake, "A Game Not In The Table"}};
  Quake(kQuake, "\\g_needpass\\0");
  int challenges = 0, playerQueries = 0;
  const std::string sourceInfo = kFF +
                                 "I\x11"
                                 "Src\0de_x\0cstrike\0CS\0"s +
                                 "\x0A\x00\x02\x10\x00\x64\x6C\x00\x01"s + "1\0"s;
  net.peers[kSource] = [&](const std::string& query) -> std::vector<std::string> {
    if (query.size() == 29 && query.ends_with("\x11\x22\x33\x44")) return {sourceInfo};
    if (query[4] == 'U' && ++playerQueries) {  // split in two, the last first, and a stray piece
      const std::string players = kFF + "D\x01\x00P\0\x02\x00\x00\x00\x00\x00\x80\x3F"s;
      return {sourceInfo,  // again, read as no answer to this question
              Piece(Layout::Source, 3, 1, 2, players.substr(9)),
              Piece(Layout::Source, 4, 0, 2, players.substr(0, 9)),
              Piece(Layout::Source, 3, 0, 2, players.substr(0, 9))};
    }
    ++challenges;
    return {kFF + "A\x11\x22\x33\x44"};
  };
  net.peers[kHostile] = [&](const std::string&) -> std::vector<std::string> {
    return {kFF + "infoResponse\n\\hostname\\H\\mapna",
            kFF + "infoResponse\n\\hostname\\Evil\\mapname\\e"};
  };
  auto opened = Open();
  Browser& browser = *opened;
  EXPECT_TRUE(browser.Refresh(kFavourites).empty());
  browser.Tick(0);
  // A stranger's datagram, and a spoofed one with a wrong challenge, change nothing.
  net.Deliver(net.LastSocket(), {0x0A000009, 27960},
              kFF + "infoResponse\n\\hostname\\S\\mapname\\s");
  net.Deliver(net.LastSocket(), kSilent,
              kFF + "infoResponse\n\\challenge\\0\\hostname\\S\\mapname\\s");
  browser.Read(4);
  browser.Read(5);  // the A2S server's answer to the query with its challenge
  const ServerTable& servers = browser.servers();
  EXPECT_EQ(servers.size(), 4u);
  EXPECT_EQ(browser.engine().dropped(), 3u);  // the stranger, the spoof, the hostile's second
  const Server& quake = servers[*servers.Find(kQuake, Protocol::Q3)];
  EXPECT_TRUE(quake.state == State::Answered && quake.name == "^3Quake" && quake.players == 1 &&
              quake.maxPlayers == 8 && quake.ping == 4 && quake.game == 1 && !quake.locked);
  const Server& source = servers[*servers.Find(kSource, Protocol::A2s)];
  EXPECT_TRUE(source.state == State::Answered && source.name == "Src" && source.game == 2 &&
              challenges == 1);
  EXPECT_EQ(servers[*servers.Find(kHostile, Protocol::Q3)].state, State::BadReply);
  EXPECT_EQ(servers[*servers.Find(kSilent, Protocol::Q3)].state, State::Asked);
  // The silent one is asked once more after the timeout, then given up.
  Run(browser, 10, 2100);
  EXPECT_EQ(servers[*servers.Find(kSilent, Protocol::Q3)].state, State::Silent);
  EXPECT_EQ(
      std::count_if(net.sent.begin(), net.sent.end(), [](auto& d) { return d.peer == kSilent; }),
      2);
  const Progress& progress = browser.engine().progress();
  EXPECT_TRUE(progress.asked == 4 && progress.answered == 2 && progress.finished == 4);
  // The favourite of a game the table lacks is kept for the next save.
  const auto saved = browser.Favourites();
  ASSERT_EQ(saved.size(), 5u);
  EXPECT_TRUE(saved[4].address == kQuake && saved[4].game == "A Game Not In The Table");
  EXPECT_FALSE(browser.engine().Refreshing());
  EXPECT_TRUE(browser.engine().Idle());  // the window's timer may slow down
  // Details: a player list longer than the server's places is cut to them.
  browser.engine().Ask(*servers.Find(kQuake, Protocol::Q3), true);
  EXPECT_FALSE(browser.engine().Idle());
  Run(browser, 2200, 2300);
  const Details& details = browser.engine().details();
  ASSERT_TRUE(details.ready);
  EXPECT_EQ(details.players.size(), 2u);
  EXPECT_EQ(Value(details.settings, "mapname"), "m");
  browser.engine().Ask(*servers.Find(kSource, Protocol::A2s), true);
  Run(browser, 2400, 2500);
  EXPECT_EQ(browser.engine().details().players, (std::vector<Player>{{"P", 2, -1, 1}}));
  EXPECT_EQ(playerQueries, 1);
  EXPECT_EQ(Value(browser.engine().details().settings, "folder"), "cstrike");
}

TEST_F(Network, AServerWhoseOnlyReplyIsOversizedIsABadReply) {
  settings.favourites = {{kSilent, "Quake III Arena"}};
  net.peers[kSilent] = [](const std::string&) -> std::vector<std::string> {
    return {kFF + std::string(kMaxDatagram, 'x')};
  };
  auto opened = Open();
  opened->Refresh(kFavourites);
  opened->Tick(0);
  opened->Read(4);
  EXPECT_EQ(opened->servers()[0].state, State::BadReply);
}

TEST_F(Network, SilentServersHoldTheirPlacesInFlightAndALateAnswerIsTimedFromItsTry) {
  settings.limits.inFlight = 3;
  settings.limits.perSecond = 100000;
  for (WORD port = 27961; port <= 27965; ++port)
    settings.favourites.push_back({{0x7F000001, port}, "Quake III Arena"});
  auto opened = Open();
  opened->Refresh(kFavourites);
  Run(*opened, 0, 500);
  ASSERT_EQ(net.sent.size(), 3u);  // however fast the pace
  // The first asked answers after its retry went, with the first try's challenge.
  Run(*opened, 510, 1000);
  const std::string first = net.sent[0].bytes.substr(12);  // after "getinfo "
  net.Deliver(net.LastSocket(), net.sent[0].peer,
              kFF + "infoResponse\n\\challenge\\" + first + "\\hostname\\Late\\mapname\\m");
  opened->Read(1200);
  EXPECT_EQ(opened->servers()[*opened->servers().Find(net.sent[0].peer, Protocol::Q3)].ping, 1200);
}

TEST_F(Network, TheMastersListIsAskedWithinTheBoundsAndPaced) {
  settings.limits.inFlight = 3;
  settings.limits.perSecond = 100;
  int asked = 0;
  std::string first = kFF + "getserversResponse", second = first;
  for (BYTE i = 1; i <= 6; ++i) {
    const SocketAddress server{0x7F000001, static_cast<WORD>(30000 + i)};
    Quake(server, "", &asked);
    (i <= 3 ? first : second) += "\\\x7F\x00\x00\x01"s + char(0x75) + char(0x30 + i);
  }
  second += "\\\x7F\x00\x00\x01"s + char(0x75) + char(0x31);  // the first again: asked once
  net.peers[kMaster] = [&](const std::string& query) -> std::vector<std::string> {
    EXPECT_EQ(query, kFF + "getservers 68 empty full");
    return {first, second + "\\EOT\0\0\0"s};
  };
  games[0].masters.push_back("not-a-number");
  auto opened = Open();
  Browser& browser = *opened;
  const auto named = browser.Refresh(kInternet);
  ASSERT_EQ(named.size(), 1u);  // the name, for the window to resolve; no port, no master
  EXPECT_EQ(named[0].name, "master.example:27950");
  browser.Tick(0);  // the master
  browser.Read(1);
  EXPECT_EQ(browser.servers().size(), 6u);
  browser.Tick(2);  // two more within the bound of three
  EXPECT_EQ(net.sent.size(), 3u);
  browser.Read(3);
  browser.Tick(12);  // the pace: one datagram in 10 ms
  EXPECT_EQ(net.sent.size(), 4u);
  Run(browser, 20, 200);
  EXPECT_EQ(asked, 6);
  EXPECT_EQ(browser.engine().progress().answered, 6u);
  EXPECT_TRUE(browser.Favourites().empty());  // listed servers are no favourites
  browser.Refresh(kFavourites);               // nor asked with them
  Run(browser, 300, 400);
  EXPECT_EQ(asked, 6);
  // Refreshing one server twice in a row: the second query waits the gap out.
  browser.engine().Ask(0);
  Run(browser, 1000, 1000);
  browser.engine().Ask(0);
  Run(browser, 1010, 1240);
  EXPECT_EQ(asked, 7);
  Run(browser, 1260, 1260);
  EXPECT_EQ(asked, 8);
  // A pace under one datagram a tick still ends: 50 a second, a tick every 16 ms.
  settings.limits.perSecond = 50;
  auto slowly = Open();
  slowly->Refresh(kInternet);
  std::size_t sentBy100 = 0;
  for (DWORD now = 0; now <= 400; now += 16) {
    slowly->Tick(now), slowly->Read(now + 3);
    if (now <= 100) sentBy100 = net.sent.size();
  }
  EXPECT_EQ(asked, 14);
  EXPECT_FALSE(slowly->engine().Refreshing());
  EXPECT_EQ(sentBy100 - 9, (3000u + 96 * 50) / 1000);  // the three in hand, then one in 20 ms
}

TEST_F(Network, TheLocalNetworkIsScannedOnEveryGamesPorts) {
  settings.lanAddress = 0x7F000001;
  Quake(kQuake, "\\g_needpass\\1");
  const std::string info = kFF +
                           "I\x11"
                           "Lan\0m\0cstrike\0CS\0"s +
                           "\x0A\x00\x01\x08\x00\x64\x6C\x00\x00"s + "1\0"s;
  net.peers[{0x7F000001, 27020}] = [&](const std::string&) -> std::vector<std::string> {
    return {info};
  };
  int lost = 0;  // 27018's first answer is lost; it answers the retry
  net.peers[{0x7F000001, 27018}] = [&](const std::string&) -> std::vector<std::string> {
    return ++lost == 1 ? std::vector<std::string>{} : std::vector<std::string>{info};
  };
  auto opened = Open();
  Browser& browser = *opened;
  browser.Refresh(kInternet);  // cut short by the scan: showing it again refreshes it
  browser.Refresh(kLan);
  EXPECT_TRUE(browser.Interrupted(kInternet) && !browser.Interrupted(kLan));
  browser.Tick(0);
  // An internet address answering on a game's port is no server of this network.
  net.Deliver(net.LastSocket(), {0x08080808, 27020}, info);
  Run(browser, 0, 50);
  std::vector<WORD> ports;
  for (const auto& datagram : net.sent) ports.push_back(datagram.peer.port);
  std::sort(ports.begin(), ports.end());
  EXPECT_EQ(ports, (std::vector<WORD>{27015, 27016, 27017, 27018, 27019, 27020, 27960, 27961, 27962,
                                      27963}));
  const auto rows = VisibleRows(browser.servers(), games, kLan, {}, {Column::Name, false});
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(CellText(browser.servers()[rows[0]], games, Column::Name, false), "Lan");
  EXPECT_EQ(CellText(browser.servers()[rows[1]], games, Column::Name, false), "Quake");
  EXPECT_EQ(CellText(browser.servers()[rows[1]], games, Column::Game, false), "Enemy Territory");
  EXPECT_EQ(CellText(browser.servers()[rows[1]], games, Column::Lock, false), "*");
  Run(browser, 60, 1100);
  EXPECT_EQ(VisibleRows(browser.servers(), games, kLan, {}, {}).size(), 3u);
  // A scan of the broadcast takes answers from private networks, not from the Internet.
  settings.lanAddress = 0xFFFFFFFF;
  auto wide = Open();
  wide->Refresh(kLan);
  wide->Tick(0);
  for (const DWORD ip : {0xC0A80105u, 0x08080808u})
    net.Deliver(net.LastSocket(), {ip, 27015}, info);
  wide->Read(5);
  EXPECT_EQ(wide->servers().size(), 1u);
}

// A master's list as its records: '\', the address and the port, both big-endian.
std::string Listed(const std::vector<SocketAddress>& servers) {
  std::string page = kFF + "getserversResponse";
  for (const SocketAddress& s : servers) {
    page += '\\';
    for (const int shift : {24, 16, 8, 0}) page += char(s.ip >> shift);
    page += char(s.port >> 8), page += char(s.port);
  }
  return page + "\\EOT\0\0\0"s;
}

TEST_F(Network, AMasterOnTheInternetHasOnlyInternetServersAskedAndOneHostAtAPace) {
  // One host on twenty ports, and addresses no Internet master may aim queries at.
  constexpr SocketAddress kFar{0x5DB8D822, 27950};  // 93.184.216.34
  const DWORD host = 0x01020304;
  std::vector<SocketAddress> list;
  for (WORD port = 27960; port < 27980; ++port) list.push_back({host, port});
  for (const DWORD ip :
       {0x7F000001u, 0x0A000001u, 0x64400001u, 0xA9FE0001u, 0xAC1F0001u, 0xC0A80001u, 0x00010203u,
        0xC0000201u, 0xE0000001u, 0xF0000001u, 0xFFFFFFFFu})
    list.push_back({ip, 27960});
  list.push_back({0x05060708, 123});  // NTP's port
  net.peers[kFar] = [&](const std::string&) -> std::vector<std::string> { return {Listed(list)}; };
  games = {games[0]};
  games[0].masters = {"93.184.216.34:27950"};
  settings.limits.timeout = 1100;  // retries fall between the host's turns
  auto opened = Open();
  opened->Refresh(kInternet);
  const auto toHost = [&] {
    return std::count_if(net.sent.begin(), net.sent.end(),
                         [&](auto& d) { return d.peer.ip == host; });
  };
  Run(*opened, 0, 5000);
  EXPECT_EQ(opened->servers().size(), 20u);
  EXPECT_EQ(toHost(), 20);  // one every 250 ms from 10 ms, retries too
  Run(*opened, 5010, 12000);
  std::set<WORD> ports;
  for (const auto& d : net.sent) ports.insert(d.peer.port);
  EXPECT_EQ(ports.size(), 21u);  // the master's and each of the host's
  // A master on this machine may list its servers and the local network's;
  // one on the local network, the network's but not "this machine".
  const struct {
    DWORD master;
    SocketAddress server;
    bool listed;
  } kCases[] = {{0x7F000001, {0x7F000001, 27960}, true}, {0x7F000001, {0xC0A80105, 27960}, true},
                {0xC0A80102, {0x0A000005, 27960}, true}, {0xC0A80102, {0x7F000001, 27960}, false},
                {0xC0A80102, {0x0A000005, 0}, false},    {0xC0000201, {0xC0A80105, 27960}, false},
                {0x7F000001, {0xFFFFFFFF, 27960}, false}};
  for (const auto& [master, server, listed] : kCases)
    EXPECT_EQ(MayList(master, server), listed) << master << " " << server.ToString();
}

// lobbyfind's window, driven as Windows would: the timer's ticks, and the
// socket's message after each, the window's clock moving on.
struct Window : Network {
  std::unique_ptr<Browser> Started() {
    settings.favourites = {{kQuake, "Quake III Arena"}, {kSilent, "Quake III Arena"}};
    Quake(kQuake);
    auto browser = Open();
    browser->Start();
    return browser;
  }
  void Drive(Browser& browser, DWORD until) {
    while (now < until) {
      now += 7, browser.Timer();
      now += 3, browser.SocketReady(false);
    }
  }
  static constexpr char kTitle[] = "Corvane Ludora Server Browser - Favourites: ";
};

TEST_F(Window, TheTitleSaysTheRefreshsProgressItsTimeOnceAndTheServerSelected) {
  now = 5000;
  auto browser = Started();
  EXPECT_EQ(window.title, kTitle + "answered 0 of 2"s);
  EXPECT_TRUE(window.tab == 2 && window.status == "2 shown");
  Drive(*browser, 5300);
  EXPECT_EQ(window.title, kTitle + "answered 1 of 2"s);
  // The silent one's try and retry time out: the refresh took from its start to then.
  Drive(*browser, 8000);
  EXPECT_EQ(window.title, kTitle + "1 of 2 answered in 2.0 s"s);
  const int titles = window.titles;
  Drive(*browser, 9000);  // nothing changes: the title is not set again
  EXPECT_EQ(window.titles, titles);
  browser->RowSelected(0);  // answered, first by its ping
  EXPECT_EQ(window.title, kTitle + "1 of 2 answered in 2.0 s - Quake (q3dm1, 1/8, 3 ms)"s);
  EXPECT_EQ(window.status, "2 shown   127.0.0.1:27960");
  Drive(*browser, 9100);  // its details, once they are in
  EXPECT_EQ(window.players, (TextRows{{"a", "1", "5"}, {"b", "2", "6"}}));
  browser->RefreshAll();  // F5: the count starts again at the next drawing
  now += kRedrawMs, browser->Timer();
  EXPECT_EQ(window.title, kTitle + "answered 0 of 2 - Q"s);  // asked anew
  // The Internet: a master's name to resolve, and the master the table names by its address.
  browser->ShowView(kInternet);
  EXPECT_EQ(window.resolving, (std::vector<std::string>{"master.example:27950"}));
  EXPECT_TRUE(window.tab == 0 && !browser->selected() && window.players.empty());
  Drive(*browser, 12000);
  const std::string first = window.title;
  // The name resolved after the rest was done: the refresh goes on, and its time with it.
  browser->MasterResolved(kMaster, 0);
  Drive(*browser, 12300);
  EXPECT_TRUE(window.title.ends_with("Internet: answered 0 of 0")) << window.title;
  Drive(*browser, 20000);
  EXPECT_TRUE(first.ends_with("Internet: 0 of 0 answered in 2.0 s")) << first;
  EXPECT_TRUE(window.title.ends_with("Internet: 0 of 0 answered in 4.7 s")) << window.title;
}

TEST_F(Window, TheSelectionFollowsItsServerAndTheListIsToldOnlyWhatChanged) {
  settings.lanAddress = 0x7F000001;
  Quake(kSilent);  // both answer
  auto browser = Started();
  Drive(*browser, 3100);
  browser->SortBy(Column::Address);
  browser->RowSelected(1);
  EXPECT_EQ(browser->selected(), browser->servers().Find(kSilent, Protocol::Q3));
  browser->SortBy(Column::Address);  // the other way: the server selected moves up
  EXPECT_EQ(window.selected, 0);
  EXPECT_EQ(window.counts, 1);  // told once: the count did not change
  Filter filter;
  filter.text = "27960";  // hides the server selected
  browser->SetFilter(filter);
  EXPECT_TRUE(window.rows == 1 && window.counts == 2 && window.selected == -1);
  EXPECT_TRUE(!browser->selected() && window.status == "1 shown");
  // Delete takes a server out of the favourites in their view only; the scan finds it on the LAN.
  browser->ShowView(kLan);
  Drive(*browser, now + 100);
  browser->RowSelected(0);
  EXPECT_FALSE(browser->LeaveFavourites());
  browser->ShowView(kFavourites);
  browser->RowSelected(0);
  EXPECT_TRUE(browser->LeaveFavourites());
  EXPECT_TRUE(window.rows == 0 && browser->Favourites().size() == 1);
  EXPECT_FALSE(browser->ToggleFavourite());  // nothing selected
}

TEST_F(Window, TheTimerSlowsWhenIdleTheListIsDrawnAtAPaceAndAnswersWaitForInput) {
  auto browser = Started();
  // A click waits: the answers are left in the socket for the timer.
  now += 10, browser->Timer();
  browser->SocketReady(true);
  EXPECT_EQ(browser->engine().progress().answered, 0u);
  now += 10, browser->Timer();
  EXPECT_EQ(browser->engine().progress().answered, 1u);
  // A drawing takes 300 ms: the next waits 250 ms from its end, not its start.
  window.drawing = [&] { now += 300; };
  browser->RefreshAll();
  const int redraws = window.redraws;
  now += kRedrawMs, browser->Timer();
  browser->SocketReady(false);  // an answer: to be drawn
  now += 100, browser->Timer();
  EXPECT_EQ(window.redraws, redraws + 1);
  now += 160, browser->Timer();
  EXPECT_EQ(window.redraws, redraws + 2);
  window.drawing = nullptr;
  Drive(*browser, 5000);
  EXPECT_EQ(window.timers, (std::vector<UINT>{kTickMs, kIdleTickMs}));
  // Windows refuses the timer once: the next tick asks again.
  window.timerFails = true;
  browser->RowSelected(0);
  window.timerFails = false;
  now += 500, browser->Timer();
  EXPECT_EQ(window.timers.back(), kTickMs);
}

// A name resolved on a thread comes back in two 32-bit words, as on the
// shipped build, with nothing of the address or the tag cut.
TEST(Resolver, TheAnswerCarriesTheWholeAddressAndTagInTwo32BitWords) {
  testing::FakeWindows api;
  for (const bool favourite : {false, true}) {
    auto sockets = std::make_unique<testing::FakeSockets>();
    sockets->hosts["master.example"] = {{0xC0A80102, 0}};
    ASSERT_TRUE(
        ResolveLater(api, std::move(sockets), 5, 0x8003, "master.example:65535", 300, favourite));
  }
  ASSERT_TRUE(ResolveLater(api, std::make_unique<testing::FakeSockets>(), 5, 0x8003,
                           "unknown.example:27960", 0, true));
  api.JoinThreads();
  const auto posted = api.Effects("post ");
  ASSERT_EQ(posted.size(), 2u);  // none for the unknown name
  for (const std::string& entry : posted) {
    unsigned long long wParam = 0;
    long long lParam = 0;
    ASSERT_EQ(std::sscanf(entry.c_str(), "post 32771 to=5 %llu,%lld", &wParam, &lParam), 2);
    const Resolved back =
        UnpackResolved(static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam));
    EXPECT_TRUE(back.address == (SocketAddress{0xC0A80102, 65535}) && back.game == 300) << entry;
  }
  EXPECT_NE(posted[0], posted[1]);  // the favourite's tag differs
  EXPECT_TRUE(UnpackResolved(PackResolved({{0x7F000001, 27960}, 1, true}).wParam,
                             PackResolved({{0x7F000001, 27960}, 1, true}).lParam)
                  .favourite);
}

TEST(ServerList, TheTableKnowsEachOfThousandsOnceByAddressAndProtocol) {
  ServerTable table;
  for (DWORD n = 0; n < kMaxServers + 10; ++n) {
    const SocketAddress address{0x0A000000 + n / 3, static_cast<WORD>(27000 + n % 3)};
    table.Add(address, n % 2 ? Protocol::A2s : Protocol::Q3, 0, kInternet);
  }
  EXPECT_EQ(table.size(), kMaxServers);  // and no more
  for (std::size_t row = 0; row < table.size(); row += 7) {
    const Server& server = table[row];
    EXPECT_EQ(table.Find(server.address, server.protocol), row);
    EXPECT_EQ(table.Add(server.address, server.protocol, 1, kLan), row);
    const Protocol other = server.protocol == Protocol::Q3 ? Protocol::A2s : Protocol::Q3;
    EXPECT_EQ(table.Find(server.address, other), std::nullopt);
  }
  EXPECT_EQ(table.size(), kMaxServers);
  EXPECT_EQ(table[7].views, unsigned{kInternet | kLan});
}

TEST(ServerList, FiltersAndSortsWithUnansweredServersLast) {
  ServerTable table;
  const auto add = [&](DWORD ip, std::string name, int players, int ping, State state) {
    Server& s = table[*table.Add({ip, 27960}, Protocol::Q3, 0, kFavourites)];
    s.name = name, s.players = players, s.maxPlayers = 4, s.ping = ping, s.state = state;
  };
  add(1, "^1zed", 4, 30, State::Answered);
  add(2, "Alpha", 0, 90, State::Answered);
  add(3, "", -1, -1, State::Silent);
  add(4, "beta", 2, 10, State::Answered);
  add(5, "bad", -1, -1, State::BadReply);
  table[1].game = 1;
  const std::vector<Game> games(2);
  const auto names = [&](const Filter& filter, Sort sort) {
    std::string text;
    for (const auto row : VisibleRows(table, games, kFavourites, filter, sort))
      text += CellText(table[row], games, Column::Name, false) + ",";
    return text;
  };
  EXPECT_EQ(names({}, {Column::Ping, false}), "beta,zed,Alpha,0.0.0.3:27960,bad,");
  EXPECT_EQ(names({}, {Column::Name, true}), "zed,beta,Alpha,0.0.0.3:27960,bad,");
  EXPECT_EQ(names({-1, true, true, 0, ""}, {Column::Players, true}), "beta,");
  EXPECT_EQ(names({-1, false, true, 0, ""}, {Column::Players, true}), "beta,Alpha,");
  EXPECT_EQ(names({-1, false, false, 30, "E"}, {Column::Ping, false}), "beta,zed,");
  EXPECT_EQ(names({-1, false, false, 0, "0.0.4:"}, {}), "beta,");  // by its address
  EXPECT_EQ(names({0, false, false, 0, ""}, {Column::Name, false}), "beta,zed,0.0.0.3:27960,bad,");
  EXPECT_EQ(names({1, false, false, 0, ""}, {}), "Alpha,");
}

// The README's keys: where each works, and the near misses that must not
// run it (a modifier more, the edit boxes' own keys outside the list).
TEST(Keys, TheReadmesTable) {
  enum Where { kList, kBox };
  const struct {
    UINT key;
    bool ctrl, alt, shift;
    Where where;
    Command command;
  } kCases[] = {
      {0x0D, false, false, false, kList, Command::Join},  // Enter
      {0x0D, false, false, false, kBox, Command::None},
      {0x74, false, false, false, kBox, Command::RefreshAll},  // F5
      {0x74, false, false, true, kList, Command::RefreshOne},
      {0x74, true, false, false, kList, Command::None},
      {0x2D, false, false, false, kBox, Command::AddAddress},  // Insert
      {'D', true, false, false, kBox, Command::Favourite},
      {'D', true, false, true, kList, Command::None},
      {0x2E, false, false, false, kList, Command::LeaveFavourites},  // Delete
      {0x2E, false, false, false, kBox, Command::None},
      {'C', true, false, false, kList, Command::CopyAddress},
      {'C', true, false, false, kBox, Command::None},
      {'C', false, false, false, kList, Command::None},  // the list's type-ahead
      {'1', true, false, false, kBox, Command::ShowInternet},
      {'2', true, false, false, kList, Command::ShowLan},
      {'3', true, false, false, kList, Command::ShowFavourites},
      {'3', true, true, false, kList, Command::None},
      {0x28, false, false, false, kList, Command::None},  // Down
  };
  for (const auto& [key, ctrl, alt, shift, where, command] : kCases) {
    EXPECT_EQ(CommandOfKey(key, ctrl, alt, shift, where == kList), command)
        << key << (ctrl ? " ctrl" : "") << (alt ? " alt" : "") << (shift ? " shift" : "")
        << (where == kList ? " in the list" : " in a box");
  }
}

TEST(UserFiles, SettingsReadSoundlyAndTheJoinStartsTheGameInItsFolder) {
  const auto games = ReadGames(ParseIni(kTable));
  const auto settings = ReadSettings(
      ParseIni(
          "[Settings]\nLanAddress=127.0.0.1\nMaxQueries=99999\nTimeout=x\n[Filter]\nGame=enemy "
          "territory\nMaxPing=-5\nNotFull=1\n[Favourites]\nServer=1.2.3.4:27960 Quake III Arena\n"
          "Server=1.2.3.4 Quake III Arena\nServer=junk\nOther=5.6.7.8:1 X\n"),
      games);
  EXPECT_TRUE(settings.lanAddress == 0x7F000001 && settings.limits.inFlight == 1024 &&
              settings.limits.timeout == 1000 && settings.filter.game == 1 &&
              settings.filter.maxPing == 0 && settings.filter.notFull && !settings.filter.notEmpty);
  ASSERT_EQ(settings.favourites.size(), 1u);
  EXPECT_EQ(settings.favourites[0].game, "Quake III Arena");
  const auto again = ReadSettings(ParseIni(WriteIni(WriteSettings(settings, games))), games);
  EXPECT_TRUE(again.favourites[0].address == settings.favourites[0].address &&
              again.filter.game == 1 && again.lanAddress == 0x7F000001 && again.filter.notFull &&
              !again.filter.notEmpty);

  testing::FakeWindows api;
  // Favourites from before, in the folder lobbyfind once used, read until the first save.
  const std::string user = "C:\\AppData\\Corvane\\Ludora";
  api.AddFile("C:\\AppData\\Corvane Ludora\\lobbyfind.ini", "[Favourites]\r\nServer=old");
  EXPECT_EQ(ReadUserFile(api, user, kSettingsFile), "[Favourites]\r\nServer=old");
  EXPECT_TRUE(SaveUserFile(api, user, kSettingsFile, "new"));
  EXPECT_EQ(ReadUserFile(api, user, kSettingsFile), "new");
  EXPECT_FALSE(ReadUserFile(api, "", kSettingsFile));

  Game quake = games[0];
  EXPECT_EQ(FindProgram(api, quake), "");
  api.AddFile("C:\\Games\\Quake III\\quake3.exe");
  api.SetValue("HKLM\\Software\\Id\\Quake III Arena", "InstallPath", REG_SZ,
               testing::SzBytes("C:\\Games\\Quake III"));
  const std::string program = FindProgram(api, quake);
  EXPECT_EQ(program, "C:\\Games\\Quake III\\quake3.exe");
  EXPECT_TRUE(StartGame(api, program, JoinArguments(quake, {0x7F000001, 27960}, "se cret")));
  EXPECT_EQ(
      api.Effects("run "),
      (std::vector<std::string>{"run \"C:\\Games\\Quake III\\quake3.exe\" +connect 127.0.0.1:27960 "
                                "+password \"se cret\" app=C:\\Games\\Quake III\\quake3.exe "
                                "dir=C:\\Games\\Quake III"}));
  // A password as one argument, however the C runtime reads backslashes and
  // quotes; a '+', which starts a command for Quake III, inside quotes.
  for (const auto& [password, argument] :
       {std::pair{"a\\b \"c\\\"\\", "\"a\\b \\\"c\\\\\\\"\\\\\""},
        {"x+y", "\"x+y\""},
        {"plain", "plain"}}) {
    EXPECT_EQ(JoinArguments(quake, {0x7F000001, 27960}, password),
              "+connect 127.0.0.1:27960 +password "s + argument);
  }
}

}  // namespace
}  // namespace ludora::lobbyfind
