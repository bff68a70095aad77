// The bar's hot spots and the quick menu they pop up.
#include <gtest/gtest.h>

#include "fake/fake_views.h"
#include "platform/win_constants.h"
#include "shell/form_layout.h"

namespace ludora {
namespace {

struct Started : testing::FakeShell {
  Started() { form3.Load(); }
  std::vector<std::string> Click(const char* label) {
    const std::size_t from = api.log.size();
    form3.LabelClick(label);
    return LogSince(from);
  }
};

TEST(HotSpots, EachClickDoesItsOneThingAndPutsTheBarBack) {
  Started shell;
  const std::vector<std::string> menu = {"track 120,11 flags=0x180", "view move 0,0"};
  EXPECT_EQ(shell.Click("Label1"), menu);  // folder menus: nothing picked, nothing written
  EXPECT_EQ(shell.Click("Label2"), menu);
  EXPECT_EQ(shell.Click("Label5"), menu);
  EXPECT_EQ(shell.Click("Label6"), menu);
  EXPECT_EQ(shell.Click("Label3"),
            std::vector<std::string>{"open C:\\Program Files\\Corvane Ludora\\wayview.exe"});
  EXPECT_EQ(shell.Click("Label4"),
            std::vector<std::string>{"open rundll32.exe | shell32.dll,Control_RunDLL desk.cpl,,0"});
  EXPECT_TRUE(shell.Click("Label7").empty());
}

TEST(HotSpots, QuickMenuShowsTheTimeOfTheClickAndRunsThePick) {
  Started shell;
  shell.api.SetClock({"Monday, December 07, 2026"}, {"9:15:00 AM"});
  std::vector<testing::FakeMenuItem> shown;
  shell.api.onTrackPopupMenu = [&](HMENU menu) {
    shown = shell.api.menus.at(menu).items;
    return shell.api.FindCommand(menu, {"Task Manager"});
  };
  EXPECT_EQ(shell.Click("Label6"), (std::vector<std::string>{"track 120,11 flags=0x180",
                                                             "open taskmgr", "view move 0,0"}));
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
  EXPECT_EQ(kForm3.clientWidthTwips / kTwipsPerPixel, 343);
  EXPECT_EQ(kForm3.clientHeightTwips / kTwipsPerPixel, 22);
}

}  // namespace
}  // namespace ludora
