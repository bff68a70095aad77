// chitter.exe's protocol pieces against bytes written by hand from RFC 1459,
// RFC 2812, the numerics ngIRCd sends and mIRC's formatting codes.
#include <gtest/gtest.h>

#include "chitter/flood_gate.h"
#include "chitter/formatting.h"
#include "chitter/line_reader.h"
#include "chitter/message.h"
#include "chitter/line_layout.h"
#include "chitter/server_features.h"
#include "chitter/text.h"

namespace ludora::chitter {
namespace {

using Lines = std::vector<std::string>;

Lines Read(LineReader& reader, std::string_view bytes) {
  Lines lines;
  reader.Feed(bytes, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

TEST(ChitterLines, EndsNulsSplitsAndOverlongLines) {
  constexpr char kStream[] = "PING :a\r\n:s 001 me :hi\nNOTICE x :lone\rB\0C\r\n\r\n\n";
  const std::string stream(kStream, sizeof kStream - 1);
  const Lines whole = {"PING :a", ":s 001 me :hi", "NOTICE x :lone", "BC"};
  LineReader reader;
  EXPECT_EQ(Read(reader, stream), whole);
  // Every way of cutting the stream in two reads the same lines.
  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    LineReader split;
    Lines lines = Read(split, std::string_view(stream).substr(0, cut));
    for (auto& line : Read(split, std::string_view(stream).substr(cut))) lines.push_back(line);
    EXPECT_EQ(lines, whole) << cut;
  }
  // 600 bytes: the first 512 make a line, the rest up to the line's end goes.
  EXPECT_EQ(Read(reader, std::string(600, 'x') + "\r\nnext\r\n"),
            (Lines{std::string(512, 'x'), "next"}));
  // Cut in a two-byte character: the half goes, so the line stays UTF-8.
  const Lines cut = Read(reader, std::string(511, 'a') + "\xC3\xA9 tail\r\n");
  EXPECT_EQ(cut, Lines{std::string(511, 'a')});
  // A connection lost in mid-line leaves nothing for the next one.
  Read(reader, "half a li");
  reader.Reset();
  EXPECT_EQ(Read(reader, "ne\r\n"), Lines{"ne"});
}

TEST(ChitterMessages, ParsedAsTheRfcsWriteThem) {
  const auto privmsg =
      ParseMessage(":Angel!wings@irc.org PRIVMSG Wiz :Are you receiving this message ?");
  ASSERT_TRUE(privmsg);
  EXPECT_EQ(privmsg->prefix, "Angel!wings@irc.org");
  EXPECT_EQ(privmsg->command, "PRIVMSG");
  EXPECT_EQ(privmsg->params, (Lines{"Wiz", "Are you receiving this message ?"}));
  EXPECT_EQ(privmsg->Numeric(), -1);
  const auto numeric = ParseMessage("@time=x :irc.ludora.test  353 me = #c :@a +b c ");
  ASSERT_TRUE(numeric);
  EXPECT_EQ(numeric->Numeric(), 353);
  EXPECT_EQ(numeric->params, (Lines{"me", "=", "#c", "@a +b c "}));
  EXPECT_EQ(ParseMessage("ping x")->command, "PING");
  EXPECT_EQ(ParseMessage("PRIVMSG #c :")->params, (Lines{"#c", ""}));
  // 14 middle parameters, and the 15th takes the rest of the line.
  const auto many = ParseMessage("X 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16");
  EXPECT_EQ(many->params.size(), 15u);
  EXPECT_EQ(many->params.back(), "15 16");
  for (const char* bad : {"", ":prefix.only", "   ", "@tags", ":p "})
    EXPECT_FALSE(ParseMessage(bad)) << bad;
  EXPECT_EQ(ParseMessage(":p 0x1 a")->Numeric(), -1);

  const Prefix user = ParsePrefix("nick!~user@host.example");
  EXPECT_TRUE(user.nick == "nick" && user.user == "~user" && user.host == "host.example" &&
              !user.server);
  EXPECT_TRUE(ParsePrefix("irc.ludora.test").server);
  EXPECT_FALSE(ParsePrefix("nick").server);
  const Prefix noUser = ParsePrefix("nick@host");
  EXPECT_TRUE(noUser.nick == "nick" && noUser.user.empty() && noUser.host == "host");

  EXPECT_EQ(BuildMessage("PRIVMSG", {"#c", "hi there"}), "PRIVMSG #c :hi there");
  EXPECT_EQ(BuildMessage("NICK", {"me"}), "NICK me");
  EXPECT_EQ(BuildMessage("PART", {"#c", ""}), "PART #c :");
  EXPECT_EQ(BuildMessage("PRIVMSG", {"#c", ":)"}), "PRIVMSG #c ::)");
  // No text can end the line and slip a command of its own in.
  EXPECT_EQ(BuildMessage("PRIVMSG", {"#c", "a\r\nQUIT :x"}), "PRIVMSG #c :a  QUIT :x");

  EXPECT_EQ(ParseCtcp("\x01VERSION\x01")->command, "VERSION");
  EXPECT_EQ(ParseCtcp("\x01"
                      "action waves hello\x01")
                ->argument,
            "waves hello");
  EXPECT_EQ(ParseCtcp("\x01"
                      "ACTION unended")
                ->argument,
            "unended");
  EXPECT_FALSE(ParseCtcp("\x01\x01"));
  EXPECT_FALSE(ParseCtcp("plain"));
  EXPECT_EQ(BuildCtcp("PING", "123"), "\x01PING 123\x01");
}

TEST(ChitterFeatures, TheServersIsupportAndItsCaseMapping) {
  ServerFeatures rfc;  // before any 005: RFC 1459
  EXPECT_TRUE(rfc.Same("Nick[a]\\~", "nick{A}|^"));
  EXPECT_EQ(rfc.nickLength(), 9u);
  EXPECT_TRUE(rfc.IsChannel("#a") && rfc.IsChannel("&a") && !rfc.IsChannel("+a"));

  ServerFeatures ngircd;
  ngircd.Apply(
      *ParseMessage(":irc.ludora.test 005 me RFC2812 IRCD=ngIRCd CHARSET=UTF-8 "
                    "CASEMAPPING=ascii PREFIX=(qaohv)~&@%+ CHANTYPES=#&+ "
                    "CHANMODES=beI,k,l,imMnOPQRstVz :are supported on this server"));
  ngircd.Apply(*ParseMessage(":s 005 me NICKLEN=12 NETWORK=Ludora :are supported"));
  EXPECT_FALSE(ngircd.Same("a[", "a{"));
  EXPECT_TRUE(ngircd.Same("ABC", "abc"));
  EXPECT_TRUE(ngircd.IsChannel("+modeless"));
  EXPECT_EQ(ngircd.SymbolOf('h'), '%');
  EXPECT_LT(ngircd.Rank('~'), ngircd.Rank('@'));
  EXPECT_LT(ngircd.Rank('+'), ngircd.Rank('\0'));
  EXPECT_EQ(ngircd.nickLength(), 12u);
  EXPECT_EQ(ngircd.network(), "Ludora");
  // List modes and keys always take a parameter, limits only when set.
  EXPECT_TRUE(ngircd.TakesParameter('I', false) && ngircd.TakesParameter('k', false));
  EXPECT_TRUE(ngircd.TakesParameter('l', true) && !ngircd.TakesParameter('l', false));
  EXPECT_FALSE(ngircd.TakesParameter('m', true));

  ServerFeatures strict;
  strict.Apply(*ParseMessage(":s 005 me CASEMAPPING=strict-rfc1459 PREFIX=(ov)@ NICKLEN=x :ok"));
  EXPECT_TRUE(strict.Same("[\\]", "{|}"));
  EXPECT_FALSE(strict.Same("~", "^"));
  EXPECT_EQ(strict.symbols(), "@+");  // a PREFIX that does not pair up is not taken
  EXPECT_EQ(strict.nickLength(), 9u);
  strict.Apply(*ParseMessage(":s 005 me PREFIX=(qo)~@ :ok"));
  strict.Apply(*ParseMessage(":s 005 me -PREFIX :ok"));
  EXPECT_EQ(strict.symbols(), "@+");
}

TEST(ChitterFloodGate, FiveAtOnceThenOneEveryTwoSecondsUrgentFirst) {
  FloodGate gate;
  for (int i = 0; i < 8; ++i) gate.Queue("L" + std::to_string(i));
  EXPECT_EQ(gate.Release(1000), (Lines{"L0", "L1", "L2", "L3", "L4"}));
  EXPECT_TRUE(gate.Release(2999).empty());
  gate.QueueUrgent("PONG :x");  // goes at once, and counts
  EXPECT_EQ(gate.Release(3000), (Lines{"PONG :x"}));
  EXPECT_EQ(gate.Release(5000), (Lines{"L5"}));
  EXPECT_EQ(gate.Release(9000), (Lines{"L6", "L7"}));
  for (std::size_t i = 0; i < FloodGate::kMaxWaiting; ++i) gate.Queue("x");
  EXPECT_FALSE(gate.Queue("one too many"));
  gate.Clear();
  EXPECT_EQ(gate.waiting(), 0u);
  gate.Queue("fresh");
  EXPECT_EQ(gate.Release(9001), Lines{"fresh"});  // a new connection is paced afresh
}

TEST(ChitterText, Utf8CheckedAndTheWesternCodePageAsFallback) {
  for (const char* good : {"plain", "caf\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8E\xAE", ""})
    EXPECT_TRUE(IsUtf8(good)) << good;
  for (const char* bad : {"caf\xE9", "\xC0\x80", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xE2\x82", "\x80", "\xFF"})
    EXPECT_FALSE(IsUtf8(bad)) << bad;
  const WesternCodePage western;
  EXPECT_EQ(Decode("caf\xE9 \x80 \x9F \x81", western),
            "caf\xC3\xA9 \xE2\x82\xAC \xC5\xB8 \xC2\x81");
  EXPECT_EQ(Decode("d\xC3\xA9j\xC3\xA0", western), "d\xC3\xA9j\xC3\xA0");
  EXPECT_EQ(Encode("\xE2\x82\xAC caf\xC3\xA9 \xE4\xB8\xAD", western, true), "\x80 caf\xE9 ?");
  EXPECT_EQ(Encode("caf\xC3\xA9", western, false), "caf\xC3\xA9");
  // Outside the basic plane: a surrogate pair, and back.
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x8E\xAE"), (std::u16string{0xD83C, 0xDFAE}));
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD83C, 0xDFAE}), "\xF0\x9F\x8E\xAE");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00, u'a'}),
            "\xEF\xBF\xBD"
            "a");
  EXPECT_EQ(Utf8ToUtf16("a\xFF"), (std::u16string{u'a', 0xFFFD}));
}

