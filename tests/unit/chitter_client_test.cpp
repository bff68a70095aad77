// chitter.exe's client of a network, its sessions over the fake network,
// the program's commands, settings and logs, and the input line.
#include <gtest/gtest.h>

#include <ctime>
#include <map>

#include "chitter/chat.h"
#include "chitter/input_line.h"
#include "fake/fake_windows.h"
#include "fake/sockets.h"
#include "platform/settings_file.h"

namespace ludora::chitter {
namespace {

using Lines = std::vector<std::string>;

Clock At(std::uint64_t ms) {
  Clock now;
  now.ms = ms;
  now.year = 2026, now.month = 12, now.day = 10, now.hour = 21, now.minute = 7;
  return now;
}

// "<nick>|<text>" for each line of a conversation, codes and all.
Lines Shown(const Conversation& conversation) {
  Lines lines;
  for (const Line& line : conversation.lines()) lines.push_back(line.nick + "|" + line.text);
  return lines;
}

std::string Last(const Conversation& conversation) {
  return conversation.lines().empty() ? "" : Shown(conversation).back();
}

Lines Members(const Client& client, const Conversation& channel) {
  Lines members;
  for (const Member* member : channel.Sorted(client.features()))
    members.push_back(member->status + member->nick);
  return members;
}

Profile Named(std::string nick, std::string altNick = {}, Lines channels = {}) {
  Profile profile;
  profile.nick = std::move(nick), profile.altNick = std::move(altNick);
  profile.channels = std::move(channels);
  return profile;
}

class Net {
 public:
  explicit Net(Profile profile = {}) : client("Net", std::move(profile), western, options) {}
  void Feed(std::initializer_list<std::string_view> lines) {
    for (const std::string_view line : lines) client.Received(line);
  }
  Lines Sent(std::uint64_t ms) {
    client.At(At(ms));
    client.Tick();
    return client.Outgoing();
  }
  // Registered as `nick` on ngIRCd, nothing left to send.
  void Register(const char* nick = "Player") {
    client.Connected();
    Feed({std::string(":irc.ludora.test 001 ") + nick + " :Welcome to the Internet Relay Network " +
              nick + "!~player@127.0.0.1",
          ":irc.ludora.test 005 Player RFC2812 CASEMAPPING=rfc1459 PREFIX=(qaohv)~&@%+ "
          "CHANTYPES=#&+ CHANMODES=beI,k,l,imMnOPQRstVz :are supported on this server"});
    Sent(100000);
  }
  Conversation& Joined(const char* channel, const char* names) {
    Feed({std::string(":Player!~player@127.0.0.1 JOIN :") + channel,
          std::string(":irc.ludora.test 353 Player = ") + channel + " :" + names,
          std::string(":irc.ludora.test 366 Player ") + channel + " :End of NAMES list"});
    return *client.Find(channel);
  }

