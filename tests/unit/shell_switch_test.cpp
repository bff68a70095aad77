// The default-shell switches of the quick menu.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake/fake_views.h"
#include "platform/win_constants.h"
#include "startup_rows.h"
#include "tuning/shell_switch.h"

namespace ludora {
namespace {

using testing::FakeShell;

const std::string kFolder = "C:\\Program Files\\Corvane Ludora";
const std::string kShortFolder = "C:\\PROGRA~1\\CORVAN~1";
const std::string kMapping =
    "reg HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\IniFileMapping\\system.ini\\boot "
    "[Shell] REG_SZ ";
const std::string kUserWinlogon =
    "reg HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon [Shell] REG_SZ ";
const std::string kMachineWinlogon =
    "reg HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon [Shell] REG_SZ ";
const std::string kMessage = "msgbox Corvane Ludora | ";
const std::string kInternetSettings =
    "reg HKU\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings ";

// A started shell whose next picks are recorded from `mark` on.
struct Switching : FakeShell {
  explicit Switching(std::optional<DWORD> platform)
      : FakeShell([&](testing::FakeWindows& api) {
          api.platformId = platform;
          api.shortPaths[kFolder] = kShortFolder;
        }) {
    form3.Load();
    mark = api.log.size();
  }
  std::vector<std::string> Pick(const char* item) {
    const std::size_t from = api.log.size();
    program.form1().Click({item, 0});
    return LogSince(from);
  }
  std::size_t mark = 0;
};

std::string ServiceRow(const ServiceStart& service) {
  return "reg HKLM\\SYSTEM\\CurrentControlSet\\Services\\" + std::string(service.service) +
         " [Start] REG_DWORD " + std::to_string(service.start);
}

std::string Row(const TuningRow& row, const std::string& data) {
  const char* root = row.root == HKCR   ? "HKCR"
                     : row.root == HKCU ? "HKCU"
                     : row.root == HKLM ? "HKLM"
                                        : "HKU";
  if (row.kind == RowKind::Ini)
    return "ini system.ini [" + std::string(row.key) + "] " + std::string(row.name) + "=" + data;
  return "reg " + std::string(root) + "\\" + std::string(row.key) + " [" + std::string(row.name) +
         "] " + (row.kind == RowKind::Dword ? "REG_DWORD " : "REG_SZ ") + data;
}

// The tuning writes of the switch to Ludora, from the tables, with the data a
// 511 MB machine and the platform give.
std::vector<std::string> LudoraTuning(std::optional<DWORD> platform) {
  std::vector<std::string> rows;
  for (const TuningRow& row : LudoraTuningRows()) {
    std::string data;
    switch (row.data) {
      case RowData::Constant:
        data = row.kind == RowKind::Dword ? std::to_string(row.number) : std::string(row.text);
        break;
      case RowData::PrefetchByMemory:
        data = "3";
        break;
      case RowData::PageLockByMemory:
        data = "16384000";
        break;
      case RowData::UnloadDllByPlatform:
        data = platform == 1u ? "0" : "1";
        break;
    }
    rows.push_back(Row(row, data));
  }
  if (platform != 1u) {
    for (const ServiceStart& service : LudoraServiceStarts()) rows.push_back(ServiceRow(service));
  }
  rows.push_back(kInternetSettings + "[MaxConnectionsPer1_0Server] REG_DWORD 16");
  rows.push_back(kInternetSettings + "[MaxConnectionsPerServer] REG_DWORD 8");
  return rows;
}

TEST(SwitchToLudora, WritesRegistrationMessageReadingAndTuningInOrder) {
  for (const auto platform :
       {std::optional<DWORD>(2), std::optional<DWORD>(1), std::optional<DWORD>()}) {
    Switching shell(platform);
    std::vector<std::string> expected = {
        "ini system.ini [boot] shell=" + kShortFolder + "\\ludora.exe",
        kMapping + "USR:Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
        kUserWinlogon + "\"" + kFolder + "\\ludora.exe\"",
        kMessage +
            "Ludora is now set as default shell. You must reboot for this to take into effect. | "
            "style=64",
        "memory-status",
    };
    const auto tuning = LudoraTuning(platform);
    expected.insert(expected.end(), tuning.begin(), tuning.end());
    EXPECT_EQ(shell.Pick("mnuludora"), expected);
  }
}

TEST(SwitchToLudora, TablesHoldTheirRows) {
  ASSERT_EQ(LudoraTuningRows().size(), 32u);
  ASSERT_EQ(LudoraServiceStarts().size(), 44u);
  EXPECT_EQ(std::count_if(LudoraServiceStarts().begin(), LudoraServiceStarts().end(),
                          [](const ServiceStart& s) { return s.start == 4; }),
            42);
  // Both switches set the same services, in almost the same order.
  std::vector<std::string> ludora, explorer;
  for (const auto& s : LudoraServiceStarts()) ludora.emplace_back(s.service);
  for (const auto& s : ExplorerServiceStarts()) explorer.emplace_back(s.service);
  EXPECT_TRUE(std::is_permutation(ludora.begin(), ludora.end(), explorer.begin(), explorer.end()));
}

TEST(SwitchToLudora, RepeatsTheStartUpRowsWithItsOwnDifferences) {
  Switching shell(2);
  auto log = shell.Pick("mnuludora");
  // Keep the rows of the switch that the start-up set has too.
  const std::vector<std::string> own = {"[SeparateProcess]",
                                        "[LargeSystemCache]",
                                        "[DesktopProcess]",
                                        "[AdditionalCriticalWorkerThreads]",
                                        "Internet Settings",
                                        "\\Services\\",
                                        "msgbox",
                                        "memory-status",
                                        "Winlogon",
                                        "IniFileMapping",
                                        "[boot]"};
  std::erase_if(log, [&](const std::string& entry) {
    return std::any_of(own.begin(), own.end(), [&](const std::string& mark) {
      return entry.find(mark) != std::string::npos &&
             entry.find("\\Services\\Class\\") == std::string::npos &&
             entry.find("i8042prt") == std::string::npos;
    });
  });
  auto expected = testing::kStartupWrites;
  for (std::string& row : expected) {
    if (row.find("[AlwaysUnloadDLL]") != std::string::npos) row.back() = '1';
    if (row.find("[BrowseNewProcess]") != std::string::npos) row.replace(row.size() - 2, 2, "yes");
  }
  EXPECT_EQ(log, expected);
}

TEST(SwitchToLudora, NothingIsTunedBeforeTheMessageBoxIsClosed) {
  Switching shell(2);
  std::vector<std::string> beforeClose;
  shell.api.onMessageBox = [&] { beforeClose = shell.LogSince(shell.mark); };
  shell.Pick("mnuludora");
  ASSERT_EQ(beforeClose.size(), 4u);  // three registration writes and the box itself
  EXPECT_EQ(beforeClose.back().rfind(kMessage, 0), 0u);
}

TEST(SwitchToLudora, RefusedRegistrationSaysSoAndStillTunes) {
  Switching shell(2);
  shell.api.refusedKeys = {"HKLM\\Software\\Microsoft\\Windows NT"};
  const auto log = shell.Pick("mnuludora");
  const auto messages = shell.api.Effects(kMessage);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], kMessage +
                             "The default shell could not be changed. You need administrator "
                             "rights to change it. | style=64");
  EXPECT_EQ(std::count(log.begin(), log.end(), ServiceRow({"Alerter", 4})), 1);
}

