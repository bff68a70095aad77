// The personalized shortcuts: the reader of `ludora.ini`, the items it makes
// in the quick menu, and what a click on one of them opens.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake/fake_views.h"
#include "launch/shortcut_file.h"
#include "platform/win_constants.h"

namespace ludora {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// "<element> <caption>><command>" per item.
Lines Parsed(std::string_view text) {
  const ShortcutFile file = ParseShortcutFile(text);
  Lines lines;
  for (const PersonalShortcut& item : file.items) {
    lines.push_back(std::to_string(item.index) + " " + item.caption + ">" +
                    file.commands[item.index - 1]);
  }
  return lines;
}

TEST(ShortcutFile, CaptionsAndCommandsPairUpOverTenPasses) {
  const std::string twelve = "A,a\nB,b\nC,c\nD,d\nE,e\nF,f\nG,g\nH,h\nI,i\nJ,j\nK,k\nL,l\n";
  const std::pair<std::string, Lines> cases[] = {
      {"\"A\",\"a\"\r\n\"B\",\"b\"\r\n\"C\",\"c\"\r\n", {"1 A>a", "2 B>b", "3 C>c"}},
      {twelve,
       {"1 A>a", "2 B>b", "3 C>c", "4 D>d", "5 E>e", "6 F>f", "7 G>g", "8 H>h", "9 I>i", "10 J>j"}},
      {"\r\n" + twelve,
       {"2 A>a", "3 B>b", "4 C>c", "5 D>d", "6 E>e", "7 F>f", "8 G>g", "9 H>h", "10 I>i"}},
      // An empty caption uses up its pass; its command is read as a caption.
      {"\"\",\"C:\\x.exe\"\r\n\"B\",\"b\"", {"2 C:\\x.exe>B", "3 b>"}},
      {"Star, Fall,\"C:\\sf.exe\"\r\n\"N\",\"n\"", {"1 Star>Fall", "2 C:\\sf.exe>N", "3 n>"}},
      {"A\ra\nB\r\n\r\nC", {"1 A>a", "2 B>", "3 C>"}},
      {"  \"A\" junk,\t a\r\n\"B, \r\nb", {"1 A>a", "2 B, \r\nb>"}},  // the quote never closes
      {"\x01\xff\0,\x80\r\n\"\0\"\0,x"s, {"1 \x01\xff\0>\x80"s, "2 \0>x"s}},
      {"", {}},
  };
  for (const auto& [text, items] : cases) EXPECT_EQ(Parsed(text), items) << text;
}

// ---- In the quick menu.

// The `menu` elements in place, and the name of the item after them.
Lines Section(const QuickMenu& menu) {
  Lines section;
  auto at = std::find_if(menu.Items().begin(), menu.Items().end(),
                         [](const MenuItem& i) { return i.item == QuickItem::menu; });
  for (; at->item == QuickItem::menu; ++at) {
    section.push_back(std::to_string(at->index) + (at->visible ? " " : " hidden ") + at->caption);
  }
  section.push_back(std::string(NameOf(at->item)));
  return section;
}

TEST(PersonalShortcuts, StandAfterThePlaceholderAndOpenTheirCommandsUnchanged) {
  testing::FakeShell none;
  none.form3.Load();
  EXPECT_EQ(Section(none.program.form1().menu()), (Lines{"0 hidden menu", "fsadfadsf"}));

  const std::string big(1 << 20, 'x');  // read in several pieces, shown in part
  testing::FakeShell shell;
  shell.api.AddFile("C:\\Program Files\\Corvane Ludora\\ludora.ini",
                    "\"&Chess\",\"C:\\Games\\Chess.lnk\"\r\n\"-\",\"-\"\r\n"
                    "\"Site\",\"http://example.com/a b?c=1\"\r\n" +
                        big);
  shell.form3.Load();
  EXPECT_EQ(shell.api.Live(testing::Kind::File), 0);
  EXPECT_EQ(Section(shell.program.form1().menu()),
            (Lines{"0 hidden menu", "1 &Chess", "2 -", "3 Site", "4 " + big.substr(0, 118) + "...",
                   "fsadfadsf"}));

  shell.form3.LabelClick("Label6");
  const auto& shown = shell.api.Menu(shell.api.trackedMenus.back()).items;
  const auto chess = std::find_if(shown.begin(), shown.end(),
                                  [](const auto& item) { return item.text == "&Chess"; });
  ASSERT_NE(chess, shown.end());
  EXPECT_EQ(chess[1].flags, MF_BYPOSITION | MF_SEPARATOR);

  const std::size_t mark = shell.api.log.size();
  for (int n : {1, 3, 4}) shell.Pick(QuickItem::menu, n);
  EXPECT_EQ(shell.LogSince(mark),
            (Lines{"open C:\\Games\\Chess.lnk", "open http://example.com/a b?c=1"}));
}

TEST(PersonalShortcuts, AFileOfAnySizeIsReadOnlyAsFarAsTheFieldsAskFor) {
  std::string ten;
  for (char c = 'A'; c < 'K'; ++c) ten += std::string("\"") + c + "\",\"" + c + "\"\r\n";
  const struct {
    std::string content;
    std::size_t items, bytes;
  } cases[] = {
      {ten + std::string(8 << 20, 'x'), 10, 64 << 10},         // ten entries, then anything
      {std::string(8 << 20, 'x'), 1, kMaxShortcutFileBytes},   // no line break at all
      {std::string(8 << 20, '\0'), 1, kMaxShortcutFileBytes},  // NUL bytes
      {"", 0, 0},
  };
  for (const auto& c : cases) {
    testing::FakeShell shell;
    shell.api.AddFile("C:\\Program Files\\Corvane Ludora\\ludora.ini", c.content);
    shell.form3.Load();
    const auto& items = shell.program.form1().menu().Items();
    EXPECT_EQ(std::count_if(items.begin(), items.end(),
                            [](const MenuItem& i) { return i.item == QuickItem::menu && i.index; }),
              c.items);
    EXPECT_EQ(shell.api.bytesRead, c.bytes);
  }
}

}  // namespace
}  // namespace ludora
