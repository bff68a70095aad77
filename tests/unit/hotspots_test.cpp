// The bar's hot spots and the quick menu they pop up.
#include <gtest/gtest.h>

#include "fake/fake_views.h"
#include "platform/win_constants.h"
#include "shell/form_layout.h"

namespace ludora {
namespace {

using Log = std::vector<std::string>;

struct Started : testing::FakeShell {
  Started() { form3.Load(); }
};

// A popup goes to the front with its owner, is tracked, and the owner is
// told to leave menu mode; then the bar is put back in its corner.
const Log kPopup = {"foreground", "track 120,11 flags=0x180", "post WM_NULL", "view move 0,0"};

TEST(HotSpots, EachClickDoesItsOneThingAndPutsTheBarBack) {
  Started shell;
  for (const char* menu : {"Label1", "Label2", "Label5", "Label6"}) {
    EXPECT_EQ(shell.Click(menu), kPopup) << menu;  // nothing picked, nothing written
  }
  EXPECT_EQ(shell.Click("Label3"), Log{"open C:\\Program Files\\Corvane Ludora\\wayview.exe"});
  EXPECT_EQ(shell.Click("Label4"),
            Log{"open rundll32.exe | shell32.dll,Control_RunDLL desk.cpl,,0"});
  EXPECT_TRUE(shell.Click("Label7").empty());
  for (const auto& [menu, state] : shell.api.menus) EXPECT_TRUE(state.destroyed);
}

TEST(HotSpots, QuickMenuShowsTheTimeOfTheClickAndRunsThePick) {
  Started shell;
  shell.api.SetClock({"Monday, December 07, 2026"}, {"9:15:00 AM"});
  std::vector<testing::FakeMenuItem> shown;
  shell.api.onTrackPopupMenu = [&](HMENU menu) {
    shown = shell.api.menus.at(menu).items;
    return shell.api.FindCommand(menu, {"Task Manager"});
  };
  Log expected = kPopup;
  expected.insert(expected.end() - 1, "open taskmgr");
  EXPECT_EQ(shell.Click("Label6"), expected);
  ASSERT_EQ(shown.size(), 45u);  // all but the hidden placeholder of the shortcuts
  EXPECT_EQ(shown[0].flags, MF_BYPOSITION | MF_GRAYED);
  EXPECT_EQ(shown[1].flags, MF_BYPOSITION | MF_SEPARATOR);
  const auto date = std::find_if(shown.begin(), shown.end(), [](const auto& item) {
    return item.text == "Monday, December 07, 2026  9:15:00 AM";
  });
  ASSERT_NE(date, shown.end());
  EXPECT_EQ(date->flags, MF_BYPOSITION | MF_GRAYED);
  EXPECT_EQ(std::count_if(shown.begin(), shown.end(),
                          [](const auto& item) { return item.flags & MF_CHECKED; }),
            1);
  for (const auto& [menu, state] : shell.api.menus) EXPECT_TRUE(state.destroyed);
}

TEST(BarLayout, LabelsLieWhereTheSkinShowsThemAndLaterOnesOnTop) {
  const auto at = [](int x, int y) {
    const LabelDefinition* label = LabelAt(kForm3Labels, x * kTwipsPerPixel, y * kTwipsPerPixel);
    return label ? std::string(label->name) : std::string("none");
  };
  const std::pair<int, const char*> expected[] = {{0, "Label6"},   {63, "Label6"},  {64, "Label1"},
                                                  {104, "Label1"}, {105, "Label2"}, {144, "Label2"},
                                                  {145, "Label3"}, {185, "Label4"}, {225, "Label5"},
                                                  {280, "none"},   {320, "Label7"}};
  for (const auto& [x, label] : expected) EXPECT_EQ(at(x, 21), label) << x;
}

}  // namespace
}  // namespace ludora
