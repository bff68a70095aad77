// The record of the machine that the installer takes and the uninstaller
// puts back.
#include "fake/fake_views.h"
#include "ludora-record/record_tool.h"
#include "ludora-record/record_text.h"
#include "ludora-record/written_values.h"

namespace ludora {
namespace {

using namespace testing;

const std::string kRecord = kApp + "\\machine-record.txt";
const std::string kMachineShell = "HKLM\\" + kWinlogon;
const std::string kDesktop = "HKCU\\Control Panel\\Desktop";
const std::string kRegistryCopy = Lower("HKLM\\Software\\Corvane\\Ludora [Machine record 1]");

// Every value and entry the shell writes, whatever it does: start-up, both
// switches, a launch in High mode. Each must be on the list the installer records.
TEST(MachineRecord, ListsEveryPlaceTheShellWrites) {
  FakeShell shell([](FakeWindows& api) {
    api.AddFolder(kApp + "\\games");
    api.AddFile(kApp + "\\games\\Chess.lnk");
  });
  shell.api.onTrackPopupMenu = [&](HMENU menu) { return shell.api.FindCommand(menu, {"Chess"}); };
  shell.form3.Load();
  shell.Paint();
  for (const QuickItem item : {QuickItem::mnuludora, QuickItem::mnuexplorer, QuickItem::mnuhigh})
    shell.Pick(item);
  shell.Click("Label2");
  // The list, in the fake's own spelling of places.
  std::set<std::string> listed;
  for (const Place& p : PlacesLudoraWrites()) {
    listed.insert(Lower(p.ini
                            ? p.key + "|" + p.name
                            : FakeWindows::RootName(p.root) + "\\" + p.key + " [" + p.name + "]"));
  }
  for (const auto& [place, value] : shell.api.registry)
    EXPECT_TRUE(listed.contains(place)) << place;
  for (const auto& [place, text] : shell.api.Profile("system.ini"))
    EXPECT_TRUE(listed.contains(place)) << place;
  EXPECT_GT(shell.api.registry.size() + shell.api.Profile("system.ini").size(), 80u);
}

std::string FileText(const FakeWindows& api, const std::string& path) {
  const auto file = std::ranges::find(api.files, path, &FakeFiles::Entry::path);
  return file == api.files.end() ? "(none)" : file->content;
}

// Whether the recorder's report says `what`; the whole report when not.
::testing::AssertionResult Says(const std::string& report, const std::string& what) {
  if (report.find(what) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << report;
}

// Runs the recorder as the installer does: its exit code, and its report.
std::pair<int, std::string> Recorder(FakeWindows& api, const std::string& command) {
  api.RemoveFile("C:\\report.txt");
  const int code = record::Run(api, "r " + command + " \"" + kApp + "\" \"C:\\report.txt\"");
  return {code, FileText(api, "C:\\report.txt")};
}

TEST(MachineRecord, PutsBackEveryValueAsItWasAbsenceIncluded) {
  FakeShell shell([](FakeWindows& api) {
    api.SetValue(kDesktop, "MenuShowDelay", REG_DWORD, {7, 0, 0, 0});   // a number where text goes
    api.SetValue(kDesktop, "HungAppTimeout", 2, Bytes("%TIMEOUT%\0"));  // REG_EXPAND_SZ
    api.SetValue(kDesktop, "AutoEndTasks", 3, {});                      // empty REG_BINARY
    api.SetValue("HKLM\\SYSTEM\\CurrentControlSet\\Control", "WaitToKillService", 7,
                 Bytes(std::string("a\0b\0\0", 5)));  // REG_MULTI_SZ
    api.SetValue("HKLM\\SYSTEM\\CurrentControlSet\\Services\\Alerter", "Start", REG_DWORD,
                 {2, 0, 0, 0});
    api.Profile("system.ini")["386enh|mintimeslice"] = "77";
    api.Profile("system.ini")["boot|shell"] = "";
  });
  FakeWindows& api = shell.api;
  const std::vector<PlaceState> before = ReadPlaces(api, PlacesLudoraWrites());
  EXPECT_EQ(Recorder(api, "install").first, record::kDone);
  shell.form3.Load();  // the machine changes: Ludora starts, becomes the shell
  shell.Pick(QuickItem::mnuludora);
  EXPECT_NE(ReadPlaces(api, PlacesLudoraWrites()), before);
  EXPECT_EQ(Recorder(api, "uninstall"), std::pair(record::kDone, std::string()));
  EXPECT_EQ(ReadPlaces(api, PlacesLudoraWrites()), before);  // absent ones absent again
  EXPECT_EQ(api.Live(Kind::Key) + api.Live(Kind::File), 0);
}

// Seals `states` as the writer would, whatever they hold.
std::string Sealed(std::vector<PlaceState> states) {
  return RecordText({"Player", std::move(states)});
}

TEST(MachineRecord, TheReaderTakesOnlyPlacesOfTheListWithTheTypesWindowsStores) {
  FakeWindows api;
  const MachineRecord machine{"Player", ReadPlaces(api, PlacesLudoraWrites())};
  const std::string first = RecordText(machine);
  ASSERT_EQ(ParseRecord(first), machine);
  // Re-saved with LF line ends, or without the last one: the same record.
  std::string lf = first;
  std::erase(lf, '\r');
  EXPECT_EQ(ParseRecord(lf), machine);
  EXPECT_EQ(ParseRecord(first.substr(0, first.size() - 2)), machine);

  const PlaceState shell = *std::find_if(machine.states.begin(), machine.states.end(),
                                         [](const PlaceState& s) { return s.place.ini; });
  PlaceState run{{false, HKLM, kCurrentVersion + "Run", "x"}, true, REG_SZ, Bytes("evil.exe")};
  PlaceState otherCase = machine.states.back(), type = otherCase, injected = shell,
             huge = otherCase;
  otherCase.place.key = Lower(otherCase.place.key);
  type.present = true, type.type = 12;
  injected.present = true, injected.type = REG_SZ;
  injected.data = Bytes("Explorer.exe\r\n[boot]\r\nshell=evil.exe");
  huge.present = true, huge.type = REG_BINARY, huge.data.assign(kLargestValue + 1, 'x');
  const std::size_t line = first.find("\nreg") + 1;
  for (const std::string& damaged :
       {first.substr(0, first.size() / 2), first.substr(0, first.size() - 3) + " \r\n", first + "x",
        std::string(first).erase(line, first.find('\n', line) + 1 - line), Sealed({run}),
        Sealed({otherCase}), Sealed({type}), Sealed({injected}), Sealed({huge}),
        Sealed({shell, shell}), std::string(LongestRecord() + 1, ' ')}) {
    EXPECT_FALSE(ParseRecord(damaged)) << damaged.substr(0, 200);
  }
  // The reader's limit is above anything the writer can write.
  MachineRecord largest{std::string(kLongestAccount, 'a'), {}};
  for (const Place& place : PlacesLudoraWrites()) {
    largest.states.push_back(
        {place, true, place.ini ? REG_SZ : 11, Bytes(std::string(kLargestValue, 'x'))});
  }
  EXPECT_EQ(ParseRecord(RecordText(largest)), largest);
}

TEST(MachineRecord, TheFirstRecordIsKeptInBothHomesAndADamagedOneIsSetAsideNeverUsed) {
  FakeWindows api;
  Registered(api, "HKLM", "custom.exe");
  ASSERT_EQ(Recorder(api, "install").first, record::kDone);
  const std::string first = FileText(api, kRecord);
  api.SetValue(kDesktop, "MenuShowDelay", REG_SZ, Bytes("9"));
  api.RemoveFile(kRecord);  // the folder deleted by hand: the registry still holds it
  ASSERT_EQ(Recorder(api, "install").first, record::kDone);  // an install over an install
  EXPECT_EQ(FileText(api, kRecord), first);

  // A file altered, a sound copy in the registry: that one is used, the file set aside.
  api.SetClock({"2026-12-04"}, {"17.30.25"});
  const std::string aside = kApp + "\\machine-record set aside 2026-12-04 17.30.25.txt";
  api.RemoveFile(kRecord), api.AddFile(kRecord, first + "x");
  Registered(api, "HKLM", "explorer.exe");
  auto [code, report] = Recorder(api, "uninstall");
  EXPECT_EQ(code, record::kDone);
  EXPECT_EQ(FileText(api, aside), first + "x");
  EXPECT_TRUE(Says(report, "! The record in " + kRecord +
                               " was damaged: it was not used, and was set aside as " + aside));
  EXPECT_EQ(api.Value(kMachineShell, "Shell"), "REG_SZ custom.exe");

  // Neither home sound: Explorer's own values, never the record's custom shell.
  api.AddFile(kRecord, first.substr(0, first.size() - 3));
  api.registry.erase(kRegistryCopy);
  EXPECT_EQ(Recorder(api, "uninstall").first, record::kRestoredDefaults);
  EXPECT_EQ(api.Value(kMachineShell, "Shell"), "REG_SZ explorer.exe");
  EXPECT_EQ(api.Value("HKLM\\SYSTEM\\CurrentControlSet\\Services\\Alerter", "Start"),
            "REG_DWORD 3");
  EXPECT_EQ(FileText(api, aside.substr(0, aside.size() - 4) + " (2).txt"),
            first.substr(0, first.size() - 3));
  EXPECT_EQ(record::Run(api, "r forget \"" + kApp + "\" \"C:\\r.txt\""), record::kFailed);

  FakeWindows full;
  full.failing = {Op::WriteFile};  // a full disk: no record cut short stays
  EXPECT_EQ(Recorder(full, "install").first, record::kFailed);
  EXPECT_EQ(FileText(full, kRecord), "(none)");
}

// The user's later changes win: a place is put back only while it holds a
// value Ludora writes there on this machine.
TEST(MachineRecord, APlaceTheUserChangedSinceIsLeftAsTheUserSetIt) {
  FakeShell shell;
  FakeWindows& api = shell.api;
  MemoryFigures memory;
  const std::vector<PlaceState> written = ValuesLudoraWrites(MachineInputs(api, kApp, memory));
  const auto holds = [&](const std::string& key, const std::string& name, DWORD type,
                         const std::string& data) {
    const auto place = std::find_if(written.begin(), written.end(), [&](const PlaceState& s) {
      return Lower(Describe(s.place)) == Lower(key + " [" + name + "]");
    });
    return HoldsValueLudoraWrites({place->place, true, type, Bytes(data)}, written);
  };
  const std::string prefetch = kMemoryManagement + "\\PrefetchParameters";
  EXPECT_TRUE(holds(prefetch, "EnablePrefetcher", REG_DWORD, std::string("\3\0\0\0", 4)));
  EXPECT_FALSE(holds(prefetch, "EnablePrefetcher", REG_DWORD, std::string(4, '\0')));  // > 180 MB
  EXPECT_FALSE(holds(kDesktop, "MenuShowDelay", REG_DWORD, std::string(4, '\0')));     // text
  EXPECT_TRUE(holds(kDesktop, "MenuShowDelay", REG_SZ, std::string("0", 2)));
  EXPECT_TRUE(holds(kMachineShell, "Shell", REG_SZ, kApp + "\\ludora.exe" + '\0'));  // via [boot]
  EXPECT_TRUE(holds("HKCR\\exefile\\shell\\open\\Command", "(default)", REG_SZ,
                    "\"" + kApp + "\\sparkrun.exe\" \"%1\"" + '\0'));

  ASSERT_EQ(Recorder(api, "install").first, record::kDone);
  shell.form3.Load();
  shell.Pick(QuickItem::mnuludora);
  api.SetValue(kDesktop, "MenuShowDelay", REG_SZ, SzBytes("5"));  // by hand
  api.SetValue(kDesktop, "AutoEndTasks", REG_SZ, SzBytes("0"));
  const auto [code, report] = Recorder(api, "uninstall");
  EXPECT_EQ(code, record::kDone);
  EXPECT_EQ(api.Value(kDesktop, "MenuShowDelay"), "REG_SZ 5");
  EXPECT_EQ(api.Value(kDesktop, "AutoEndTasks"), "REG_SZ 0");
  EXPECT_EQ(api.Value(kDesktop, "HungAppTimeout"), std::nullopt);  // put back: absent
  EXPECT_TRUE(Says(report, "Left as you set it: " + kDesktop + " [MenuShowDelay]\r\n"));
}

// Another account's per-user values, places of a newer list: left as they are.
TEST(MachineRecord, WhatTheRecordDoesNotSpeakForIsLeftAlone) {
  FakeShell shell;
  FakeWindows& api = shell.api;
  ASSERT_EQ(Recorder(api, "install").first, record::kDone);
  MachineRecord older = *ParseRecord(FileText(api, kRecord));
  std::erase_if(older.states, [](const PlaceState& s) { return s.place.name == "SampleRate"; });
  api.RemoveFile(kRecord), api.AddFile(kRecord, RecordText(older));
  api.registry.erase(kRegistryCopy);
  shell.form3.Load();
  shell.Pick(QuickItem::mnuludora);
  api.userName = "Admin";
  const auto [code, report] = Recorder(api, "uninstall");
  EXPECT_EQ(code, record::kIncomplete);
  EXPECT_EQ(api.Value(kDesktop, "MenuShowDelay"), "REG_SZ 0");  // Player's, in this fake HKCU
  EXPECT_EQ(
      api.Value("HKLM\\System\\CurrentControlSet\\Services\\i8042prt\\Parameters", "SampleRate"),
      "REG_DWORD 200");
  // This account's shell was Ludora.
  EXPECT_EQ(api.Value(kMachineShell, "Shell"), "REG_SZ explorer.exe");
  EXPECT_TRUE(Says(report, "! The per-user settings of Player, who installed Ludora, were left"));
  EXPECT_TRUE(Says(report,
                   "Not in the record, left as it is: HKLM\\System\\CurrentControlSet\\"
                   "Services\\i8042prt\\Parameters [SampleRate]"));
}

// A record taken where Ludora was made the shell by hand, before there was
// an installer; a system.ini that cannot be written.
TEST(MachineRecord, LudoraIsNeverLeftTheShellOfAProgramAboutToGo) {
  FakeShell shell;
  shell.form3.Load();
  shell.Pick(QuickItem::mnuludora);
  FakeWindows& api = shell.api;
  ASSERT_EQ(Recorder(api, "install").first, record::kDone);
  EXPECT_EQ(Recorder(api, "uninstall").first, record::kDone);
  EXPECT_EQ(api.Value(kMachineShell, "Shell"), "REG_SZ explorer.exe");
  EXPECT_FALSE(ShellNamesLudora(api));

  shell.Pick(QuickItem::mnuludora);
  api.failing = {Op::WritePrivateProfileStringA};  // a read-only system.ini
  const auto [code, report] = Recorder(api, "uninstall");
  EXPECT_EQ(code, record::kLudoraStays);
  EXPECT_TRUE(Says(report, "! Could not write system.ini [boot] shell: access denied.\r\n"));
  api.failing = {Op::RegOpenKeyExA};  // nothing can be read back
  EXPECT_EQ(Recorder(api, "uninstall").first, record::kLudoraStays);
}

TEST(MachineRecord, ARunningShellIsClosedAndExplorerStartedWhenLudoraWasTheDesktop) {
  for (const bool explorerDesktop : {false, true}) {
    FakeWindows api;
    Recorder(api, "install");
    api.windowsByClass = {{"CorvaneLudoraBar", 0x3003}, {"CorvaneLudoraQuickMenu", 0x3004}};
    if (explorerDesktop) api.windowsByClass["Progman"] = 0x3005;
    if (!explorerDesktop) api.windowsByClass["Shell_TrayWnd"] = 0x3006;  // traydock's
    api.shellEndsOnClose = !explorerDesktop;  // once it will not end when asked: it is ended
    const std::size_t mark = api.log.size();
    EXPECT_EQ(Recorder(api, "uninstall").first, record::kDone);
    Log log(api.log.begin() + mark, api.log.end());
    std::erase_if(log, [](const std::string& e) {
      return e.starts_with("reg") || e.starts_with("ini") || e.starts_with("file") ||
             e == "memory-status" || e.ends_with("access=1024 inherit=0");  // whose it is
    });
    // WM_CLOSE to both windows, then a wait for the process to end, and
    // for its watchdog; then the same for the notification area.
    const std::string open = "open-process pid=77 access=1048577 inherit=0";
    Log expected = {"mutex Corvane.Ludora.Watchdog", open, "post 16", "post 16", "wait"};
    if (explorerDesktop) expected.insert(expected.end(), {"terminate", "wait"});
    expected.push_back("mutex Corvane.Ludora.Watchdog");
    if (!explorerDesktop) expected.insert(expected.end(), {open, "post 16", "wait"});
    if (!explorerDesktop)
      expected.push_back("run explorer.exe show=1 app=C:\\WINDOWS\\explorer.exe");
    EXPECT_EQ(log, expected);
    EXPECT_EQ(api.Live(Kind::Process), 0);
  }
}

// An uninstall that keeps Ludora (the shell cannot be handed to Explorer)
// gives the desktop back as it was: the Ludora it closed starts again, and
// holds the log-on's mark, which the uninstall held meanwhile; no Explorer.
TEST(MachineRecord, AnUninstallThatKeepsLudoraKeepsItsDesktop) {
  FakeShell shell;
  shell.form3.Load();
  shell.Pick(QuickItem::mnuludora);
  FakeWindows& api = shell.api;
  ASSERT_EQ(Recorder(api, "install").first, record::kDone);
  api.windowsByClass = {{"CorvaneLudoraBar", 0x3003}, {"Shell_TrayWnd", 0x3006}};
  api.events["Corvane.Ludora.StartupRun"] = false;
  api.failing = {Op::WritePrivateProfileStringA};  // a read-only system.ini
  std::size_t marksHeld = 0;
  api.whenStarted = [&](const std::string&) { marksHeld = api.Live(Kind::Event); };
  EXPECT_EQ(Recorder(api, "uninstall").first, record::kLudoraStays);
  EXPECT_EQ(api.Effects("run "), Log{"run \"" + kApp + "\\ludora.exe\" show=1"});
  EXPECT_EQ(marksHeld, 1u);
}

// Closed and started again by Setup, running as another account, the bar
// would come back with Setup's rights: a shell of another account is left
// alone, and nothing changes. Windows 98 has no accounts.
TEST(MachineRecord, AShellOfAnotherAccountIsLeftAlone) {
  for (const bool win98 : {false, true}) {
    FakeWindows api;
    if (win98) api.platformId = 1;
    Recorder(api, "install");
    api.windowsByClass = {{"CorvaneLudoraBar", 0x3003}};
    api.processAccounts[77] = "Administrator";
    const std::size_t mark = api.log.size();
    const int other = win98 ? record::kDone : record::kOtherAccount;
    EXPECT_EQ(record::Run(api, "r check"), other);
    EXPECT_EQ(record::Run(api, "r close"), win98 ? record::kWasRunning : other);
    if (win98) continue;
    EXPECT_EQ(Recorder(api, "uninstall").first, other);
    EXPECT_TRUE(std::none_of(api.log.begin() + mark, api.log.end(), [](const std::string& e) {
      return e.starts_with("post") || e.starts_with("reg ") || e.starts_with("run") ||
             e.starts_with("ini");
    }));
    api.processAccounts.clear();  // the same account: closed
    EXPECT_EQ(record::Run(api, "r close"), record::kWasRunning);
  }
}

}  // namespace
}  // namespace ludora
