// The default-shell switches of the quick menu.
#include <algorithm>

#include "fake/fake_views.h"

namespace ludora {
namespace {

using namespace testing;
using enum QuickItem;

const std::string kMessage = "msgbox Corvane Ludora | ";
const std::string kShell = "\\" + kWinlogon + " [Shell] REG_SZ ";
const std::string kMapping =
    "reg HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\IniFileMapping\\system.ini\\boot "
    "[Shell] REG_SZ ";
const std::string kReboot =
    " is now set as default shell. You must reboot for this to take into effect. | style=64 "
    "owner=12291";
const std::string kInternet =
    "reg HKU\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings ";
const std::string kExplorer = "reg HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::string kSeparate =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced "
    "[SeparateProcess] REG_DWORD 0";

struct Switching : FakeShell {
  explicit Switching(std::optional<DWORD> platform)
      : FakeShell([&](FakeWindows& api) {
          api.platformId = platform;
          api.shortPaths[kApp] = "C:\\PROGRA~1\\CORVAN~1";
        }) {
    form3.Load();
  }
};

long Count(const Log& log, const std::string& part) {
  return std::count_if(log.begin(), log.end(),
                       [&](const std::string& e) { return e.find(part) != std::string::npos; });
}

// The services whose start type the log sets, in order: "<service>=<type>".
Log Services(const Log& log) {
  Log starts;
  for (const std::string& entry : log) {
    const auto end = entry.find(" [Start]");
    if (end == std::string::npos) continue;
    const auto start = entry.rfind('\\', end) + 1;
    starts.push_back(entry.substr(start, end - start) + "=" + entry.substr(entry.rfind(' ') + 1));
  }
  return starts;
}

const std::optional<DWORD> kPlatforms[] = {2, 1, std::nullopt};  // codes 1, 2 and 3

TEST(SwitchToLudora, RegistersTellsReadsThenRepeatsTheStartUpRowsWithItsOwn) {
  for (const auto platform : kPlatforms) {
    Switching shell(platform);
    const bool nt = platform != 1u;
    Log startUp = shell.api.log;
    std::erase_if(startUp,
                  [](auto& e) { return !e.starts_with("reg ") && !e.starts_with("ini "); });
    const Log log = shell.Pick(mnuludora);

    Log expected = {"ini system.ini [boot] shell=C:\\PROGRA~1\\CORVAN~1\\ludora.exe",
                    kMapping + "USR:Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
                    "reg HKCU" + kShell + "\"" + kApp + "\\ludora.exe\"",
                    kMessage + "Ludora" + kReboot,
                    "memory-status",
                    "reg HKLM" + kSeparate,
                    "reg HKCU" + kSeparate};
    // The start-up rows in their order, with the switch's own data and rows.
    for (std::string row : startUp) {
      if (row.ends_with("[AlwaysUnloadDLL] REG_SZ 0")) row.back() = nt ? '1' : '0';
      if (row.ends_with("[BrowseNewProcess] REG_SZ no")) row.replace(row.size() - 2, 2, "yes");
      expected.push_back(row);
      if (row.ends_with("[ErrorCheckingEnabled] REG_DWORD 0"))
        expected.push_back("reg " + kMemoryManagement + " [LargeSystemCache] REG_DWORD 0");
      if (row.find("[EnablePrefetcher]") != std::string::npos) {
        expected.push_back(kExplorer + " [DesktopProcess] REG_DWORD 0");
        expected.push_back("reg HKCU" + kExplorer.substr(8) + " [DesktopProcess] REG_DWORD 0");
      }
    }
    expected.push_back(
        "reg HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Executive "
        "[AdditionalCriticalWorkerThreads] REG_DWORD 1");
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(Log(log.begin(), log.begin() + expected.size()), expected);
    // Then the services' start types, only on the NT family, and the limits.
    EXPECT_EQ(Services(log).size(), nt ? 44u : 0u);
    EXPECT_EQ(Count(log, "[Start] REG_DWORD 4"), nt ? 42 : 0);  // CryptSvc, seclogon on manual
    EXPECT_EQ(
        Count(log, "\\CryptSvc [Start] REG_DWORD 3") + Count(log, "\\seclogon [Start] REG_DWORD 3"),
        nt ? 2 : 0);
    EXPECT_EQ(Log(log.end() - 2, log.end()),
              (Log{kInternet + "[MaxConnectionsPer1_0Server] REG_DWORD 16",
                   kInternet + "[MaxConnectionsPerServer] REG_DWORD 8"}));
    EXPECT_EQ(log.size(), expected.size() + Services(log).size() + 2);
  }
}

TEST(SwitchToLudora, TellsBeforeTuningAndSaysWhenItCouldNotRegister) {
  Switching shell(2);
  std::size_t writtenWhenShown = 0;
  shell.api.onMessageBox = [&] {
    writtenWhenShown = shell.api.log.size();
    // The box is modal: the bar's hot spots do nothing, no second switch begins.
    for (const char* label : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"})
      EXPECT_TRUE(shell.Click(label).empty()) << label;
  };
  const std::size_t before = shell.api.log.size();
  const auto first = shell.Pick(mnuludora);
  EXPECT_EQ(writtenWhenShown - before, 4u);  // the registration and the box only
  EXPECT_EQ(shell.Pick(mnuludora), first);   // a second run writes the same again
  shell.api.onMessageBox = nullptr;
  EXPECT_EQ(shell.Click("Label6").size(), 4u);  // and after it, the bar reacts again

  shell.api.refusedKeys = {"HKLM\\Software\\Microsoft\\Windows NT"};
  const auto refused = shell.Pick(mnuludora);
  EXPECT_EQ(Count(refused,
                  "The default shell could not be changed. You need administrator rights "
                  "to change it. | style=64"),
            1);
  EXPECT_EQ(Services(refused).size(), 44u);  // the tuning still follows

  // A statement that throws is skipped, and a debugger is told which.
  shell.api.onMessageBox = [] { throw std::bad_alloc(); };
  const auto thrown = shell.Pick(mnuludora);
  EXPECT_EQ(Count(thrown, "debug Ludora: Form1.mnuludora step 3 skipped: std::bad_alloc\n"), 1);
  EXPECT_EQ(Services(thrown).size(), 44u);
  shell.api.onMessageBox = nullptr;

  shell.api.shortPaths[kApp] = "";  // no short form: the long one names the shell
  EXPECT_EQ(shell.Pick(mnuludora).front(), "ini system.ini [boot] shell=" + kApp + "\\ludora.exe");
}

TEST(SwitchToExplorer, RegistersTellsThenRestoresTheSameServicesOnEachPlatform) {
  // As the restore writes them: 2 automatic, 3 manual, 4 disabled.
  const std::string starts =
      "Alerter=3 cisvc=3 HidServ=4 Messenger=2 mnmsrvc=3 WmdmPmSp=2 ERSvc=2 NetDDEdsdm=3 "
      "NetDDE=3 FastUserSwitchingCompatibility=3 W32Time=2 Schedule=2 TrkWks=2 "
      "RemoteRegistry=2 RSVP=3 ClipSrv=3 MSDTC=4 SysmonLog=3 PolicyAgent=2 uploadmgr=2 "
      "Helpsvc=2 BITS=3 SENS=2 EventSystem=3 Browser=2 ALG=3 wuauserv=2 RDSessMgr=3 "
      "TlntSvr=3 COMSysApp=3 Netlogon=2 upnphost=3 RemoteAccess=3 SwPrv=3 CryptSvc=2 "
      "seclogon=2 WebClient=2 dmadmin=3 TermService=3 SSDPSRV=3 LmHosts=2 Spooler=2 "
      "SharedAccess=3 lanmanserver=2 ";
  for (const auto platform : kPlatforms) {
    Switching shell(platform);
    const Log log = shell.Pick(mnuexplorer);
    const bool nt = platform != 1u;
    EXPECT_EQ(Log(log.begin(), log.begin() + 9),
              (Log{"ini system.ini [boot] shell=Explorer.exe",
                   kMapping + "SYS:Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
                   "reg HKCU" + kShell + "explorer.exe", "reg HKLM" + kShell + "explorer.exe",
                   kMessage + "Explorer" + kReboot,
                   "reg HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer "
                   "[AlwaysUnloadDLL] REG_SZ 0",
                   "reg HKLM" + kSeparate, "reg HKCU" + kSeparate,
                   "ini system.ini [386Enh] MinTimeSlice=20"}));
    std::string written;
    for (const std::string& service : Services(log)) written += service + " ";
    EXPECT_EQ(written, nt ? starts : "");
    EXPECT_EQ(Log(log.begin() + 9 + Services(log).size(), log.end()),
              (Log{kInternet + "[MaxConnectionsPer1_0Server] REG_DWORD 2",
                   kInternet + "[MaxConnectionsPerServer] REG_DWORD 1"}));
  }
}

}  // namespace
}  // namespace ludora
