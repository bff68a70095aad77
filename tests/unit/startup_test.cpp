// The start-up sequence of the bar and the tuning it applies.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake/fake_views.h"
#include "platform/win_constants.h"
#include "startup_rows.h"
#include "tuning/startup_set.h"

namespace ludora {
namespace {

using testing::FakeShell;
using testing::kStartupWrites;

// The kind of a log entry: its first word, "view ..." and "reg"/"ini" merged.
std::string Step(const std::string& entry) {
  if (entry.rfind("view ", 0) == 0) return entry.substr(0, entry.find(' ', 5));
  const std::string word = entry.substr(0, entry.find(' '));
  return word == "reg" || word == "ini" ? "row" : word;
}

std::vector<std::string> Steps(const std::vector<std::string>& log) {
  std::vector<std::string> steps;
  for (const std::string& entry : log) {
    const std::string step = Step(entry);
    if (steps.empty() || steps.back() != step) steps.push_back(step);
  }
  return steps;
}

std::vector<std::string> Rows(const std::vector<std::string>& log) {
  std::vector<std::string> rows;
  std::copy_if(log.begin(), log.end(), std::back_inserter(rows),
               [](const std::string& e) { return Step(e) == "row"; });
  return rows;
}

TEST(StartUp, RunsItsStepsInOrder) {
  FakeShell shell;
  ASSERT_EQ(shell.form3.Load(), Form3::LoadResult::Run);
  EXPECT_EQ(Steps(shell.api.log),
            (std::vector<std::string>{"view move", "mutex", "load", "memory-status", "open-process",
                                      "priority-class", "thread-priority", "row", "view tooltip",
                                      "file-open", "run"}));
  EXPECT_EQ(shell.view.clockTooltip, "Friday, December 04, 2026  5:30:25 PM");
}

TEST(StartUp, WritesTheTuningRowsExactlyAndInOrder) {
  FakeShell shell;  // 535777280 bytes: 511 MB, page-lock 16384000
  shell.form3.Load();
  EXPECT_EQ(Rows(shell.api.log), kStartupWrites);
  EXPECT_EQ(
      shell.api.Value("HKLM\\System\\CurrentControlSet\\Control\\WOW", "DefaultSeparateVDM")->type,
      REG_SZ);
}

TEST(StartUp, StopsTheServicesHiddenInOrderWithoutWaiting) {
  FakeShell shell;
  shell.form3.Load();
  std::vector<std::string> expected;
  for (std::string_view service : StartupServiceStops()) {
    expected.push_back("run sc stop " + std::string(service) + " show=0");
  }
  ASSERT_EQ(expected.size(), 31u);
  EXPECT_EQ(expected.front(), "run sc stop themes show=0");
  EXPECT_EQ(expected.back(), "run sc stop jtagserver show=0");
  EXPECT_EQ(shell.api.Effects("run "), expected);
}

TEST(StartUp, PrefetchTurnsOnAbove180Megabytes) {
  for (const auto& [megabytes, prefetch] : {std::pair{180, 0u}, {181, 3u}}) {
    FakeShell shell;
    shell.api.memory.dwTotalPhys = static_cast<DWORD>(megabytes) * 1048576;
    shell.form3.Load();
    const auto value = shell.api.Value(
        "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory "
        "Management\\PrefetchParameters",
        "EnablePrefetcher");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->AsDword(), prefetch) << megabytes << " MB";
  }
}

TEST(StartUp, RefusedRowIsSkippedAndTheRestIsWritten) {
  FakeShell shell;
  shell.api.refusedKeys = {"HKLM\\SYSTEM\\CurrentControlSet\\Control\\WOW"};
  shell.api.iniRefused = true;
  shell.form3.Load();
  std::vector<std::string> expected;
  std::copy_if(kStartupWrites.begin(), kStartupWrites.end(), std::back_inserter(expected),
               [](const std::string& row) {
                 return row.find("WOW") == std::string::npos && row.rfind("ini ", 0) != 0;
               });
  EXPECT_EQ(Rows(shell.api.log), expected);
  EXPECT_EQ(shell.api.Effects("run ").size(), 31u);  // the services still stop
}

TEST(StartUp, PriorityGoesIdleAndTheRecordIsIgnored) {
  FakeShell shell;
  shell.api.platformId = VER_PLATFORM_WIN32_NT;
  shell.form3.Load();
  EXPECT_EQ(shell.api.threadPriorityHandles.size(), 1001u);
  EXPECT_EQ(shell.api.currentThreadPriority, THREAD_PRIORITY_IDLE);
  EXPECT_EQ(shell.api.priorityClass, 0x20u);  // refused on NT, start-up goes on
  EXPECT_EQ(shell.api.Effects("run ").size(), 31u);
}

TEST(StartUp, SecondInstanceOnlyWritesTheOpenCommandAndEnds) {
  FakeShell shell;
  shell.api.otherInstanceRunning = true;
  EXPECT_EQ(shell.form3.Load(), Form3::LoadResult::EndProgram);
  EXPECT_EQ(shell.api.log, (std::vector<std::string>{
                               "view move 0,0", "mutex Corvane.Ludora.ZR.Instance",
                               "reg HKCR\\exefile\\shell\\open\\Command [] REG_SZ \"%1\" %*"}));
  EXPECT_FALSE(shell.program.form1Loaded());
}

TEST(StartUp, StartingTwiceLeavesTheSameRegistry) {
  FakeShell first;
  first.form3.Load();
  FakeShell second;
  second.api.registry = first.api.registry;
  second.form3.Load();
  EXPECT_EQ(Rows(second.api.log), Rows(first.api.log));
  EXPECT_EQ(second.api.registry.size(), first.api.registry.size());
}

// Which quick-menu items are visible after start-up on each platform code.
std::vector<std::string> VisibleItems(const QuickMenu& menu) {
  std::vector<std::string> names;
  for (const MenuItem& item : menu.Items()) {
    if (item.visible) names.push_back(item.name);
  }
  return names;
}

TEST(StartUp, QuickMenuAfterStartUpOnEachPlatform) {
  const std::vector<std::string> performance = {"mnuper2", "mnuper3", "mnurealtime", "mnuhigh",
                                                "mnunormal"};
  for (const auto& platform :
       {std::optional<DWORD>(2), std::optional<DWORD>(1), std::optional<DWORD>()}) {
    FakeShell shell;
    shell.api.platformId = platform;
    shell.form3.Load();
    const QuickMenu& menu = shell.program.form1().menu();
    const auto visible = VisibleItems(menu);
    EXPECT_EQ(visible.size(), platform == 1u ? 40u : 45u);
    EXPECT_TRUE(menu.Item("mnuturbolia").visible);
    EXPECT_FALSE(menu.Item("menu").visible);
    for (const std::string& item : performance) {
      EXPECT_EQ(std::count(visible.begin(), visible.end(), item), platform == 1u ? 0 : 1) << item;
    }
    EXPECT_TRUE(menu.Item("mnunormal").checked);
  }
}

}  // namespace
}  // namespace ludora
