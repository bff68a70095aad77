// The default-shell switches of the quick menu.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake/fake_views.h"
#include "platform/win_constants.h"

namespace ludora {
namespace {

const std::string kFolder = "C:\\Program Files\\Corvane Ludora";
const std::string kMessage = "msgbox Corvane Ludora | ";
const std::string kWinlogon =
    "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon [Shell] REG_SZ ";
const std::string kMapping =
    "reg HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\IniFileMapping\\system.ini\\boot "
    "[Shell] REG_SZ ";
const std::string kReboot =
    " is now set as default shell. You must reboot for this to take into "
    "effect. | style=64";

struct Switching : testing::FakeShell {
  explicit Switching(std::optional<DWORD> platform)
      : FakeShell([&](testing::FakeWindows& api) {
          api.platformId = platform;
          api.shortPaths[kFolder] = "C:\\PROGRA~1\\CORVAN~1";
        }) {
    form3.Load();
  }
  std::vector<std::string> Pick(const char* item) {
    const std::size_t from = api.log.size();
    program.form1().Click({item, 0});
    return LogSince(from);
  }
};

long Count(const std::vector<std::string>& log, const std::string& part) {
  return std::count_if(log.begin(), log.end(),
                       [&](const std::string& e) { return e.find(part) != std::string::npos; });
}

const std::optional<DWORD> kPlatforms[] = {2, 1, std::nullopt};  // codes 1, 2 and 3

TEST(SwitchToLudora, RegistersTellsReadsThenTunesOnEachPlatform) {
  for (const auto platform : kPlatforms) {
    Switching shell(platform);
    const auto log = shell.Pick("mnuludora");
    const bool nt = platform != 1u;
    ASSERT_EQ(log.size(), 5 + 32 + (nt ? 44 : 0) + 2u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 5),
              (std::vector<std::string>{
                  "ini system.ini [boot] shell=C:\\PROGRA~1\\CORVAN~1\\ludora.exe",
                  kMapping + "USR:Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
                  "reg HKCU" + kWinlogon + "\"" + kFolder + "\\ludora.exe\"",
                  kMessage + "Ludora" + kReboot, "memory-status"}));
    EXPECT_EQ(Count(log, "[AlwaysUnloadDLL] REG_SZ " + std::string(nt ? "1" : "0")), 1);
    EXPECT_EQ(Count(log, "[Start] REG_DWORD 4"), nt ? 42 : 0);
    EXPECT_EQ(Count(log, "\\CryptSvc [Start] REG_DWORD 3"), nt ? 1 : 0);
    EXPECT_EQ(log.back(),
              "reg HKU\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet "
              "Settings [MaxConnectionsPerServer] REG_DWORD 8");
  }
}

TEST(SwitchToLudora, RepeatsTheStartUpRowsWithItsOwnDifferences) {
  Switching shell(2);
  std::vector<std::string> startUp(shell.api.log.begin(), shell.api.log.end());
  std::erase_if(startUp, [](const std::string& e) {
    return !e.starts_with("reg ") && !e.starts_with("ini ");
  });
  auto log = shell.Pick("mnuludora");
  for (const char* own : {"[SeparateProcess]", "[LargeSystemCache]", "[DesktopProcess]",
                          "[AdditionalCriticalWorkerThreads]", "Internet Settings", "[Start]",
                          "msgbox", "memory-status", "[Shell]", "[boot]"}) {
    std::erase_if(log, [&](const std::string& e) { return e.find(own) != std::string::npos; });
  }
  for (std::string& row : startUp) {
    if (row.ends_with("[AlwaysUnloadDLL] REG_SZ 0")) row.back() = '1';
    if (row.ends_with("[BrowseNewProcess] REG_SZ no")) row.replace(row.size() - 2, 2, "yes");
  }
  EXPECT_EQ(log, startUp);
}

TEST(SwitchToLudora, TellsBeforeTuningAndSaysWhenItCouldNotRegister) {
  Switching shell(2);
  std::size_t writtenWhenShown = 0;
  shell.api.onMessageBox = [&] { writtenWhenShown = shell.api.log.size(); };
  const std::size_t before = shell.api.log.size();
  const auto first = shell.Pick("mnuludora");
  EXPECT_EQ(writtenWhenShown - before, 4u);   // the registration and the box only
  EXPECT_EQ(shell.Pick("mnuludora"), first);  // a second run writes the same again

  shell.api.refusedKeys = {"HKLM\\Software\\Microsoft\\Windows NT"};
  const auto refused = shell.Pick("mnuludora");
  EXPECT_EQ(Count(refused,
                  "The default shell could not be changed. You need administrator rights "
                  "to change it. | style=64"),
            1);
  EXPECT_EQ(Count(refused, "[Start]"), 44);  // the tuning still follows

  shell.api.shortPaths[kFolder] = "";  // no short form: the long one names the shell
  EXPECT_EQ(shell.Pick("mnuludora").front(),
            "ini system.ini [boot] shell=" + kFolder + "\\ludora.exe");
}

TEST(SwitchToExplorer, RegistersTellsThenRestoresOnEachPlatform) {
  for (const auto platform : kPlatforms) {
    Switching shell(platform);
    const auto log = shell.Pick("mnuexplorer");
    const bool nt = platform != 1u;
    ASSERT_EQ(log.size(), 9 + (nt ? 44 : 0) + 2u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 6),
              (std::vector<std::string>{
                  "ini system.ini [boot] shell=Explorer.exe",
                  kMapping + "SYS:Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
                  "reg HKCU" + kWinlogon + "explorer.exe", "reg HKLM" + kWinlogon + "explorer.exe",
                  kMessage + "Explorer" + kReboot,
                  "reg HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer "
                  "[AlwaysUnloadDLL] REG_SZ 0"}));
    EXPECT_EQ(log[8], "ini system.ini [386Enh] MinTimeSlice=20");
    EXPECT_EQ(Count(log, "[Start] REG_DWORD 2"), nt ? 20 : 0);
    EXPECT_EQ(Count(log, "[Start] REG_DWORD 3"), nt ? 22 : 0);
    EXPECT_EQ(Count(log, "[Start] REG_DWORD 4"), nt ? 2 : 0);
    EXPECT_TRUE(log.back().ends_with("[MaxConnectionsPerServer] REG_DWORD 1"));
  }
}

}  // namespace
}  // namespace ludora