TEST(SwitchToLudora, WithoutAShortNameTheLongFolderNamesTheShell) {
  Switching shell(2);
  shell.api.shortPaths[kFolder] = "";
  EXPECT_EQ(shell.Pick("mnuludora").front(),
            "ini system.ini [boot] shell=" + kFolder + "\\ludora.exe");
}

TEST(SwitchToLudora, RunningTwiceWritesTheSameAgain) {
  Switching shell(2);
  const auto first = shell.Pick("mnuludora");
  EXPECT_EQ(shell.Pick("mnuludora"), first);
}

TEST(SwitchToLudora, PrefetchFollowsAFreshReading) {
  Switching shell(2);
  shell.api.memory.dwTotalPhys = 180u * 1048576;  // changed since start-up
  const auto log = shell.Pick("mnuludora");
  EXPECT_NE(std::find(log.begin(), log.end(),
                      "reg HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory "
                      "Management\\PrefetchParameters [EnablePrefetcher] REG_DWORD 0"),
            log.end());
}

TEST(SwitchToExplorer, WritesItsOwnRowsOnEachPlatform) {
  for (const auto platform :
       {std::optional<DWORD>(2), std::optional<DWORD>(1), std::optional<DWORD>()}) {
    Switching shell(platform);
    std::vector<std::string> expected = {
        "ini system.ini [boot] shell=Explorer.exe",
        kMapping + "SYS:Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
        kUserWinlogon + "explorer.exe",
        kMachineWinlogon + "explorer.exe",
        kMessage +
            "Explorer is now set as default shell. You must reboot for this to take into effect. | "
            "style=64",
        "reg HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer [AlwaysUnloadDLL] REG_SZ "
        "0",
        "reg HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced "
        "[SeparateProcess] REG_DWORD 0",
        "reg HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced "
        "[SeparateProcess] REG_DWORD 0",
        "ini system.ini [386Enh] MinTimeSlice=20",
    };
    if (platform != 1u) {
      for (const ServiceStart& service : ExplorerServiceStarts())
        expected.push_back(ServiceRow(service));
    }
    expected.push_back(kInternetSettings + "[MaxConnectionsPer1_0Server] REG_DWORD 2");
    expected.push_back(kInternetSettings + "[MaxConnectionsPerServer] REG_DWORD 1");
    EXPECT_EQ(shell.Pick("mnuexplorer"), expected);
  }
}

TEST(SwitchToExplorer, StartTypesMatchTheRestoreTable) {
  int automatic = 0, manual = 0, disabled = 0;
  for (const ServiceStart& s : ExplorerServiceStarts()) {
    (s.start == 2 ? automatic : s.start == 3 ? manual : disabled) += 1;
  }
  EXPECT_EQ(automatic, 20);
  EXPECT_EQ(manual, 22);
  EXPECT_EQ(disabled, 2);
}

TEST(SwitchToExplorer, RefusedRegistrationSaysSo) {
  Switching shell(2);
  shell.api.iniRefused = true;
  shell.Pick("mnuexplorer");
  EXPECT_NE(shell.api.Effects(kMessage).at(0).find("could not be changed"), std::string::npos);
}

}  // namespace
}  // namespace ludora