  WesternCodePage western;
  ClientOptions options;
  Client client;
};

TEST(ChitterClient, RegistersTryingOtherNicksAndAnswersPingAtOnce) {
  Profile profile = Named("Player", "Plyr");
  profile.user = "p l", profile.realName = "A Player", profile.password = "pw";
  Net net(profile);
  net.client.Connected();
  net.Feed({"PING :early"});  // before registration ends
  EXPECT_EQ(net.Sent(0), (Lines{"PONG early", "PASS pw", "NICK Player", "USER pl 0 * :A Player"}));
  net.Feed({":s 433 * Player :Nickname already in use", ":s 433 * Plyr :Nickname already in use",
            ":s 432 * Player1 :Erroneous Nickname"});
  EXPECT_EQ(net.Sent(10000), (Lines{"NICK Plyr", "NICK Player1", "NICK Player2"}));
  // A nick as long as the server allows gets its number within that length.
  Net longNick(Named("LongNickname"));
  longNick.client.Connected();
  longNick.Feed({":s 433 * LongNickname :in use", ":s 433 * x :in use"});
  EXPECT_EQ(longNick.Sent(0).back(), "NICK LongNick2");
  // Registered: the server's nick counts, and a taken nick is only shown.
  net.Feed({":s 001 Player2 :Welcome"});
  EXPECT_EQ(net.client.nick(), "Player2");
  net.Feed({":s 433 Player2 Foo :Nickname already in use"});
  EXPECT_TRUE(net.Sent(20000).empty());
}

TEST(ChitterClient, JoinsSettingsChannelsAndThoseItWasInWithKeysFirst) {
  Net net(Named("Player", "", {"#open", "#locked sesame", "#Open"}));
  net.client.Connected();
  net.client.Join("#keyed,#mine", "k1");
  net.Sent(0);
  net.Feed({":s 001 Player :Welcome"});
  EXPECT_EQ(net.Sent(1000), Lines{"JOIN #keyed,#locked,#mine,#open k1,sesame"});
  // After a lost connection: the channels joined then, not one the user left,
  // each with its key: the settings' one, or the one set since.
  net.Joined("#mine", "Player");
  net.Joined("#keyed", "Player");
  net.Joined("#locked", "Player");
  net.Feed({":op!o@h MODE #keyed +k k2"});
  net.client.Part("#mine", "bye");
  net.Sent(2000);
  net.client.Lost("gone");
  EXPECT_FALSE(net.client.Find("#keyed")->joined);
  EXPECT_EQ(net.client.Find("#keyed")->memberCount(), 0u);
  net.client.Connected();
  net.Feed({":s 001 Player :Welcome"});
  EXPECT_EQ(net.Sent(50000).back(), "JOIN #keyed,#locked,#open k2,sesame");
}

TEST(ChitterClient, FollowsMembersThroughNamesModesNicksPartsKicksAndQuits) {
  Net net;
  net.Register();
  Conversation& channel = net.Joined("#c", "~Boss &adm @op %half +voice @+both plain!u@h Player");
  EXPECT_EQ(Members(net.client, channel),
            (Lines{"~Boss", "&adm", "@+both", "@op", "%half", "+voice", "plain", "Player"}));
  // rfc1459: [] are {} in nicks; modes take their parameters in turn.
  net.Feed({":Boss!b@h MODE #c +oklv-lo+bo PLAIN key 10 Player op *!*@bad voice", ":x!u@h JOIN #c",
            ":x!u@h NICK :x[1]", ":op!o@h PART #c :later", ":Boss!b@h KICK #c X{1} :out"});
  EXPECT_EQ(Members(net.client, channel),
            (Lines{"~Boss", "&adm", "@+both", "@plain", "@+voice", "%half", "+Player"}));
  EXPECT_EQ(Last(channel), "|X{1} was kicked by Boss (out)");
  net.Feed({":plain!u@h QUIT :Ping timeout", ":s 353 Player = #c :@new", ":s 366 Player #c :End"});
  EXPECT_EQ(Members(net.client, channel), Lines{"@new"});  // a NAMES reply replaces the list
  net.Feed({":Boss!b@h TOPIC #c :Clan match at 9", ":new!n@h KICK #c player :bye"});
  EXPECT_EQ(channel.topic(), "Clan match at 9");
  EXPECT_FALSE(channel.joined || channel.wanted);
  EXPECT_EQ(channel.memberCount(), 0u);
  EXPECT_TRUE(channel.lines().back().mention);
}

TEST(ChitterClient, RoutesMessagesNoticesAndActionsAndSeesTheUsersNick) {
  Net net;
  net.Register();
  Conversation& channel = net.Joined("#c", "Player bob");
  net.Feed({":bob!b@h PRIVMSG #c :hi player, caf\xE9",
            ":bob!b@h PRIVMSG #c :Players, xPlayer, Player2 and Player_ here",
            ":bob!b@h PRIVMSG @#c :ops only",
            ":bob!b@h PRIVMSG #c :\x01"
            "ACTION waves\x01",
            ":bob!b@h PRIVMSG Player :psst", ":bob!b@h NOTICE Player :and a notice",
            ":NickServ!s@services. NOTICE Player :identify"});
  const auto& lines = channel.lines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_TRUE(lines[1].text == "hi player, caf\xC3\xA9" && lines[1].mention);
  EXPECT_FALSE(lines[2].mention);
  EXPECT_EQ(lines[3].text, "ops only");
  EXPECT_TRUE(lines[4].kind == LineKind::Action && lines[4].text == "waves");
  Conversation& query = *net.client.Find("BOB");
  EXPECT_TRUE(query.kind() == Conversation::Kind::Query && query.lines().back().mention);
  EXPECT_EQ(query.activity(), Activity::Mention);
  EXPECT_EQ(net.client.mentions(), 3u);
  EXPECT_EQ(Last(net.client.server()), "NickServ|identify");  // the tab looked at: none
  // The conversation follows its nick; an error goes to the tab looked at; a
  // server's message to the server's tab.
  net.Feed({":bob!b@h NICK :bobby"});
  EXPECT_EQ(net.client.Find("bobby"), &query);
  net.client.SetActive(&channel);
  net.Feed({":s 401 Player nobody :No such nick", ":irc.ludora.test PRIVMSG Player :restart"});
  EXPECT_EQ(Last(channel), "|nobody No such nick");
  EXPECT_EQ(Last(net.client.server()), "irc.ludora.test|restart");
  // Replies without their parameters (the fuzzer's finds) change nothing; bytes that
  // are not a message at all are shown as they came.
  for (const char* bare : {"311", "301", "305", "332", "333", "353", "366", "433", "005", "MODE"})
    net.Feed({std::string(":s ") + bare});
  EXPECT_EQ(net.client.nick(), "Player");
  net.Feed({":only.a.prefix"});
  EXPECT_EQ(Last(net.client.server()), "|:only.a.prefix");
  net.client.Say(channel, "hello");
  EXPECT_EQ(net.Sent(200000), Lines{"PRIVMSG #c hello"});
  EXPECT_TRUE(channel.lines().back().own);
}

TEST(ChitterClient, HoldsNoMoreThanItsBoundsWhateverTheServerSends) {
  Net net;
  net.Register();
  Conversation& big = net.Joined("#big", "Player");
  for (int line = 0; line < 600; ++line) {
    std::string names = ":s 353 Player = #big :";
    for (int i = 0; i < 100; ++i) names += "n" + std::to_string(line * 100 + i) + " ";
    net.Feed({names});
  }
  EXPECT_EQ(big.memberCount(), Client::kMaxMembers);
  for (int i = 0; i < 150; ++i) net.Feed({":u" + std::to_string(i) + "!u@h PRIVMSG Player :hi"});
  EXPECT_EQ(net.client.conversations().size(), Client::kMaxConversations);
  EXPECT_EQ(Last(net.client.server()), "u149|hi");  // shown all the same
  net.Feed({":Player!p@h JOIN #one.too.many"});
  EXPECT_EQ(Last(net.client.server()), "|Too many tabs: #one.too.many not shown");
}

TEST(ChitterClient, TabInAChannelOfTwentyThousandTakesAFractionOfASecond) {
  Net net;
  net.Register();
  Conversation& crowd = net.Joined("#crowd", "Player");
  for (int line = 0; line < 200; ++line) {
    std::string names = ":s 353 Player = #crowd :";
    for (int i = 0; i < 100; ++i) names += "member" + std::to_string(line * 100 + i) + " ";
    net.Feed({names});
  }
  net.Feed({":member7!u@h PRIVMSG #crowd :hi"});
  net.client.Say(crowd, "hi all");  // the user's own line: no name to offer
  // The processor's time, which other work on the machine leaves as it is.
  const std::clock_t start = std::clock();
  const Lines names = CompletionCandidates(net.client, crowd);
  NickCompleter completer;
  const auto done = completer.Next(u"MEMBER19999", 11, names, net.client.features());
  const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  EXPECT_EQ(names.size(), 20002u);      // and the channel, and the user
  EXPECT_EQ(names.front(), "member7");  // the latest speaker first
  EXPECT_EQ(done->text, u"member19999: ");
  EXPECT_LT(seconds, 1.0);  // 0.15 s here; 6 s when each name was looked for among the others
}

TEST(ChitterClient, AnswersCtcpAtABoundedPace) {
  Net net;
  net.Register();
  for (int i = 0; i < 6; ++i) net.Feed({":bob!b@h PRIVMSG Player :\x01VERSION\x01"});
  net.Feed(
      {":bob!b@h PRIVMSG Player :\x01"
       "DCC SEND x 1 2 3\x01"});
  const Lines replies = net.Sent(100000);
  EXPECT_EQ(replies.size(), 3u);
  EXPECT_EQ(replies.front(), std::string("NOTICE bob :\x01VERSION ") + kVersionReply + "\x01");
  EXPECT_EQ(Last(net.client.server()), "|CTCP DCC from bob (not supported)");
  net.client.At(At(103000));
  net.Feed({":bob!b@h PRIVMSG Player :\x01PING 42\x01", ":bob!b@h PRIVMSG Player :\x01TIME\x01"});
  EXPECT_EQ(net.Sent(103000), (Lines{"NOTICE bob :\x01PING 42\x01"}));
  for (int i = 0; i < 3; ++i) net.client.Raw("PRIVMSG #c :mine first");
  net.client.At(At(200000));
  net.Feed({":bob!b@h PRIVMSG Player :\x01VERSION\x01"});
  EXPECT_EQ(Last(net.client.server()), "|CTCP VERSION from bob (not answered: too many)");
}

TEST(ChitterClient, SplitsLongTextToFitWhatTheServerAddsNeverInACharacter) {
  Net net;
  net.Register();
  Conversation& channel = net.Joined("#c", "Player");
  std::string text;
  for (int i = 0; i < 300; ++i) text += "\xC3\xA9";  // 600 bytes of two-byte characters
  text += " end";
  net.client.Act(channel, text);
  const Lines sent = net.Sent(200000);
  ASSERT_EQ(sent.size(), 2u);
  std::string joined;
  for (const std::string& line : sent) {
    // ":Player!~player@127.0.0.1 " the server puts before it, CR LF after.
    EXPECT_LE(27 + line.size() + 2, 512u) << line;
    const std::string prefix =
        "PRIVMSG #c :\x01"
        "ACTION ";
    ASSERT_TRUE(line.starts_with(prefix) && line.ends_with("\x01"));
    const std::string piece = line.substr(prefix.size(), line.size() - prefix.size() - 1);
    EXPECT_TRUE(IsUtf8(piece));
    joined += piece;
  }
  EXPECT_EQ(joined, text);
}

TEST(ChitterClient, TakesItsNickBackWhenFreedAndNowAndThen) {
  Net net(Named("Player", "Player_"));
  net.client.Connected();
  net.Feed({":s 433 * Player :in use", ":s 001 Player_ :Welcome"});
  net.Sent(0);
  EXPECT_TRUE(net.Sent(29999).empty());
  EXPECT_EQ(net.Sent(30000), Lines{"NICK Player"});
  const std::uint64_t shown = net.client.server().added();
  net.Feed({":s 433 Player_ Player :Nickname already in use"});  // quietly tried again later
  EXPECT_EQ(net.client.server().added(), shown) << Last(net.client.server());
  EXPECT_TRUE(net.Sent(89999).empty());
  EXPECT_EQ(net.Sent(90000), Lines{"NICK Player"});
  net.Feed({":Player!p@h QUIT :gone"});
  EXPECT_EQ(net.Sent(90001), Lines{"NICK Player"});
  net.Feed({":Player_!p@h NICK :Player"});
  EXPECT_EQ(net.client.nick(), "Player");
  EXPECT_TRUE(net.Sent(10000000).empty());
}

// ---- A session over the fake network.

struct Resolutions : Resolver {
  void Resolve(std::uint32_t ticket, const std::string& host) override {
    asked.emplace_back(ticket, host);
  }
  std::vector<std::pair<std::uint32_t, std::string>> asked;
};

UINT MessageOf(const testing::FakeSockets& sockets) {
  return static_cast<UINT>(std::stoul(sockets.asyncSelects.back().substr(
      sockets.asyncSelects.back().find(' ', sockets.asyncSelects.back().find(' ') + 1))));
}

class ChitterOnline : public ::testing::Test {
 protected:
  ChitterOnline() { sockets.listening.insert({0x7F000001, 6667}); }
  Session MakeSession(std::vector<ServerName> servers) {
    return Session({sockets, resolver, numbers, 0x99}, std::move(servers),
                   std::make_unique<Client>("Net", Profile{}, western, options));
  }
  // Tells the session what WSAAsyncSelect would post.
  void Post(Session& session, long event, int error, std::uint64_t ms) {
    ASSERT_TRUE(session.OnSocket(MessageOf(sockets), sockets.LastSocket(),
                                 static_cast<LPARAM>(event | (error << 16)), At(ms)));
  }
  testing::FakeSockets sockets;
  Resolutions resolver;
  Numbers numbers;
  WesternCodePage western;
  ClientOptions options;
};

TEST_F(ChitterOnline, RegistersReadsAndConnectsAgainAfterAGrowingPause) {
  Session session = MakeSession({{"127.0.0.1", 6667}, {"10.0.0.9", 6667}});
  session.Connect(At(0));
  const SOCKET first = sockets.LastSocket();
  Post(session, FD_CONNECT_, 0, 10);
  EXPECT_EQ(sockets.StreamSent(first), "NICK Player\r\nUSER player 0 * Chitter\r\n");
  sockets.PeerSends(first, ":s 001 Player :Welcome\r\nPING :a");
  Post(session, FD_READ_, 0, 20);
  sockets.PeerSends(first, "bc\r\n:s 376 Player :End\r\n");
  Post(session, FD_READ_, 0, 30);  // soon after a read: read at the next tick
  EXPECT_FALSE(sockets.StreamSent(first).ends_with("PONG abc\r\n"));
  session.Tick(At(100));
  EXPECT_TRUE(sockets.StreamSent(first).ends_with("PONG abc\r\n"));
  EXPECT_TRUE(session.client().registered());
  // An event of another connection's message is not this one's.
  EXPECT_FALSE(session.OnSocket(MessageOf(sockets) + 1, first, FD_CLOSE_, At(40)));
  sockets.PeerSends(first, ":s NOTICE Player :" + std::string(600, 'x'));  // cut off by the end
  sockets.PeerCloses(first);
  Post(session, FD_CLOSE_, 0, 1000);
  EXPECT_FALSE(sockets.IsOpen(first));
  session.Tick(At(5999));
  EXPECT_EQ(sockets.LastSocket(), first);
  session.Tick(At(6000));  // 5 s on: the next server, which refuses
  Post(session, FD_CONNECT_, WSAECONNREFUSED_, 6010);
  session.Tick(At(16009));
  EXPECT_EQ(sockets.LastSocket(), first + 1);
  session.Tick(At(16010));  // 10 s on: the first server again
  EXPECT_EQ(sockets.LastSocket(), first + 2);
  Post(session, FD_CONNECT_, 0, 16020);
  sockets.PeerSends(first + 2, ":s 001 Player :Welcome\r\n");
  Post(session, FD_READ_, 0, 16030);
  EXPECT_TRUE(session.client().registered());  // its first line is its own, not the old one's end
  session.Tick(At(76020));                     // registered a minute: the next pause is 5 s again
  sockets.PeerCloses(first + 2);
  Post(session, FD_CLOSE_, 0, 76030);
  session.Tick(At(81030));
  EXPECT_EQ(sockets.LastSocket(), first + 3);
  Post(session, FD_CONNECT_, WSAECONNREFUSED_, 81040);  // refused: 10 s, then 20
  session.Tick(At(91040));
  Post(session, FD_CONNECT_, WSAECONNREFUSED_, 91050);
  session.Tick(At(111049));
  EXPECT_EQ(sockets.LastSocket(), first + 4);
  session.Tick(At(111050));
  EXPECT_EQ(sockets.LastSocket(), first + 5);
  // Each try goes to the server after the one that failed.
  Lines tried;
  for (const SocketAddress& server : sockets.connects) tried.push_back(server.ToString());
  EXPECT_EQ(tried, (Lines{"127.0.0.1:6667", "10.0.0.9:6667", "127.0.0.1:6667", "10.0.0.9:6667",
                          "127.0.0.1:6667", "10.0.0.9:6667"}));
}

TEST_F(ChitterOnline, LooksNamesUpAwayAndDropsASilentServer) {
  Session session = MakeSession({{"irc.example.net", 6667}});
  session.Connect(At(0));
  ASSERT_EQ(resolver.asked.size(), 1u);
  session.OnResolved(resolver.asked[0].first + 1, {0x7F000001}, At(5));  // not its ticket
  EXPECT_FALSE(sockets.IsOpen(sockets.LastSocket()));
  session.OnResolved(resolver.asked[0].first, {0x7F000001}, At(10));
  Post(session, FD_CONNECT_, 0, 20);
  sockets.PeerSends(sockets.LastSocket(), ":s 001 Player :Welcome\r\n");
  Post(session, FD_READ_, 0, 30);
  session.Tick(At(120029));
  EXPECT_FALSE(sockets.StreamSent(sockets.LastSocket()).ends_with("PING Player\r\n"));
  session.Tick(At(120030));
  EXPECT_TRUE(sockets.StreamSent(sockets.LastSocket()).ends_with("PING Player\r\n"));
  const SOCKET silent = sockets.LastSocket();
  session.Tick(At(180030));
  EXPECT_FALSE(sockets.IsOpen(silent));
  EXPECT_NE(Last(session.client().server()).find("stopped answering"), std::string::npos);
}

TEST_F(ChitterOnline, AServerThatSendsWithoutEndLeavesTheWindowItsTurns) {
  Session session = MakeSession({{"127.0.0.1", 6667}});
  session.Connect(At(0));
  Post(session, FD_CONNECT_, 0, 1);
  const SOCKET s = sockets.LastSocket();
  std::string flood;
  while (flood.size() < Session::kTurnLimit + 3 * Session::kReadLimit)
    flood += ":s NOTICE Player :" + std::string(100, 'x') + "\r\n";
  sockets.PeerSends(s, flood);
  for (int i = 0; i < 40; ++i) Post(session, FD_READ_, 0, 2);  // FD_READs posted meanwhile
  const std::size_t readThisTurn = session.client().server().added();
  EXPECT_LT(readThisTurn * 120, Session::kTurnLimit + Session::kReadLimit);
  session.Tick(At(100));
  EXPECT_GT(session.client().server().added(), readThisTurn);
  EXPECT_EQ(session.client().server().lines().size(), options.scrollback);
}

TEST_F(ChitterOnline, AServerThatReadsNothingIsLeftBeforeWhatWaitsGrows) {
  Session session = MakeSession({{"127.0.0.1", 6667}});
  session.Connect(At(0));
  Post(session, FD_CONNECT_, 0, 1);
  const SOCKET s = sockets.LastSocket();
  sockets.PeerStopsReading(s);
  std::string pings;
  for (int i = 0; i < 50; ++i) pings += "PING :" + std::string(400, 'p') + "\r\n";
  std::uint64_t ms = 100;
  for (int i = 0; i < 40 && sockets.IsOpen(s); ++i, ms += 100) {
    sockets.PeerSends(s, pings);
    Post(session, FD_READ_, 0, ms);
  }
  EXPECT_FALSE(sockets.IsOpen(s));
  EXPECT_NE(Last(session.client().server()).find("the server read nothing of the last"),
            std::string::npos);
  session.Tick(At(ms + Session::kFirstPauseMs));
  EXPECT_EQ(sockets.LastSocket(), s + 1);  // and connects again, as after any loss
}

// ---- The program: settings, commands, logs.

struct Logs : LogSink {
  std::uint64_t Size(const std::string& path) override { return sizes[path]; }
  void Append(const std::string& path, const std::string& text) override {
    written.push_back(path + "|" + text);
    sizes[path] += text.size();
  }
  Lines written;
  std::map<std::string, std::uint64_t> sizes;
};

class ChitterProgram : public ::testing::Test {
 protected:
  static constexpr char kFolder[] = "C:\\Users\\Player\\AppData\\Chitter";
  ChitterProgram() { sockets.listening.insert({0x7F000001, 6667}); }
  void Start(const std::string& ini) {
    api.AddFolder(kFolder);
    api.AddFile(std::string(kFolder) + "\\chitter.ini", ini);
    chat.Start(At(0));
  }
  // Connected and registered, its lines paced out.
  void Online(std::uint64_t ms = 100) {
    ASSERT_TRUE(chat.OnSocket(MessageOf(sockets), sockets.LastSocket(), FD_CONNECT_, At(ms)));
    sockets.PeerSends(sockets.LastSocket(), ":s 001 Player :Welcome\r\n");
    chat.OnSocket(MessageOf(sockets), sockets.LastSocket(), FD_READ_, At(ms));
  }
  std::string Sent() { return sockets.StreamSent(sockets.LastSocket()); }

