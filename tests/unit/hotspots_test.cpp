// The bar's hot spots and the quick menu they pop up.
#include <gtest/gtest.h>

#include "fake/fake_views.h"
#include "platform/win_constants.h"
#include "shell/form_layout.h"

namespace ludora {
namespace {

using testing::FakeShell;

struct Started : FakeShell {
  Started() {
    form3.Load();
    mark = api.log.size();
  }
  std::size_t mark = 0;
};

TEST(HotSpots, BrowserAndDisplaySettingsOpenWithTheShell) {
  Started shell;
  shell.form3.LabelClick("Label3");
  shell.form3.LabelClick("Label4");
  shell.form3.LabelClick("Label7");  // the clock: no click action
  EXPECT_EQ(
      shell.LogSince(shell.mark),
      (std::vector<std::string>{"open C:\\Program Files\\Corvane Ludora\\wayview.exe",
                                "open rundll32.exe | shell32.dll,Control_RunDLL desk.cpl,,0"}));
}

TEST(HotSpots, FolderMenusTrackAtTheCursorAndPutTheBarBack) {
  Started shell;
  for (const char* label : {"Label1", "Label2", "Label5"}) {
    const std::size_t mark = shell.api.log.size();
    shell.form3.LabelClick(label);
    // Nothing picked: no launch and no registry write.
    EXPECT_EQ(shell.LogSince(mark),
              (std::vector<std::string>{"track 120,11 flags=0x180", "view move 0,0"}))
        << label;
  }
}

TEST(HotSpots, QuickMenuShowsTheTimeOfTheClickAndRunsThePick) {
  Started shell;
  shell.api.SetClock({"Monday, December 07, 2026"}, {"9:15:00 AM"});
  std::vector<testing::FakeMenuItem> shown;
  shell.api.onTrackPopupMenu = [&](HMENU menu) {
    shown = shell.api.Menu(menu).items;
    return shell.api.FindCommand(menu, {"Task Manager"});
  };
  shell.form3.LabelClick("Label6");

  ASSERT_EQ(shown.size(), 45u);  // all but the hidden `menu` placeholder
  const auto date = std::find_if(shown.begin(), shown.end(), [](const auto& item) {
    return item.text == "Monday, December 07, 2026  9:15:00 AM";
  });
  ASSERT_NE(date, shown.end());
  EXPECT_EQ(date->flags, MF_BYPOSITION | MF_GRAYED);
  EXPECT_EQ(shown[0].flags, MF_BYPOSITION | MF_GRAYED);  // the title
  EXPECT_EQ(shown[1].flags, MF_BYPOSITION | MF_SEPARATOR);
  EXPECT_EQ(std::count_if(shown.begin(), shown.end(),
                          [](const auto& item) { return item.flags & MF_CHECKED; }),
            1);
  EXPECT_EQ(
      shell.LogSince(shell.mark),
      (std::vector<std::string>{"track 120,11 flags=0x180", "open taskmgr", "view move 0,0"}));
  for (const auto& [menu, state] : shell.api.menus) EXPECT_TRUE(state.destroyed);
}

TEST(HotSpots, DismissedQuickMenuDoesNothingButPutTheBarBack) {
  Started shell;
  shell.form3.LabelClick("Label6");
  EXPECT_EQ(shell.LogSince(shell.mark),
            (std::vector<std::string>{"track 120,11 flags=0x180", "view move 0,0"}));
}

TEST(BarLayout, LabelsLieWhereTheBarShowsThemAndLaterOnesOnTop) {
  const auto at = [](int pixelX, int pixelY) {
    const LabelDefinition* label =
        LabelAt(kForm3Labels, pixelX * kTwipsPerPixel, pixelY * kTwipsPerPixel);
    return label ? std::string(label->name) : std::string("none");
  };
  EXPECT_EQ(at(0, 0), "Label6");
  EXPECT_EQ(at(63, 21), "Label6");
  EXPECT_EQ(at(64, 10), "Label1");  // Label1 overlaps Label6 by a pixel and wins
  EXPECT_EQ(at(104, 10), "Label1");
  EXPECT_EQ(at(105, 10), "Label2");
  EXPECT_EQ(at(144, 10), "Label2");
  EXPECT_EQ(at(145, 10), "Label3");
  EXPECT_EQ(at(185, 10), "Label4");
  EXPECT_EQ(at(225, 10), "Label5");
  EXPECT_EQ(at(280, 10), "none");
  EXPECT_EQ(at(320, 10), "Label7");
  EXPECT_EQ(kForm3.clientWidthTwips / kTwipsPerPixel, 343);
  EXPECT_EQ(kForm3.clientHeightTwips / kTwipsPerPixel, 22);
}

}  // namespace
}  // namespace ludora
