// The quick-menu window: its clock, its unload handlers, the short folder
// name, and the quick menu as a table.
#include <gtest/gtest.h>

#include "fake/fake_views.h"
#include "platform/win_constants.h"

namespace ludora {
namespace {

using testing::FakeShell;

const std::string kOpenCommandWrite = "reg HKCR\\exefile\\shell\\open\\Command [] REG_SZ \"%1\" %*";

TEST(QuickMenuWindow, ClockTickReadsTheClockTwiceForItsTwoTexts) {
  FakeShell shell;
  shell.form3.Load();
  shell.api.SetClock({"Saturday, December 05, 2026"}, {"11:59:59 PM", "12:00:00 AM"});
  shell.program.form1().Timer1_Timer();
  EXPECT_EQ(shell.program.form1().menu().Item("datetime").caption,
            "Saturday, December 05, 2026  11:59:59 PM");
  EXPECT_EQ(shell.view.clockTooltip, "Saturday, December 05, 2026  12:00:00 AM");
}

TEST(QuickMenuWindow, EveryUnloadAndTerminateWritesTheDefaultOpenCommand) {
  FakeShell shell;
  shell.form3.Load();
  const std::size_t mark = shell.api.log.size();
  shell.program.form1().Unload();
  shell.program.form1().Terminate();
  shell.form3.Unload();
  shell.form3.Terminate();
  EXPECT_EQ(shell.LogSince(mark), std::vector<std::string>(4, kOpenCommandWrite));
}

TEST(QuickMenuWindow, ShortFileNameOfTheApplicationFolder) {
  const std::string folder = "C:\\Program Files\\Corvane Ludora";
  {
    FakeShell shell([&](auto& api) { api.shortPaths[folder] = "C:\\PROGRA~1\\CORVAN~1"; });
    EXPECT_EQ(shell.program.form1().getShortFileName("ignored"), "C:\\PROGRA~1\\CORVAN~1");
  }
  {
    // No long components: unchanged.
    FakeShell shell([](auto& api) { api.modulePath = "C:\\GAMES\\LUDORA\\ludora.exe"; });
    EXPECT_EQ(shell.program.form1().getShortFileName(""), "C:\\GAMES\\LUDORA");
  }
  {
    FakeShell shell([&](auto& api) { api.shortPaths[folder] = ""; });  // Windows cannot give it
    EXPECT_EQ(shell.program.form1().getShortFileName(folder), "");
  }
  {
    // Longer than the first buffer: asked again with the size Windows wants.
    const std::string deep = "C:\\" + std::string(300, 'D');
    FakeShell shell([&](auto& api) { api.modulePath = deep + "\\ludora.exe"; });
    EXPECT_EQ(shell.program.form1().getShortFileName(deep), deep);
  }
}

TEST(QuickMenuTable, DefinitionHasTheItemsTheMenuShows) {
  const QuickMenu menu;
  int separators = 0, headings = 0, commands = 0, hidden = 0, checked = 0;
  for (const MenuItem& item : menu.Items()) {
    if (!item.visible)
      ++hidden;
    else if (item.IsSeparator())
      ++separators;
    else if (!item.enabled)
      ++headings;
    else
      ++commands;
    if (item.checked) ++checked;
  }
  EXPECT_EQ(menu.Items().size(), 46u);
  EXPECT_EQ(separators, 11);
  EXPECT_EQ(headings, 6);
  EXPECT_EQ(commands, 27);
  EXPECT_EQ(hidden, 2);
  EXPECT_EQ(checked, 1);
  EXPECT_TRUE(menu.Item("mnunormal").checked);
  EXPECT_EQ(menu.Items().front().caption, "Corvane Ludora 2008");
  EXPECT_EQ(menu.Items().back().name, "mnushutdown");
}

TEST(QuickMenuTable, ArrayItemsStandInIndexOrderAfterTheirLastElement) {
  QuickMenu menu;
  menu.AddArrayItem("menu", 1).caption = "One";
  menu.AddArrayItem("menu", 2).caption = "Two";
  const auto& items = menu.Items();
  const auto anchor =
      std::find_if(items.begin(), items.end(), [](const MenuItem& i) { return i.name == "menu"; });
  ASSERT_NE(anchor, items.end());
  EXPECT_EQ(anchor[0].index, 0);
  EXPECT_EQ(anchor[1].caption, "One");
  EXPECT_EQ(anchor[2].caption, "Two");
  EXPECT_EQ(anchor[3].name, "fsadfadsf");  // the separator closing the section
}

TEST(QuickMenuTable, ItemsWithoutAHandlerDoNothing) {
  FakeShell shell;
  shell.form3.Load();
  const std::size_t mark = shell.api.log.size();
  for (const char* item : {"mnuludorazr", "dfdf", "datetime", "mnuper2", "sadf", "menu"}) {
    shell.program.form1().Click({item, 0});
  }
  EXPECT_TRUE(shell.LogSince(mark).empty());
}

}  // namespace
}  // namespace ludora