  testing::FakeWindows api;
  testing::FakeSockets sockets;
  Resolutions resolver;
  WesternCodePage western;
  Logs logs;
  Chat chat{{api, sockets, resolver, western, &logs, 0x99, kFolder}};
};

TEST_F(ChitterProgram, CommandsAsIrcUsersTypeThem) {
  Start("[chitter]\r\nnick=Player\r\n[network Local]\r\nservers=127.0.0.1:6667\r\n");
  Online();
  const auto tabs = chat.Tabs();
  ASSERT_EQ(tabs.size(), 2u);  // home, the server
  chat.Select(tabs[1]);
  chat.Input("/join ludora", At(200));
  sockets.PeerSends(sockets.LastSocket(), ":Player!p@h JOIN #ludora\r\n");
  chat.OnSocket(MessageOf(sockets), sockets.LastSocket(), FD_READ_, At(200));
  for (const char* typed :
       {"/msg bob  hi there", "/MODE #ludora +m", "/me waves", "//not a command",
        "/topic new topic", "/whois bob", "/part #ludora bye", "/query bob how are you",
        "/nick Other", "/away brb", "/raw PRIVMSG x :y"})
    chat.Input(typed, At(200));
  for (std::uint64_t ms = 2200; ms < 40000; ms += 2000) chat.Tick(At(ms));
  EXPECT_TRUE(
      Sent().ends_with("JOIN #ludora\r\nPRIVMSG bob : hi there\r\nMODE #ludora +m\r\n"
                       "PRIVMSG #ludora :\x01"
                       "ACTION waves\x01\r\n"
                       "PRIVMSG #ludora :/not a command\r\nTOPIC #ludora :new topic\r\n"
                       "WHOIS bob\r\nPART #ludora bye\r\nPRIVMSG bob :how are you\r\n"
                       "NICK Other\r\nAWAY brb\r\nPRIVMSG x y\r\n"))
      << Sent();
  EXPECT_EQ(chat.Title(chat.selected()), "bob");
  EXPECT_EQ(chat.Tabs().size(), 3u);  // #ludora went with /part
  chat.Select({});
  chat.Input("/whois bob", At(50000));
  EXPECT_EQ(Last(chat.ConversationOf({})), "|Not in a network's tab: pick one, or use /server.");
}

TEST_F(ChitterProgram, SettingsKeptAsTheUserWroteThemAndChangesPutInPlace) {
  Start(
      "; my settings\r\n[Chitter]\r\nnick=Caf\xE9\r\nansi=1\r\nscrollback=5\r\n\r\n"
      "[network Local]\r\nservers=127.0.0.1:6667\r\nchannels=#a, #b key\r\n"
      "[network Off]\r\nservers=10.1.1.1\r\nconnect=0\r\n");
  EXPECT_EQ(chat.settings().scrollback, 100u);
  EXPECT_EQ(chat.settings().networks.size(), 2u);
  EXPECT_EQ(sockets.asyncSelects.size(), 1u);  // only the network that connects at start
  Online();
  EXPECT_TRUE(Sent().starts_with("NICK Caf\xE9\r\n"));  // in the ANSI code page, as asked
  EXPECT_TRUE(Sent().ends_with("JOIN #b,#a key\r\n"));
  chat.SetOption(&Settings::log, true);
  const std::string path = std::string(kFolder) + "\\chitter.ini";
  EXPECT_EQ(api.Effects("file-"),
            (Lines{"file-open " + path, "file-open " + path, "file-delete " + path + ".new",
                   "file-open " + path + ".new", "file-replace " + path + ".new -> " + path}));
  const std::string written = ReadSettingsFile(api, path, 1 << 20).value_or("");
  EXPECT_TRUE(
      written.starts_with("; my settings\r\n[Chitter]\r\nnick=Caf\xE9\r\nansi=1\r\nscrollback=5\r\n"
                          "colours=1\r\nlog=1\r\ntray=1\r\n\r\n[network Local]\r\n"
                          "servers=127.0.0.1:6667\r\nchannels=#a, #b key\r\nconnect=1\r\n"))
      << written;
  EXPECT_TRUE(written.ends_with("[network Off]\r\nservers=10.1.1.1\r\nconnect=0\r\n")) << written;
  // The program ended between the delete and the move: the new copy is read.
  api.MoveFileA(path, path + ".new");
  EXPECT_EQ(ReadSettingsFile(api, path, 1 << 20), written);
  // Logged, now it is on: one file per conversation and day, names made safe.
  sockets.PeerSends(sockets.LastSocket(), ":con!c@h PRIVMSG Player :\x02hi\x02\r\n");
  chat.OnSocket(MessageOf(sockets), sockets.LastSocket(), FD_READ_, At(300));
  const std::string log = std::string(kFolder) + "\\logs\\Local\\_con 2026-12-10.log";
  EXPECT_EQ(logs.written.back(), log + "|[21:07:00] <con> hi\r\n");
  // A day's file stops at its size, and says so once.
  logs.sizes[log] = kLargestLog - 30;
  sockets.PeerSends(sockets.LastSocket(),
                    ":con!c@h PRIVMSG Player :the last line in\r\n"
                    ":con!c@h PRIVMSG Player :one too many\r\n");
  chat.OnSocket(MessageOf(sockets), sockets.LastSocket(), FD_READ_, At(400));
  EXPECT_EQ(Lines(logs.written.end() - 2, logs.written.end()),
            (Lines{log + "|[21:07:00] <con> the last line in\r\n",
                   log + "|[21:07:00] * This log has reached 16 MiB: the rest of the day is not "
                         "written to it.\r\n"}));
}

TEST_F(ChitterProgram, SettingsOfThousandsOfNetworksReadAndWrittenInOnePass) {
  std::string ini = "[chitter]\r\nnick=Player\r\n";
  for (int i = 0; i < 1000; ++i) {
    const std::string n = std::to_string(i);
    ini += "\r\n[network N" + n + "]\r\nservers=10.0.0." + std::to_string(i % 250) +
           "\r\nchannels=#c" + n + "\r\nconnect=0\r\n";
  }
  const std::clock_t start = std::clock();
  Start(ini);
  chat.SetOption(&Settings::log, true);
  const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  ASSERT_EQ(chat.settings().networks.size(), 1000u);
  EXPECT_EQ(chat.settings().networks.back().channels, Lines{"#c999"});
  const std::string written =
      ReadSettingsFile(api, std::string(kFolder) + "\\chitter.ini", 1 << 20).value_or("");
  EXPECT_TRUE(written.starts_with("[chitter]\r\nnick=Player\r\ncolours=1\r\nlog=1\r\n"));
  EXPECT_TRUE(
      written.ends_with("[network N999]\r\nservers=10.0.0.249\r\nchannels=#c999\r\n"
                        "connect=0\r\n"));
  EXPECT_LT(seconds, 1.0);  // 0.04 s here; 25 s when each key read the whole file again
}

TEST_F(ChitterProgram, ServerCommandMakesANetworkAndClosingItsTabEndsIt) {
  Start("");
  EXPECT_EQ(chat.Tabs().size(), 1u);
  chat.Input("/server 127.0.0.1:6667", At(10));
  ASSERT_EQ(chat.Tabs().size(), 2u);
  EXPECT_EQ(chat.Title(chat.selected()), "127.0.0.1");
  EXPECT_TRUE(ReadSettingsFile(api, std::string(kFolder) + "\\chitter.ini", 1 << 20)
                  ->ends_with("[network 127.0.0.1]\r\nservers=127.0.0.1:6667\r\nconnect=1\r\n"));
  Online(20);
  // The same again: goodbye to the server, and a new connection.
  const SOCKET first = sockets.LastSocket();
  chat.Input("/server 127.0.0.1:6667", At(25));
  EXPECT_TRUE(sockets.StreamSent(first).ends_with("QUIT\r\n"));
  ASSERT_EQ(sockets.LastSocket(), first + 1);
  Online(30);
  chat.CloseTab(chat.selected(), At(40));
  EXPECT_TRUE(Sent().ends_with("QUIT\r\n"));
  EXPECT_FALSE(sockets.IsOpen(sockets.LastSocket()));
  EXPECT_EQ(chat.Tabs().size(), 1u);
}

TEST(ChitterInput, CompletesNicksCyclingAndRecallsLines) {
  ServerFeatures features;
  NickCompleter completer;
  const Lines names = {"bob", "Bo[b]", "alice", "#bobs"};
  auto done = completer.Next(u"BO", 2, names, features);
  ASSERT_TRUE(done);
  EXPECT_EQ(done->text, u"bob: ");
  EXPECT_EQ(completer.Next(u"bob: ", 5, names, features)->text, u"Bo[b]: ");
  EXPECT_EQ(completer.Next(u"Bo[b]: ", 7, names, features)->text, u"bob: ");
  completer.Reset();
  done = completer.Next(u"hi bo{ there", 6, names, features);  // {} is [] in rfc1459
  EXPECT_EQ(done->text, u"hi Bo[b] there");
  EXPECT_EQ(done->cursor, 9u);
  completer.Reset();
  EXPECT_EQ(completer.Next(u"#b", 2, names, features)->text, u"#bobs ");
  completer.Reset();
  EXPECT_FALSE(completer.Next(u"zed", 3, names, features));

  InputHistory history;
  EXPECT_FALSE(history.Up(u"draft"));
  history.Add(u"one");
  history.Add(u"two");
  history.Add(u"two");
  EXPECT_EQ(history.Up(u"draft"), u"two");
  EXPECT_EQ(history.Up(u"two"), u"one");
  EXPECT_FALSE(history.Up(u"one"));
  EXPECT_EQ(history.Down(), u"two");
  EXPECT_EQ(history.Down(), u"draft");
  EXPECT_FALSE(history.Down());
}

}  // namespace
}  // namespace ludora::chitter
