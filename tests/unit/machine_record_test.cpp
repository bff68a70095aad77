// The record of the machine that the installer takes and the uninstaller
// puts back.
#include <gtest/gtest.h>

#include "fake/fake_views.h"
#include "record/record_tool.h"
#include "tuning/machine_record.h"

namespace ludora {
namespace {

using testing::FakeShell;
using testing::FakeWindows;

const std::string kRecord = "C:\\Program Files\\Corvane Ludora\\machine-record.txt";

// Every value and entry the shell writes, whatever it does: start-up, both
// switches, a launch in High mode. Each must be on the list the installer records.
TEST(MachineRecord, ListsEveryPlaceTheShellWrites) {
  FakeShell shell([](FakeWindows& api) {
    api.AddFolder("C:\\Program Files\\Corvane Ludora\\games");
    api.AddFile("C:\\Program Files\\Corvane Ludora\\games\\Chess.lnk");
  });
  shell.api.onTrackPopupMenu = [&](HMENU menu) { return shell.api.FindCommand(menu, {"Chess"}); };
  shell.form3.Load();
  shell.Paint();
  for (const QuickItem item : {QuickItem::mnuludora, QuickItem::mnuexplorer, QuickItem::mnuhigh}) {
    shell.Pick(item);
  }
  shell.Click("Label2");
  // The list, in the fake's own spelling of places.
  std::set<std::string> listed;
  for (const Place& p : PlacesLudoraWrites()) {
    const char* roots[] = {"hkcr", "hkcu", "hklm", "hku"};
    std::string where =
        p.ini ? p.key + "|" + p.name : roots[p.root - HKCR] + ("\\" + p.key + " [" + p.name + "]");
    std::transform(where.begin(), where.end(), where.begin(), ::tolower);
    listed.insert(where);
  }
  for (const auto& [place, value] : shell.api.registry)
    EXPECT_TRUE(listed.contains(place)) << place;
  for (const auto& [place, text] : shell.api.Profile("system.ini"))
    EXPECT_TRUE(listed.contains(place)) << place;
  EXPECT_GT(shell.api.registry.size() + shell.api.Profile("system.ini").size(), 80u);
}

std::vector<BYTE> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

TEST(MachineRecord, PutsBackEveryValueAsItWasAbsenceIncluded) {
  FakeShell shell([](FakeWindows& api) {
    const std::string desktop = "HKCU\\Control Panel\\Desktop";
    api.SetValue(desktop, "MenuShowDelay", REG_DWORD, {7, 0, 0, 0});   // a number where text goes
    api.SetValue(desktop, "HungAppTimeout", 2, Bytes("%TIMEOUT%\0"));  // REG_EXPAND_SZ
    api.SetValue(desktop, "AutoEndTasks", 3, {});                      // empty REG_BINARY
    api.SetValue("HKLM\\SYSTEM\\CurrentControlSet\\Control", "WaitToKillService", 7,
                 Bytes(std::string("a\0b\0\0", 5)));  // REG_MULTI_SZ
    api.SetValue("HKLM\\SYSTEM\\CurrentControlSet\\Services\\Alerter", "Start", REG_DWORD,
                 {2, 0, 0, 0});
    api.Profile("system.ini")["386enh|mintimeslice"] = "77";
    api.Profile("system.ini")["boot|shell"] = "";
  });
  FakeWindows& api = shell.api;
  const std::vector<PlaceState> before = ReadPlaces(api, PlacesLudoraWrites());
  EXPECT_EQ(record::Run(api, "ludora-record record \"" + kRecord + "\""), 0);
  shell.form3.Load();  // the machine changes: Ludora starts, becomes the shell
  shell.Pick(QuickItem::mnuludora);
  EXPECT_NE(ReadPlaces(api, PlacesLudoraWrites()), before);
  EXPECT_EQ(record::Run(api, "ludora-record.exe restore \"" + kRecord + "\""), 0);
  EXPECT_EQ(ReadPlaces(api, PlacesLudoraWrites()), before);  // absent ones absent again
  EXPECT_EQ(api.Live(testing::Kind::Key) + api.Live(testing::Kind::File), 0);
}

TEST(MachineRecord, TheFirstRecordIsKeptAndADamagedOneIsRefusedWhole) {
  FakeWindows api;
  api.failing = {testing::Op::WriteFile};  // a full disk: no record cut short stays
  EXPECT_EQ(record::Run(api, "r record " + kRecord), 1);
  EXPECT_TRUE(api.files.empty());
  api.failing.clear();
  api.SetValue("HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "Shell", REG_SZ,
               Bytes(std::string("custom.exe", 11)));
  ASSERT_EQ(record::Run(api, "r record " + kRecord), 0);
  const std::string first = api.files.back().content;
  api.SetValue("HKCU\\Control Panel\\Desktop", "MenuShowDelay", REG_SZ, Bytes("9"));
  ASSERT_EQ(record::Run(api, "r record " + kRecord), 0);  // an install over an install
  EXPECT_EQ(api.files.back().content, first);
  ASSERT_TRUE(ParseRecord(first));

  const std::string line =
      first.substr(first.find('\n') + 1, first.find('\n', 40) - first.find('\n'));
  for (const std::string& damaged :
       {first.substr(0, first.size() / 2), first.substr(0, first.size() - 1) + " ", first + "x",
        std::string(first).replace(first.find("Winlogon"), 1, "w"),
        std::string(first).erase(first.find('\n') + 1, line.size())}) {
    EXPECT_FALSE(ParseRecord(damaged)) << damaged.size();
  }
  api.files.back().content = first.substr(0, first.size() - 3);
  EXPECT_EQ(record::Run(api, "r restore " + kRecord), record::kRestoredDefaults);
  // Explorer's own values, never the record's custom shell.
  EXPECT_EQ(api.Value("HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "Shell"),
            "REG_SZ explorer.exe");
  EXPECT_EQ(api.Value("HKLM\\SYSTEM\\CurrentControlSet\\Services\\Alerter", "Start"),
            "REG_DWORD 3");
  api.RemoveFile(kRecord);  // missing altogether: the same
  EXPECT_EQ(record::Run(api, "r restore " + kRecord), record::kRestoredDefaults);
  EXPECT_EQ(record::Run(api, "r forget " + kRecord), 1);
}

// A record taken where Ludora was made the shell by hand, before there was
// an installer; a value that cannot be put back.
TEST(MachineRecord, NeitherARecordOfLudoraAsTheShellNorARefusalLeavesItTheShell) {
  FakeShell shell;
  shell.form3.Load();
  shell.Pick(QuickItem::mnuludora);
  FakeWindows& api = shell.api;
  ASSERT_EQ(record::Run(api, "r record " + kRecord), 0);
  EXPECT_EQ(record::Run(api, "r restore " + kRecord), 0);
  EXPECT_EQ(api.Value("HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "Shell"),
            "REG_SZ explorer.exe");
  EXPECT_FALSE(ShellNamesLudora(api));
  api.failing = {testing::Op::RegOpenKeyExA};  // a value to delete may be behind it
  EXPECT_EQ(record::Run(api, "r restore " + kRecord), record::kIncomplete);
}

TEST(MachineRecord, ARunningShellIsClosedAndExplorerStartedWhenLudoraWasTheDesktop) {
  for (const bool explorerDesktop : {false, true}) {
    FakeWindows api;
    record::Run(api, "r record " + kRecord);
    api.windowsByClass = {{"CorvaneLudoraBar", 0x3003}, {"CorvaneLudoraQuickMenu", 0x3004}};
    if (explorerDesktop) api.windowsByClass["Progman"] = 0x3005;
    api.shellEndsOnClose = !explorerDesktop;  // once it will not end when asked: it is ended
    const std::size_t mark = api.log.size();
    EXPECT_EQ(record::Run(api, "r restore " + kRecord), 0);
    std::vector<std::string> log(api.log.begin() + mark, api.log.end());
    std::erase_if(log, [](const std::string& e) {
      return e.starts_with("reg") || e.starts_with("ini") || e.starts_with("file");
    });
    // WM_CLOSE to both windows, then a wait for the process to end.
    std::vector<std::string> expected = {"open-process pid=77 access=1048577 inherit=0", "post 16",
                                         "post 16", "wait"};
    if (explorerDesktop) expected.insert(expected.end(), {"terminate", "wait"});
    if (!explorerDesktop) expected.push_back("run explorer.exe show=1");
    EXPECT_EQ(log, expected);
    EXPECT_EQ(api.Live(testing::Kind::Process), 0);
  }
}

}  // namespace
}  // namespace ludora
