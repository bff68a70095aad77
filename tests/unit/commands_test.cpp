// The fixed commands of the quick menu: what each one starts, exactly.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "fake/fake_views.h"
#include "launch/commands.h"
#include "launch/web_pages.h"
#include "menu/quick_menu.h"

namespace ludora {
namespace {

using Log = std::vector<std::string>;

using enum QuickItem;

struct Started : testing::FakeShell {
  Started() { form3.Load(); }
};

const std::string kApp = "C:\\Program Files\\Corvane Ludora\\";

TEST(Commands, EachItemStartsExactlyItsOwnThing) {
  const std::map<QuickItem, std::string> expected = {
      {mnugamelaunch, "open " + kApp + "sparkrun.exe"},
      {mnualien, "open " + std::string(web_pages::kWebGame)},
      {mnugamesroom, "open " + kApp + "parlour.exe"},
      {mnujoin, "open " + kApp + "lobbyfind.exe"},
      {mnunimbra, "open " + kApp + "wayview.exe"},
      {mnuim, "open " + kApp + "chitter.exe"},
      {mnunetwork, "open explorer | /root,::{208D2C60-3AEA-1069-A2D7-08002B30309D}"},
      {mnucomp, "open explorer | /root,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
      {mnudatetime, "open iexplore"},
      {mnurecycle, "open explorer | /root,::{645FF040-5081-101B-9F08-00AA002F954E}"},
      {mnucontrol, "run control show=1"},
      {mnusystem, "open rundll32.exe | shell32.dll,Control_RunDLL sysdm.cpl,,0"},
      {mnudisplay, "open rundll32.exe | shell32.dll,Control_RunDLL desk.cpl,,0"},
      {mnutaskman, "open taskmgr"},
      {mnusystray, "open " + kApp + "traydock.exe"},
      {mnuturbolia, "open " + std::string(web_pages::kTurbolia)},
      // Unquoted: the wizard reads the rest of its line as the folder.
      {mnugoto, "open rundll32.exe | AppWiz.Cpl,NewLinkHere " + kApp + "games\\"},
      {mnumanagegames, "open " + kApp + "games"},
  };
  Started shell;
  shell.program.form1().mnuhigh_Click();  // no effect on these commands
  for (const auto& [item, effect] : expected) {
    EXPECT_EQ(shell.Pick(item), Log{effect}) << NameOf(item);
  }
  // Every row of the table is checked above, once.
  std::set<QuickItem> rows;
  for (const Command& row : CommandTable()) {
    EXPECT_TRUE(expected.contains(row.item) && rows.insert(row.item).second) << NameOf(row.item);
  }
}

TEST(Commands, GameAndDiskDefragmenterFollowThePlatform) {
  const std::string game = kApp + "pno0001.exe";
  const std::string high = "run CMD /C START \"High\" /high \"" + game + "\" show=0";
  // As the version query reports the platform: NT, older, or the query fails.
  for (const std::optional<DWORD> id : {std::optional<DWORD>(2), {1}, {}}) {
    Started shell;
    shell.api.platformId = id;
    const bool older = id == 1u;
    EXPECT_EQ(shell.Pick(mnukrieger), Log{older ? "open " + game : high});
    EXPECT_EQ(shell.Pick(mnudefraghd), Log{older ? "open defrag" : "open dfrg.msc"});
  }
}

TEST(Commands, AboutAndShutDown) {
  Started shell;
  shell.api.versionRecord = testing::FakeWindows::VersionRecord(3, 9);
  EXPECT_EQ(shell.Pick(mnuabout),
            Log{"msgbox About Corvane Ludora 2008 | Version 3.9\n\r"
                "Made by the Corvane Ludora team for PCs that live for games.\n\r"
                "Copyright (C) 2008-2026 Corvane. All rights reserved. | style=64 owner=12291"});
  EXPECT_EQ(shell.Pick(mnushutdown), Log{"shutdown-dialog"});
  shell.api.hasShutdownDialog = false;
  EXPECT_EQ(shell.Pick(mnushutdown), Log{});
}

TEST(Commands, VersionIsReadFromTheFixedPartOnlyWhereItCanBe) {
  auto record = testing::FakeWindows::VersionRecord(3, 9);
  EXPECT_EQ(FixedFileVersion(record), (FileVersion{3, 9, 0, 0}));
  record.insert(record.begin(), 2, 0);  // off its 4-byte boundary
  EXPECT_EQ(FixedFileVersion(record), std::nullopt);
  record.erase(record.begin(), record.begin() + 2);
  record.pop_back();  // cut short
  EXPECT_EQ(FixedFileVersion(record), std::nullopt);
}

}  // namespace
}  // namespace ludora
