// The launching commands: the quick menu's fixed commands, the personalized
// shortcuts of `ludora.ini`, and sparkrun.exe, the companion launcher.
#include <map>
#include <set>

#include "fake/fake_views.h"
#include "ludora/commands.h"
#include "ludora/shortcut_file.h"
#include "sparkrun/launch_request.h"

namespace ludora {
namespace {

using namespace std::string_literals;
using namespace testing;
using enum QuickItem;

TEST(Commands, EachItemStartsExactlyItsOwnThing) {
  Started shell;
  shell.program.form1().mnuhigh_Click();  // no effect on these commands
  const std::string game = kApp + "\\pno0001.exe";
  const std::map<QuickItem, std::string> expected = {
      {mnugamelaunch, "open " + kApp + "\\sparkrun.exe"},
      {mnualien, "open " + kApp + "\\webgames.html"},
      {mnugamesroom, "open " + kApp + "\\parlour.exe"},
      {mnujoin, "open " + kApp + "\\lobbyfind.exe"},
      {mnunimbra, "open " + kApp + "\\wayview.exe"},
      {mnuim, "open " + kApp + "\\chitter.exe"},
      {mnunetwork, "open explorer | /root,::{208D2C60-3AEA-1069-A2D7-08002B30309D}"},
      {mnucomp, "open explorer | /root,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
      {mnudatetime, "open iexplore"},
      {mnurecycle, "open explorer | /root,::{645FF040-5081-101B-9F08-00AA002F954E}"},
      // Windows' own, from its system folder: never a control.exe planted beside Ludora.
      {mnucontrol, "run control show=1 app=C:\\WINDOWS\\system32\\control.exe"},
      {mnusystem, "open rundll32.exe | shell32.dll,Control_RunDLL sysdm.cpl,,0"},
      {mnudisplay, "open rundll32.exe | shell32.dll,Control_RunDLL desk.cpl,,0"},
      {mnutaskman, "open taskmgr"},
      {mnusystray, "open " + kApp + "\\traydock.exe"},
      {mnuturbolia, "open " + kApp + "\\turbolia.html"},
      // Unquoted: the wizard reads the rest of its line as the folder.
      {mnugoto, "open rundll32.exe | AppWiz.Cpl,NewLinkHere " + kApp + "\\games\\"},
      {mnumanagegames, "open " + kApp + "\\games"},
      {mnukrieger, "run CMD /C START \"High\" /high \"" + game +
                       "\" show=0 app=C:\\WINDOWS\\system32\\cmd.exe"},
      {mnudefraghd, "open dfrg.msc"},
  };
  for (const auto& [item, effect] : expected)
    EXPECT_EQ(shell.Pick(item), Log{effect}) << NameOf(item);
  // The hot spots that run the same commands.
  shell.api.log.clear();
  shell.form3.LabelClick("Label3");
  shell.form3.LabelClick("Label4");
  EXPECT_EQ(shell.api.Effects("open "), (Log{expected.at(mnunimbra), expected.at(mnudisplay)}));
  // Windows 98: the game and the disk defragmenter by shell open.
  Started older;
  older.api.platformId = 1;
  EXPECT_EQ(older.Pick(mnukrieger), Log{"open " + game});
  EXPECT_EQ(older.Pick(mnudefraghd), Log{"open defrag"});
}

TEST(Commands, AboutShowsOnlyASoundVersionRecordAndShutDownNeedsTheDialog) {
  Started shell;
  auto record = FakeWindows::VersionRecord(3, 9), shifted = record, cut = record;
  shifted.insert(shifted.begin(), 2, 0);  // off its 4-byte boundary
  cut.pop_back();
  for (const auto& [bytes, version] : {std::pair{record, "3.9"}, {shifted, "0.0"}, {cut, "0.0"}}) {
    shell.api.versionRecord = bytes;
    EXPECT_EQ(shell.Pick(mnuabout),
              Log{"msgbox About Corvane Ludora 2008 | Version " + std::string(version) +
                  "\n\rMade by the Corvane Ludora team for PCs that live for games.\n\r"
                  "Copyright (C) 2008-2026 Corvane. All rights reserved. | style=64 owner=12291"});
  }
  EXPECT_EQ(shell.Pick(mnushutdown), Log{"shutdown-dialog"});
  shell.api.hasShutdownDialog = false;
  EXPECT_EQ(shell.Pick(mnushutdown), Log{});
}

// "<element> <caption>><command>" per item.
Log Parsed(std::string_view text) {
  const ShortcutFile file = ParseShortcutFile(text);
  Log lines;
  for (const PersonalShortcut& item : file.items) {
    lines.push_back(std::to_string(item.index) + " " + item.caption + ">" +
                    file.commands[item.index - 1]);
  }
  return lines;
}

TEST(ShortcutFile, CaptionsAndCommandsPairUpOverTenPasses) {
  const std::string twelve = "A,a\nB,b\nC,c\nD,d\nE,e\nF,f\nG,g\nH,h\nI,i\nJ,j\nK,k\nL,l\n";
  const std::pair<std::string, Log> cases[] = {
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
      // A field ends at its first NUL, as Windows reads it: a NUL run adds no item.
      {"\x01\xff\0,\x80\r\n\"\0\"\0,x"s, {"1 \x01\xff>\x80", "3 x>"}},
      {"\"A\",\"a\"\r\n"s + std::string(5000, '\0'), {"1 A>a"}},
      {"", {}},
  };
  for (const auto& [text, items] : cases) EXPECT_EQ(Parsed(text), items) << text;
}

// The `menu` elements in place, and the name of the item after them.
Log Section(const QuickMenu& menu) {
  Log section;
  auto at = std::find_if(menu.Items().begin(), menu.Items().end(),
                         [](const MenuItem& i) { return i.item == QuickItem::menu; });
  for (; at->item == QuickItem::menu; ++at)
    section.push_back(std::to_string(at->index) + (at->visible ? " " : " hidden ") + at->caption);
  section.push_back(std::string(NameOf(at->item)));
  return section;
}

TEST(PersonalShortcuts, StandAfterThePlaceholderAndOpenTheirCommandsUnchanged) {
  const std::string big(1 << 20, 'x');  // read in several pieces, shown in part
  FakeShell shell;
  shell.api.AddFile(kApp + "\\ludora.ini",
                    "\"&Chess\",\"C:\\Games\\Chess.lnk\"\r\n\"-\",\"-\"\r\n"
                    "\"Site\",\"http://example.com/a b?c=1\"\r\n" +
                        big);
  shell.form3.Load();
  EXPECT_EQ(shell.api.Live(Kind::File), 0);
  EXPECT_EQ(Section(shell.program.form1().menu()),
            (Log{"0 hidden menu", "1 &Chess", "2 -", "3 Site", "4 " + big.substr(0, 118) + "...",
                 "fsadfadsf"}));

  const std::size_t mark = shell.api.log.size();
  for (int n : {1, 3, 4}) shell.Pick(QuickItem::menu, n);
  EXPECT_EQ(shell.LogSince(mark),
            (Log{"open C:\\Games\\Chess.lnk", "open http://example.com/a b?c=1"}));
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
      {std::string(8 << 20, '\0'), 0, kMaxShortcutFileBytes},  // NUL bytes: no caption
      {"", 0, 0},
  };
  for (const auto& c : cases) {
    FakeShell shell;
    shell.api.AddFile(kApp + "\\ludora.ini", c.content);
    shell.form3.Load();
    const auto& items = shell.program.form1().menu().Items();
    EXPECT_EQ(std::count_if(items.begin(), items.end(),
                            [](const MenuItem& i) { return i.item == QuickItem::menu && i.index; }),
              c.items);
    EXPECT_EQ(shell.api.bytesRead, c.bytes);
  }
}

const std::string kSelf = "\"" + kApp + "\\sparkrun.exe\"";

TEST(Sparkrun, StartsProgramsHighAndShortcutsThroughTheShell) {
  const std::string dialog = "open-dialog Launch Specific Game";
  const std::string chess = "open C:\\Games\\Chess.lnk dir=C:\\Games";
  const std::string high = "run \"C:\\G.COM\" show=1 app=C:\\G.COM flags=132 dir=C:\\";
  const struct {
    std::string line;
    std::optional<std::string> pick;  // in the Open dialog
    Log log;
  } cases[] = {
      {"sparkrun C:\\G.COM", {}, {high, "priority-class 128", "resume-thread"}},
      {kSelf + " \"C:\\Games\\Chess.lnk\"", {}, {chess}},
      {kSelf, "C:\\Games\\Chess.lnk", {dialog, chess}},
      {kSelf, {}, {dialog}},  // cancelled
  };
  for (const auto& c : cases) {
    FakeWindows api;
    api.openDialogPick = c.pick;
    EXPECT_EQ(sparkrun::Run(api, c.line), 0) << c.line;
    EXPECT_EQ(api.log, c.log) << c.line;
    EXPECT_EQ(api.Live(Kind::Process) + api.Live(Kind::Thread), 0) << c.line;
  }
  for (const std::string path : {"C:\\gone.exe", "C:\\gone.lnk"}) {
    FakeWindows api;
    api.failing = {Op::CreateProcessA, Op::ShellExecuteA};
    EXPECT_EQ(sparkrun::Run(api, "sparkrun " + path), 1);
    ASSERT_EQ(api.log.size(), 2u);
    EXPECT_EQ(api.log[1],
              "msgbox Corvane Ludora | Ludora could not start \"" + path + "\". | style=64");
  }
}

}  // namespace
}  // namespace ludora
