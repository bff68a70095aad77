// Ludora as the shell of a log-on: the rule that says so, the log-on's
// ready signal, and the startup programs, once a log-on, in Windows' order.
#include "fake/fake_views.h"
#include "ludora/startup_programs.h"
#include "ludora/windows_key.h"
#include "tuning/startup_set.h"
#include "ludora-watch/watchdog.h"

namespace ludora {
namespace {

using namespace testing;

const std::string kLudora = "\"" + kApp + "\\ludora.exe\"";

TEST(SessionShell, IsTheShellWindowsStartsWithNoOtherShellRunning) {
  struct Machine {
    std::optional<std::string> user = {}, machine = {};  // Winlogon's Shell of HKCU and HKLM
    bool win98 = false;
    std::optional<std::string> boot = {};  // system.ini's [boot] shell
    const char* window = nullptr;          // the class of a window that runs, and its title
    const char* title = "";
  };
  const struct {
    const char* what;
    Machine machine;
    bool expected;
  } cases[] = {
      {"the user's shell", {.user = kLudora}, true},
      {"the machine's, the user having none",
       {.user = "", .machine = "C:\\LUDORA~1\\LUDORA.EXE"},
       true},
      {"the user's names Explorer", {.user = "explorer.exe", .machine = kLudora}, false},
      {"Explorer's desktop runs", {.user = kLudora, .window = "Progman"}, false},
      {"another taskbar runs", {.user = kLudora, .window = "Shell_TrayWnd"}, false},
      {"our own tray runs",
       {.user = kLudora, .window = "Shell_TrayWnd", .title = "Corvane Ludora System Tray"},
       true},
      {"98: [boot] shell", {.win98 = true, .boot = "C:\\PROGRA~1\\CORVAN~1\\LUDORA.EXE"}, true},
      {"98: the registry does not count", {.user = kLudora, .win98 = true}, false},
  };
  for (const auto& [what, machine, expected] : cases) {
    const auto& m = machine;  // clang 14 lambdas cannot capture a structured binding
    FakeShell shell([&](FakeWindows& api) {
      if (m.user) Registered(api, "HKCU", *m.user);
      if (m.machine) Registered(api, "HKLM", *m.machine);
      if (m.win98) api.platformId = 1;
      if (m.boot) api.Profile("system.ini")["boot|shell"] = *m.boot;
      if (m.window) api.windowsByClass[m.window] = 0x5002, api.windowTitles[0x5002] = m.title;
    });
    shell.form3.Load();
    EXPECT_EQ(shell.program.session().active(), expected) << what;
    EXPECT_EQ(shell.api.Effects("view task-list").size(), expected ? 1u : 0u) << what;
    // Under another shell Ctrl+Esc is that shell's, for its Start menu.
    EXPECT_EQ(shell.form3.TaskListKey(), expected) << what;
  }
}

TEST(SessionShell, TheWindowsKeyOpensTheMenuWhenLetGoAlone) {
  using enum WindowsKeyTap::Verdict;
  WindowsKeyTap key;
  key.Pressed();
  EXPECT_EQ(key.Look(true, false), Wait);
  EXPECT_EQ(key.Look(false, false), Open);
  EXPECT_EQ(key.Look(false, false), Drop);  // once
  key.Pressed();                            // Windows+E: another program's combination
  EXPECT_EQ(key.Look(true, true), Wait);
  EXPECT_EQ(key.Look(true, false), Wait);
  EXPECT_EQ(key.Look(false, false), Drop);
}

// A machine with something in every place Windows starts programs from.
void StartupEntries(FakeWindows& api) {
  Registered(api, "HKCU", kLudora);
  api.environment["SYSTEMROOT"] = "C:\\WINDOWS";
  const auto run = [&](const std::string& root, const std::string& key, const std::string& name,
                       const std::string& command, DWORD type = REG_SZ) {
    api.SetValue(root + "\\" + kCurrentVersion + key, name, type, SzBytes(command));
  };
  run("HKLM", "RunOnce", "driver", "C:\\setup\\finish.exe /quiet");
  run("HKLM", "RunOnce", "!retry", "C:\\setup\\retry.exe");
  run("HKLM", "Run", "mouse", "%SystemRoot%\\mouse.exe -tray", REG_EXPAND_SZ);
  run("HKLM", "Policies\\Explorer\\Run", "1", "C:\\policy\\machine.exe");
  run("HKCU", "Policies\\Explorer\\Run", "1", "C:\\policy\\user.exe");
  run("HKCU", "Run", "chat", "\"C:\\Program Files\\Chat\\chat.exe\" /min");
  run("HKCU", "Run", "readme", "C:\\docs\\readme.txt");  // no program: opened by the shell
  run("HKCU", "RunOnce", "dx", "C:\\dx\\finish.exe");
  api.specialFolders[24] = "C:\\All Users\\Startup";
  api.specialFolders[7] = "C:\\Me\\Startup";
  api.AddFolder("C:\\All Users\\Startup");
  api.AddFile("C:\\All Users\\Startup\\Antivirus.lnk");
  api.AddFolder("C:\\Me\\Startup");
  api.AddFile("C:\\Me\\Startup\\desktop.ini", "", 0x20 | 0x2 | 0x4);
  api.AddFile("C:\\Me\\Startup\\Voice.lnk");
}

// What the start made, after the bar's first paint, all handed-over work done.
Log StartedBy(FakeShell& shell) {
  shell.form3.Load();
  shell.Paint();
  Log started;
  for (const std::string& entry : shell.api.log) {
    if (entry.starts_with("run ") || entry.starts_with("open ") || entry == "wait" ||
        entry.starts_with("reg-delete ") || entry.starts_with("event-set ")) {
      if (entry.find("sc stop") == std::string::npos) started.push_back(entry);
    }
  }
  return started;
}

TEST(StartupPrograms, StartOnceALogOnInWindowsOrderAfterTheServiceStops) {
  FakeShell shell(StartupEntries);
  shell.api.events = {{"msgina: ShellReadyEvent", false}, {"Corvane.Ludora.OrderlyEnd", false}};
  // Not a program: CreateProcess refuses the text file, the shell opens it.
  shell.api.failingCall = {Op::CreateProcessA, 2 + 31 + 7};
  const std::string app = "\"" + kApp + "\\";
  EXPECT_EQ(StartedBy(shell),
            (Log{"event-set msgina: ShellReadyEvent",
                 "run " + app + "ludora-watch.exe\" 4242 show=0 inherit",
                 "run " + app + "traydock.exe\" show=0",
                 // (the fake lists a key's values by name)
                 "run C:\\setup\\retry.exe show=1", "wait",
                 "reg-delete HKLM\\" + kCurrentVersion + "RunOnce [!retry]",
                 "reg-delete HKLM\\" + kCurrentVersion + "RunOnce [driver]",
                 "run C:\\setup\\finish.exe /quiet show=1", "wait",
                 "run C:\\WINDOWS\\mouse.exe -tray show=1", "run C:\\policy\\machine.exe show=1",
                 "run C:\\policy\\user.exe show=1",
                 "run \"C:\\Program Files\\Chat\\chat.exe\" /min show=1",
                 "run C:\\docs\\readme.txt show=1", "open C:\\docs\\readme.txt",
                 "open C:\\All Users\\Startup\\Antivirus.lnk", "open C:\\Me\\Startup\\Voice.lnk",
                 "reg-delete HKCU\\" + kCurrentVersion + "RunOnce [dx]",
                 "run C:\\dx\\finish.exe show=1"}));
  const auto at = [&](const std::string& entry) { return std::ranges::find(shell.api.log, entry); };
  const std::string sc = " show=0 app=C:\\WINDOWS\\system32\\sc.exe";
  // The notification area and the watchdog before the service stops, the
  // startup programs after them.
  EXPECT_LT(at("run " + app + "ludora-watch.exe\" 4242 show=0 inherit"),
            at("run sc stop themes" + sc));
  EXPECT_LT(at("run sc stop jtagserver" + sc), at("run C:\\setup\\finish.exe /quiet show=1"));
  EXPECT_FALSE(shell.api.Value("HKCU\\" + kCurrentVersion + "RunOnce", "dx"));

  // Started again in the same log-on (the watchdog's restart): none again.
  FakeShell again([&](FakeWindows& api) {
    StartupEntries(api);
    api.keys = shell.api.keys;  // the volatile mark included
  });
  EXPECT_EQ(StartedBy(again).size(), 2u);  // the tray and the watchdog only
}

TEST(StartupPrograms, ShiftSafeModeWindows98AndAnotherShell) {
  const auto count = [](const std::function<void(FakeWindows&)>& also) {
    FakeShell shell([&](FakeWindows& api) { StartupEntries(api), also(api); });
    return StartedBy(shell);
  };
  EXPECT_EQ(count([](auto& api) { api.keysDown = {0x10}; }).size(), 2u);  // Shift: none
  // Safe Mode: only RunOnce values named with a leading "*".
  const Log safe = count([](auto& api) {
    api.systemMetrics[67] = 1;
    api.SetValue("HKCU\\" + kCurrentVersion + "RunOnce", "*safe", REG_SZ, SzBytes("C:\\safe.exe"));
  });
  EXPECT_EQ(
      Log(safe.begin() + 2, safe.end()),
      (Log{"reg-delete HKCU\\" + kCurrentVersion + "RunOnce [*safe]", "run C:\\safe.exe show=1"}));
  // Windows 98 keeps no key volatile: an event marks the log-on instead,
  // whatever key an earlier log-on left.
  EXPECT_EQ(count([](auto& api) {
              api.volatileKeysSupported = false;
              api.keys.insert(Lower("HKCU\\Software\\Corvane\\Ludora\\Session"));
              api.platformId = 1;
              api.Profile("system.ini")["boot|shell"] = "C:\\LUDORA~1\\LUDORA.EXE";
            }),
            count([](auto&) {}));
  EXPECT_EQ(count([](auto& api) {  // so where the key cannot be made
              api.refusedKeys = {"HKCU\\Software\\Corvane\\Ludora\\Session"};
              api.events["Corvane.Ludora.StartupRun"] = false;
            })
                .size(),
            2u);
  // The mark is there before the watchdog starts, which holds it too (the
  // starts made here and now, as where no thread can be made for them).
  bool markedFirst = false;
  count([&](FakeWindows& api) {
    api.refusedKeys = {"HKCU\\Software\\Corvane\\Ludora\\Session"};
    api.failing.insert(Op::CreateThread);
    api.whenStarted = [&](const std::string& commandLine) {
      if (commandLine.find("ludora-watch") != std::string::npos)
        markedFirst = api.events.contains("Corvane.Ludora.StartupRun");
    };
  });
  EXPECT_TRUE(markedFirst);
  // The policies that turn run lists off, in the machine's or the user's policies.
  const auto policy = [&](const char* root, const char* name) {
    return count([&](FakeWindows& api) {
      api.SetValue(std::string(root) + "\\" + kCurrentVersion + "Policies\\Explorer", name,
                   REG_DWORD, {1, 0, 0, 0});
    });
  };
  const Log all = count([](auto&) {});
  const auto without = [&](std::initializer_list<const char*> parts) {
    Log log = all;
    for (const char* part : parts)
      std::erase_if(log, [&](auto& e) { return e.find(part) != std::string::npos; });
    return log;
  };
  EXPECT_EQ(policy("HKLM", "DisableLocalMachineRun"), without({"mouse.exe"}));
  EXPECT_EQ(policy("HKCU", "DisableLocalMachineRunOnce"),
            without({"setup\\", "[!retry]", "[driver]", "wait"}));
  EXPECT_EQ(policy("HKLM", "DisableCurrentUserRun"), without({"chat.exe", "readme.txt"}));
  EXPECT_EQ(policy("HKCU", "DisableCurrentUserRunOnce"), without({"dx"}));
  EXPECT_TRUE(count([](auto& api) { api.windowsByClass["Progman"] = 0x5001; }).empty());
  // No bar: the watchdog only, which soon starts a shell that shows one; the
  // log-on screen waits for that one.
  FakeShell barless(StartupEntries);
  barless.view.handle = 0;
  barless.api.events = {{"msgina: ShellReadyEvent", false}};
  EXPECT_EQ(StartedBy(barless), Log{"run \"" + kApp + "\\ludora-watch.exe\" 4242 show=0 inherit"});
}

TEST(Watchdog, RestartsAnAbnormalEndLetsAnOrderlyOneBeAndStopsACrashLoop) {
  using watch::Next;
  watch::RestartPolicy policy;
  EXPECT_EQ(policy.AfterEnd(false, 1000), Next::StartLudora);
  EXPECT_EQ(policy.AfterEnd(false, 2000), Next::StartLudora);
  EXPECT_EQ(policy.AfterEnd(false, 61500), Next::StartLudora);  // the first is past a minute
  EXPECT_EQ(policy.AfterEnd(false, 61600), Next::StartLudora);
  EXPECT_EQ(policy.AfterEnd(false, 61700), Next::StartExplorer);  // three within a minute
  EXPECT_EQ(policy.AfterEnd(true, 61800), Next::LetBe);
  EXPECT_EQ(policy.PauseInALoop(61700), 1000u);  // Explorer could not: Ludora again at 62700
  EXPECT_EQ(policy.AfterEnd(false, 100000), Next::StartExplorer);  // still looping
  EXPECT_EQ(policy.PauseInALoop(100000), 2000u);
  EXPECT_EQ(policy.AfterEnd(false, 162000), Next::StartLudora);  // it ran a minute

  // As a program: an orderly end lets it be; abnormal ones bring Ludora back
  // until they loop, and then Explorer comes, from the Windows folder, named
  // the shell only while it starts, after the notification area has ended.
  const std::string ludora = "run " + kLudora + " show=1";
  const std::string explorer = "run explorer.exe show=1 app=C:\\WINDOWS\\explorer.exe";
  const auto watch = [&](bool orderly, const std::function<void(FakeWindows&)>& also,
                         bool explorerShows = true) {
    auto api = std::make_unique<FakeWindows>();
    Registered(*api, "HKCU", kLudora);
    Registered(*api, "HKLM", kLudora);
    api->windowsByClass["Shell_TrayWnd"] = 0x5003;
    if (orderly) api->events["Corvane.Ludora.OrderlyEnd"] = true;
    api->whenStarted = [&a = *api, explorerShows](const std::string& commandLine) {
      if (a.Effects("run ").size() == 20) a.events["Corvane.Ludora.OrderlyEnd"] = true;  // bounded
      if (commandLine == "explorer.exe") {
        if (explorerShows) a.windowsByClass["Progman"] = 0x5005;  // its desktop
        a.log.push_back("explorer: HKCU " + *a.Value("HKCU\\" + kWinlogon, "Shell") + ", HKLM " +
                        *a.Value("HKLM\\" + kWinlogon, "Shell"));
      }
    };
    also(*api);
    EXPECT_EQ(watch::Run(*api, "\"C:\\Ludora\\ludora-watch.exe\" 77"), 0);
    EXPECT_EQ(api->Value("HKCU\\" + kWinlogon, "Shell"), "REG_SZ " + kLudora);
    EXPECT_EQ(api->Value("HKLM\\" + kWinlogon, "Shell"), "REG_SZ " + kLudora);
    return api;
  };
  EXPECT_TRUE(watch(true, [](auto&) {})->Effects("run ").empty());
  const auto loop = watch(false, [](auto&) {});
  EXPECT_EQ(loop->Effects("run "), (Log{ludora, ludora, ludora, explorer}));
  const Log& log = loop->log;
  const auto closed = std::ranges::find(log, "post 16"), started = std::ranges::find(log, explorer);
  ASSERT_LT(closed, started);  // the tray asked to close, and waited for, first
  EXPECT_NE(std::find(closed, started, "wait"), started);
  // and no traydock the last Ludora started takes its place
  EXPECT_NE(std::find(closed, started, "mutex CorvaneLudoraTrayDock"), started);
  EXPECT_EQ(*(started + 1), "explorer: HKCU REG_SZ explorer.exe, HKLM REG_SZ explorer.exe");

  // An Explorer that ends at once, showing no desktop, left none: Ludora again.
  const auto gone = watch(
      false, [](auto&) {}, false);
  const Log runs = gone->Effects("run ");
  ASSERT_GE(runs.size(), 5u);
  EXPECT_EQ(Log(runs.begin() + 3, runs.begin() + 5), (Log{explorer, ludora}));

  // A limited user cannot name Explorer the machine's shell: Explorer would
  // open a folder window, so Ludora comes back, after a pause that grows.
  std::vector<DWORD> startedAt;
  const auto limited = watch(false, [&](FakeWindows& api) {
    api.refusedKeys = {"HKLM\\" + kWinlogon};
    api.whenStarted = [&](const std::string&) {
      startedAt.push_back(api.tickCount);
      if (startedAt.size() == 12) api.events["Corvane.Ludora.OrderlyEnd"] = true;  // logged off
    };
  });
  EXPECT_TRUE(limited->Effects("run explorer").empty());
  std::vector<DWORD> pauses;
  for (std::size_t i = 3; i < startedAt.size(); ++i)
    pauses.push_back(startedAt[i] - startedAt[i - 1]);
  EXPECT_EQ(pauses,
            (std::vector<DWORD>{1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000, 60000}));
  EXPECT_EQ(limited->Effects("debug ludora-watch: Explorer cannot take the desktop").size(), 9u);
  FakeWindows second;
  second.otherInstanceRunning = true;  // another watchdog watches already
  EXPECT_EQ(watch::Run(second, "w 77"), 0);
  EXPECT_EQ(watch::Run(second, "w 12x"), 2);

  // A Ludora killed before its watchdog came (Windows: no such process) is
  // started again; one that is not ours to wait for is left. The mutex that
  // tells Ludora it is watched comes only once the process and the event
  // are held.
  FakeWindows early;
  early.whenStarted = [&](const std::string&) { early.events["Corvane.Ludora.OrderlyEnd"] = true; };
  EXPECT_EQ(watch::Run(early, "w 78"), 0);
  EXPECT_EQ(early.Effects("run "), Log{ludora});
  const auto at = [&](const std::string& entry) { return std::ranges::find(early.log, entry); };
  EXPECT_LT(at("open-process pid=78 access=1048576 inherit=0"),
            at("mutex Corvane.Ludora.Watchdog"));
  FakeWindows denied;
  denied.failing = {Op::OpenProcess};
  EXPECT_EQ(watch::Run(denied, "w 77"), 1);
  EXPECT_TRUE(denied.Effects("run ").empty());
}

// The watchdog holds from its first moment what a kill of Ludora before it
// came would otherwise take along: the log-on's mark of Windows 98 (the
// startup programs would start again) and the orderly-end event (an end
// in order told meanwhile would be lost). Both are handed over inherited.
TEST(Watchdog, InheritsTheLogOnsMarkAndTheOrderlyEndFromItsFirstMoment) {
  for (const bool win98 : {false, true}) {
    FakeShell shell([&](FakeWindows& api) {
      StartupEntries(api);
      if (!win98) return;
      api.platformId = 1;
      api.Profile("system.ini")["boot|shell"] = "C:\\LUDORA~1\\LUDORA.EXE";
    });
    StartedBy(shell);
    const Log& log = shell.api.log;
    const auto at = [&](const std::string& entry) { return std::ranges::find(log, entry); };
    const std::string app = "run \"" + kApp + "\\";
    const auto watchdog = at(app + "ludora-watch.exe\" 4242 show=0 inherit");
    ASSERT_NE(watchdog, log.end()) << win98;
    EXPECT_LT(at("event Corvane.Ludora.OrderlyEnd inheritable"), watchdog);
    EXPECT_EQ(at("event Corvane.Ludora.StartupRun inheritable") < watchdog, win98);
    EXPECT_NE(at(app + "traydock.exe\" show=0"), log.end());  // it inherits nothing
    shell.program.session().EndedOrderly();
    EXPECT_TRUE(shell.api.events["Corvane.Ludora.OrderlyEnd"]);
  }
}

}  // namespace
}  // namespace ludora
