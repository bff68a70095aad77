// The quick-menu window: its clock, its unload handlers, the short folder
// name, and the quick menu as the program defines it.
#include <gtest/gtest.h>

#include "fake/fake_views.h"

namespace ludora {
namespace {

using testing::FakeShell;

TEST(QuickMenuWindow, ClockTickReadsTheClockOnceForEachText) {
  FakeShell shell;
  shell.form3.Load();
  shell.api.SetClock({"Saturday, December 05, 2026"}, {"11:59:59 PM", "12:00:00 AM"});
  shell.program.form1().Timer1_Timer();
  EXPECT_EQ(shell.program.form1().menu()[QuickItem::datetime].caption,
            "Saturday, December 05, 2026  11:59:59 PM");
  EXPECT_EQ(shell.view.clockTooltip, "Saturday, December 05, 2026  12:00:00 AM");
  // Once the bar is closed, the clock no longer calls into it.
  shell.program.SetForm3(nullptr);
  shell.api.SetClock({"Sunday, December 06, 2026"}, {"1:00:00 AM"});
  shell.program.form1().Timer1_Timer();
  EXPECT_EQ(shell.program.form1().menu()[QuickItem::datetime].caption,
            "Sunday, December 06, 2026  1:00:00 AM");
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
  EXPECT_EQ(
      shell.LogSince(mark),
      std::vector<std::string>(4, "reg HKCR\\exefile\\shell\\open\\Command [] REG_SZ \"%1\" %*"));
}

TEST(QuickMenuWindow, ShortFileNameOfTheApplicationFolder) {
  const std::string folder = "C:\\Program Files\\Corvane Ludora";
  const std::string deep = "C:\\" + std::string(300, 'D');  // longer than the first buffer
  const struct {
    std::string module;
    std::string mapped;  // what Windows answers; "=" for the folder unchanged
    std::string expected;
  } cases[] = {{folder + "\\ludora.exe", "C:\\PROGRA~1\\CORVAN~1", "C:\\PROGRA~1\\CORVAN~1"},
               {"C:\\GAMES\\ludora.exe", "=", "C:\\GAMES"},
               {folder + "\\ludora.exe", "", ""},
               {deep + "\\ludora.exe", "=", deep}};
  for (const auto& c : cases) {
    FakeShell shell([&](auto& api) {
      api.modulePath = c.module;
      if (c.mapped != "=") api.shortPaths[FolderOf(c.module)] = c.mapped;
    });
    EXPECT_EQ(shell.program.form1().getShortFileName("not used"), c.expected);
  }
}

TEST(QuickMenuTable, EveryCommandItemReachesItsHandlerAndNoOtherItemDoesAnything) {
  FakeShell shell;
  shell.form3.Load();
  const QuickMenu design;
  for (const MenuItem& item : design.Items()) {
    const bool command = item.visible && item.enabled && !item.IsSeparator();
    const QuickMenu before = shell.program.form1().menu();
    const std::size_t windows = shell.windows.form2Views.size();
    const bool acted = !shell.Pick(item.item).empty() ||
                       shell.windows.form2Views.size() != windows ||
                       shell.program.form1().menu()[QuickItem::mnunormal].checked !=
                           before[QuickItem::mnunormal].checked;
    EXPECT_EQ(acted, command || item.item == QuickItem::mnuturbolia) << NameOf(item.item);
    shell.program.form1().mnunormal_Click();
  }
}

}  // namespace
}  // namespace ludora