TEST(ChitterFormatting, MircCodesIntoRunsOrStripped) {
  const auto runs = StyledRuns(
      "\x02"
      "b\x02 \x03"
      "4,2rw\x03 \x1Fu\x0F"
      "x\x03"
      "12,c\x03"
      "0334");
  ASSERT_EQ(runs.size(), 8u);
  EXPECT_TRUE(runs[0].text == "b" && runs[0].style.bold);
  EXPECT_TRUE(runs[1].text == " " && !runs[1].style.bold);
  EXPECT_EQ(runs[2].text, "rw");
  EXPECT_EQ(runs[2].style.foreground, 0xFF0000);
  EXPECT_EQ(runs[2].style.background, 0x00007F);
  EXPECT_TRUE(runs[4].text == "u" && runs[4].style.underline);
  EXPECT_TRUE(runs[5].text == "x" && runs[5].style == Style{});
  // "\x03" "12,c": the comma and what follows are text; "\x03" "0334": colour 3, then "34".
  EXPECT_TRUE(runs[6].text == ",c" && runs[6].style.foreground == 0x0000FC);
  EXPECT_TRUE(runs[7].text == "34" && runs[7].style.foreground == 0x009300);
  EXPECT_EQ(StyledRuns("\x04"
                       "FF8000"
                       "hex\x03"
                       "99,1dflt")[1]
                .style.foreground,
            kDefaultColour);
  EXPECT_EQ(StyledRuns("\x04"
                       "FF8000"
                       "hex")[0]
                .style.foreground,
            0xFF8000);
  EXPECT_EQ(StripCodes("\x16r\x1D"
                       "i\x1E"
                       "s\x07\x01\x7F\tend"),
            "ris end");
}

