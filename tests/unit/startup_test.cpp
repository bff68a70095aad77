// The start-up sequence of the bar and the tuning it applies.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake/fake_views.h"
#include "platform/win_constants.h"

namespace ludora {
namespace {

using testing::FakeShell;

// The kind of a log entry: its first word; registry and profile writes are rows.
std::string Step(const std::string& entry) {
  const std::string word = entry.substr(0, entry.find(' ', entry.rfind("view ", 0) == 0 ? 5 : 0));
  return word == "reg" || word == "ini" ? "row" : word;
}

std::vector<std::string> Filtered(const std::vector<std::string>& log, const std::string& step) {
  std::vector<std::string> found;
  std::copy_if(log.begin(), log.end(), std::back_inserter(found),
               [&](const std::string& e) { return Step(e) == step; });
  return found;
}

TEST(StartUp, RunsItsStepsInOrder) {
  FakeShell shell;
  shell.api.platformId = VER_PLATFORM_WIN32_NT;
  ASSERT_EQ(shell.form3.Load(), Form3::LoadResult::Run);
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

bool Has(const std::vector<std::string>& rows, const std::string& ending) {
  return std::count_if(rows.begin(), rows.end(),
                       [&](const std::string& row) { return row.ends_with(ending); }) == 1;
}

TEST(StartUp, WritesTheRowsWithTheirTypesAndTheMemoryFigures) {
  for (const auto& [megabytes, prefetch] : {std::pair{180u, "0"}, {181u, "3"}}) {
    FakeShell shell;
    shell.api.memory.dwTotalPhys = megabytes * 1048576;
    shell.form3.Load();
    EXPECT_TRUE(Has(Filtered(shell.api.log, "row"),
                    "\\PrefetchParameters [EnablePrefetcher] REG_DWORD " + std::string(prefetch)))
        << megabytes;
  }
  FakeShell shell;  // 535777280 bytes
  shell.form3.Load();
  const auto rows = Filtered(shell.api.log, "row");
  ASSERT_EQ(rows.size(), 26u);
  // Numbers that Windows keeps elsewhere as DWORDs are written as text here.
  for (const char* ending :
       {"[HungAppTimeout] REG_SZ 250", "[AutoEndTasks] REG_SZ 1", "[MenuShowDelay] REG_SZ 0",
        "[AlwaysUnloadDLL] REG_SZ 0", "[MemCheckBoxInRunDlg] REG_DWORD 1",
        "[IRQ8Priority] REG_DWORD 0", "[IoPageLockLimit] REG_DWORD 16384000", "[] REG_SZ \"%1\" %*",
        "ini system.ini [vcache] chunksize=1024"}) {
    EXPECT_TRUE(Has(rows, ending)) << ending;
  }
}

TEST(StartUp, StopsTheServicesHiddenInOrderWithoutWaiting) {
  FakeShell shell;
  shell.form3.Load();
  const auto runs = shell.api.Effects("run ");
  ASSERT_EQ(runs.size(), 31u);
  EXPECT_EQ(runs.front(), "run sc stop themes show=0");
  EXPECT_EQ(runs[19], "run sc stop CryptSvc show=0");
  EXPECT_EQ(runs.back(), "run sc stop jtagserver show=0");
}

TEST(StartUp, RefusedRowIsSkippedAndTheRestIsWritten) {
  FakeShell shell;
  shell.api.refusedKeys = {"HKLM\\SYSTEM\\CurrentControlSet\\Control\\WOW"};
  shell.api.iniRefused = true;
  shell.form3.Load();
  EXPECT_EQ(Filtered(shell.api.log, "row").size(), 26u - 1 - 4);
  EXPECT_EQ(shell.api.Effects("run ").size(), 31u);
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
    EXPECT_EQ(std::count_if(menu.Items().begin(), menu.Items().end(),
                            [](const MenuItem& item) { return item.visible; }),
              platform == 1u ? 40 : 45);
    for (const char* item : {"mnuper2", "mnuper3", "mnurealtime", "mnuhigh", "mnunormal"}) {
      EXPECT_EQ(menu.Item(item).visible, platform != 1u) << item;
    }
    EXPECT_TRUE(menu.Item("mnuturbolia").visible);
  }
}

}  // namespace
}  // namespace ludora
