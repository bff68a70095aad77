// The start-up sequence of the bar and the tuning it applies.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake/fake_views.h"
#include "platform/win_constants.h"
#include "tuning/startup_set.h"

namespace ludora {
namespace {

using testing::FakeShell;

// The kind of a log entry: its first word; registry and profile writes are rows.
std::string Step(const std::string& entry) {
  const std::string word = entry.substr(0, entry.find(' ', entry.rfind("view ", 0) == 0 ? 5 : 0));
  return word == "reg" || word == "ini" ? "row" : word;
}

TEST(StartUp, RunsItsStepsInOrder) {
  FakeShell shell;
  shell.api.platformId = VER_PLATFORM_WIN32_NT;
  ASSERT_EQ(shell.form3.Load(), Form3::LoadResult::Run);
  shell.form3.Painted();
  std::vector<std::string> steps;
  for (const std::string& entry : shell.api.log) {
    if (steps.empty() || steps.back() != Step(entry)) steps.push_back(Step(entry));
  }
  EXPECT_EQ(steps, (std::vector<std::string>{"view move", "mutex", "load", "memory-status",
                                             "open-process", "priority-class", "thread-priority",
                                             "row", "view tooltip", "file-open", "run"}));
  EXPECT_EQ(shell.view.clockTooltip, "Friday, December 04, 2026  5:30:25 PM");
  EXPECT_EQ(shell.api.currentThreadPriority, THREAD_PRIORITY_IDLE);
  EXPECT_EQ(shell.api.priorityClass, 0x20u);  // refused on NT, and start-up goes on
}

TEST(StartUp, WritesTheMemoryFiguresOfItsReading) {
  for (const auto& [megabytes, prefetch] : {std::pair{180u, "0"}, {181u, "3"}}) {
    FakeShell shell;
    shell.api.memory.dwTotalPhys = megabytes * 1048576;
    shell.form3.Load();
    const std::string memory =
        "reg HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
    EXPECT_EQ(shell.api.Value(memory.substr(4) + "\\PrefetchParameters", "EnablePrefetcher"),
              "REG_DWORD " + std::string(prefetch));
    EXPECT_EQ(shell.api.Value(memory.substr(4), "IoPageLockLimit"),
              megabytes == 180 ? "REG_DWORD 5771757" : "REG_DWORD 5803823");
  }
}

TEST(StartUp, StopsTheServicesOnceTheBarIsPaintedHiddenInOrderWithoutWaiting) {
  FakeShell shell;
  shell.form3.Load();
  EXPECT_TRUE(shell.api.Effects("run ").empty());  // the bar is shown first
  shell.form3.Painted();
  shell.form3.Painted();  // painted again: nothing more
  std::vector<std::string> expected;
  for (const std::string_view service : StartupServiceStops()) {
    expected.push_back("run sc stop " + std::string(service) + " show=0");
  }
  EXPECT_EQ(shell.api.Effects("run "), expected);
  EXPECT_EQ(shell.api.Live(testing::Kind::Process) + shell.api.Live(testing::Kind::Thread), 0);
}

TEST(StartUp, SecondInstanceOnlyWritesTheOpenCommandAndEnds) {
  FakeShell shell;
  shell.api.otherInstanceRunning = true;
  EXPECT_EQ(shell.form3.Load(), Form3::LoadResult::EndProgram);
  EXPECT_EQ(shell.api.log, (std::vector<std::string>{
                               "view move 0,0", "mutex Corvane.Ludora.ZR.Instance",
                               "reg HKCR\\exefile\\shell\\open\\Command [] REG_SZ \"%1\" %*"}));
}

TEST(StartUp, PerformanceItemsAreHiddenOnlyOffTheNtFamily) {
  for (const auto& platform :
       {std::optional<DWORD>(2), std::optional<DWORD>(1), std::optional<DWORD>()}) {
    FakeShell shell;
    shell.api.platformId = platform;
    shell.form3.Load();
    const QuickMenu& menu = shell.program.form1().menu();
    for (const MenuItem& item : menu.Items()) {
      // The heading, its separator and the three modes stand in a row.
      const bool performance = item.item >= QuickItem::mnuper2 && item.item <= QuickItem::mnunormal;
      EXPECT_EQ(item.visible, item.item != QuickItem::menu && !(performance && platform == 1u))
          << NameOf(item.item);
    }
  }
}

}  // namespace
}  // namespace ludora
