// The fixed commands of the quick menu: what each one starts, exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "fake/fake_views.h"
#include "launch/commands.h"
#include "launch/web_pages.h"
#include "shell/quick_menu.h"

namespace ludora {
namespace {

using testing::FakeShell;

struct Started : FakeShell {
  Started() {
    form3.Load();
    mark = api.log.size();
  }
  std::vector<std::string> Pick(const std::string& item) {
    const std::size_t before = api.log.size();
    program.form1().Click(MenuPick{item, 0});
    return LogSince(before);
  }
  std::size_t mark = 0;
};

const std::string kApp = "C:\\Program Files\\Corvane Ludora\\";

TEST(Commands, EachItemStartsExactlyItsOwnThing) {
  const std::map<std::string, std::string> expected = {
      {"mnugamelaunch", "open " + kApp + "sparkrun.exe"},
      {"mnualien", "open " + std::string(web_pages::kWebGame)},
      {"mnugamesroom", "open " + kApp + "parlour.exe"},
      {"mnujoin", "open " + kApp + "lobbyfind.exe"},
      {"mnunimbra", "open " + kApp + "wayview.exe"},
      {"mnuim", "open " + kApp + "chitter.exe"},
      {"mnunetwork", "open explorer | /root,::{208D2C60-3AEA-1069-A2D7-08002B30309D}"},
      {"mnucomp", "open explorer | /root,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
      {"mnudatetime", "open iexplore"},
      {"mnurecycle", "open explorer | /root,::{645FF040-5081-101B-9F08-00AA002F954E}"},
      {"mnucontrol", "run control show=1"},
      {"mnusystem", "open rundll32.exe | shell32.dll,Control_RunDLL sysdm.cpl,,0"},
      {"mnudisplay", "open rundll32.exe | shell32.dll,Control_RunDLL desk.cpl,,0"},
      {"mnutaskman", "open taskmgr"},
      {"mnusystray", "open " + kApp + "traydock.exe"},
      {"mnuturbolia", "open " + std::string(web_pages::kTurbolia)},
      // The wizard's folder goes unquoted, blanks and all.
      {"mnugoto", "open rundll32.exe | AppWiz.Cpl,NewLinkHere " + kApp + "games\\"},
      {"mnumanagegames", "open " + kApp + "games"},
  };
  Started shell;
  // The commands ignore the performance mode and leave the open command alone.
  shell.program.form1().mnuhigh_Click();
  for (const auto& [item, effect] : expected) {
    EXPECT_EQ(shell.Pick(item), std::vector<std::string>{effect}) << item;
  }

  // Every row of the table is a real quick-menu item, once, and covered above.
  const QuickMenu menu;
  std::set<std::string_view> rows;
  for (const Command& row : CommandTable()) {
    EXPECT_TRUE(menu.Has(row.item)) << row.item;
    EXPECT_TRUE(rows.insert(row.item).second) << row.item;
    EXPECT_TRUE(expected.count(std::string(row.item))) << row.item;
  }
}

TEST(Commands, GameAndDiskDefragmenterFollowThePlatform) {
  const std::string game = kApp + "pno0001.exe";
  const std::string hiddenHighCommand = "run CMD /C START \"High\" /high \"" + game + "\" show=0";
  const struct {
    const char* name;
    std::optional<DWORD> platformId;  // as GetVersionExA reports it
    std::string game;
    std::string defrag;
  } cases[] = {
      {"NT family", 2, hiddenHighCommand, "open dfrg.msc"},
      {"older family", 1, "open " + game, "open defrag"},
      {"version query fails", std::nullopt, hiddenHighCommand, "open dfrg.msc"},
  };
  for (const auto& c : cases) {
    Started shell;
    shell.api.platformId = c.platformId;
    EXPECT_EQ(shell.Pick("mnukrieger"), std::vector<std::string>{c.game}) << c.name;
    EXPECT_EQ(shell.Pick("mnudefraghd"), std::vector<std::string>{c.defrag}) << c.name;
  }
}

TEST(Commands, AboutBoxShowsMajorAndMinorThenTwoMoreLines) {
  const struct {
    FileVersion version;
    std::string firstLine;
  } cases[] = {
      {{3, 9, 0, 1}, "Version 3.9"},
      {{10, 0, 2, 0}, "Version 10.0"},
      {{1, 12, 0, 0}, "Version 1.12"},
  };
  for (const auto& c : cases) {
    Started shell;
    shell.api.version = c.version;
    const std::vector<std::string> log = shell.Pick("mnuabout");
    ASSERT_EQ(log.size(), 1u);
    const std::string head = "msgbox About Corvane Ludora 2008 | ";
    const std::string tail = " | style=64";
    ASSERT_EQ(log[0].rfind(head, 0), 0u) << log[0];
    ASSERT_TRUE(log[0].ends_with(tail)) << log[0];
    const std::string text = log[0].substr(head.size(), log[0].size() - head.size() - tail.size());

    // Three lines joined by line feed + carriage return, in that order.
    std::vector<std::string> lines;
    for (std::size_t at = 0;;) {
      const std::size_t next = text.find("\n\r", at);
      lines.push_back(text.substr(at, next == std::string::npos ? next : next - at));
      if (next == std::string::npos) break;
      at = next + 2;
    }
    ASSERT_EQ(lines.size(), 3u) << text;
    EXPECT_EQ(lines[0], c.firstLine);
    for (const std::string& line : lines) {
      EXPECT_FALSE(line.empty());
      EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    }
  }
}

TEST(Commands, ShutDownShowsTheSystemDialogWhereThereIsOne) {
  for (const bool present : {true, false}) {
    Started shell;
    shell.api.hasShutdownDialog = present;
    EXPECT_EQ(shell.Pick("mnushutdown"),
              present ? std::vector<std::string>{"shutdown-dialog"} : std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace ludora