// A link ends where a reader sees it end, at a full-width quote or blank too;
// the browser gets it as one argument of ASCII, never through the code page,
// whose look-alikes make '"' of U+FF02 and a blank of U+3000.
TEST(ChitterLayout, ALinkEndsWhereItReadsAsEndingAndOpensAsOneArgument) {
  Line line;
  line.kind = LineKind::Message, line.nick = "n";
  line.text = "http://x.example/a\xEF\xBC\x82 -b www.y.example/\xC3\xA9\xE3\x80\x80-c";
  std::vector<std::u16string> links;
  for (const ShownRun& run : ShownRuns(line, true))
    if (run.link) links.push_back(run.text);
  ASSERT_EQ(links, (std::vector<std::u16string>{u"http://x.example/a", u"www.y.example/\u00E9"}));
  EXPECT_EQ(LinkAddress(links[1]), "http://www.y.example/%C3%A9");
  EXPECT_EQ(LinkAddress(u"http://z.example/\uFF02 -x\u3000\""),
            "http://z.example/%EF%BC%82%20-x%E3%80%80%22");
  EXPECT_EQ(LinkAddress(u"http://z.example/\xD800"), std::nullopt);
}

TEST(ChitterLayout, ShownRunsWithLinksAndRowsBrokenAtBlanks) {
  Line line;
  line.hour = 9, line.minute = 5, line.kind = LineKind::Message, line.nick = "n";
  line.text = "see http://x.org/a, \x02www.y.z\x02 (https://q) mailto:www.no";
  std::vector<std::u16string> texts, links;
  for (const ShownRun& run : ShownRuns(line, true)) (run.link ? links : texts).push_back(run.text);
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"[09:05] ", u"<n> ", u"see ", u", ", u" (",
                                                u") mailto:www.no"}));
  EXPECT_EQ(links, (std::vector<std::u16string>{u"http://x.org/a", u"www.y.z", u"https://q"}));

  // One pixel a character: 10 wide, rows after the first from 5.
  const auto fit = [](const ShownRun&, std::u16string_view text, int room) {
    const std::size_t count = std::min<std::size_t>(text.size(), static_cast<std::size_t>(room));
    return Fit{count, static_cast<int>(count)};
  };
  const std::vector<ShownRun> runs = {
      {{}, u"[09] "}, {{}, u"hello world againandagain"}, {{}, u"x"}};
  const auto rows = WrapRuns(runs, 10, 5, fit);
  const auto piece = [](std::size_t run, std::size_t from, std::size_t to, int x) {
    return std::tuple(run, from, to, x);
  };
  std::vector<std::vector<std::tuple<std::size_t, std::size_t, std::size_t, int>>> got;
  for (const Row& row : rows) {
    got.emplace_back();
    for (const Piece& p : row) got.back().push_back(piece(p.run, p.from, p.to, p.x));
  }
  EXPECT_EQ(got, (decltype(got){
                     {piece(0, 0, 5, 0), piece(1, 0, 6, 5)},  // "hello" fits: the blank goes too
                     {piece(1, 6, 12, 5)},                    // "world "
                     {piece(1, 12, 17, 5)},  // too long a word: cut at the room's end
                     {piece(1, 17, 22, 5)},
                     {piece(1, 22, 25, 5), piece(2, 0, 1, 8)}}));
  // Narrower than the indent: a character a row, and no end missed.
  EXPECT_EQ(WrapRuns({{{}, u"abc"}}, 0, 5, fit).size(), 3u);

  // The topic line: bold and colours shown, or left out; their codes never.
  for (const bool colours : {true, false}) {
    std::u16string text;
    bool bold = false, red = false;
    for (const ShownRun& run : TopicRuns("\x02"
                                         "Clan\x02 match at \x03"
                                         "04nine",
                                         colours)) {
      text += run.text;
      bold = bold || run.style.bold;
      red = red || InkOf(run).text == 0xFF0000;
    }
    EXPECT_EQ(text, u"Clan match at nine");
    EXPECT_EQ(bold && red, colours);
  }
}

}  // namespace
}  // namespace ludora::chitter
