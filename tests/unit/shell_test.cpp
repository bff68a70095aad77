// The bar (its start-up, its hot spots) and the hidden quick-menu window.
#include "fake/fake_views.h"
#include "platform/paths.h"
#include "tuning/startup_set.h"

namespace ludora {
namespace {

using namespace testing;
using enum QuickItem;

TEST(StartUp, RunsItsStepsInOrderAndStopsTheServicesOnceTheBarIsPainted) {
  FakeShell shell;
  ASSERT_EQ(shell.form3.Load(), Form3::LoadResult::Run);
  EXPECT_TRUE(shell.api.Effects("run ").empty());  // the bar is shown first
  shell.Paint();
  shell.Paint();  // painted again: nothing more
  Log steps;      // the first word of each entry, registry and profile writes as rows
  for (const std::string& entry : shell.api.log) {
    std::string step = entry.substr(0, entry.find(' ', entry.starts_with("view ") ? 5 : 0));
    if (step == "reg" || step == "ini") step = "row";
    if (steps.empty() || steps.back() != step) steps.push_back(step);
  }
  EXPECT_EQ(steps,
            (Log{"view move", "mutex", "load", "memory-status", "open-process", "priority-class",
                 "thread-priority", "row", "view tooltip", "debug", "file-open", "run"}));
  // The idle class (64), and the idle thread level (-15) for every handle
  // tried, the current thread's (-2) among them.
  EXPECT_EQ(shell.api.Effects("priority-class "), Log{"priority-class 64"});
  const Log threads = shell.api.Effects("thread-priority ");
  EXPECT_EQ(std::ranges::count_if(threads, [](auto& e) { return e.ends_with(" -15"); }), 1001);
  EXPECT_EQ(std::ranges::count(threads, "thread-priority -2 -15"), 1);
  EXPECT_EQ(shell.view.clockTooltip, "Friday, December 04, 2026  5:30:25 PM");
  Log stops;  // hidden, by Windows' own sc.exe, never one found beside Ludora
  for (const std::string_view service : StartupServiceStops())
    stops.push_back("run sc stop " + std::string(service) +
                    " show=0 app=C:\\WINDOWS\\system32\\sc.exe");
  EXPECT_EQ(shell.api.Effects("run "), stops);
  EXPECT_EQ(shell.api.Live(Kind::Process) + shell.api.Live(Kind::Thread), 0);

  // Without a bar window no paint ever comes: the stops run at once, the
  // open command is made the default, and the program ends as failed.
  FakeShell barless;
  barless.view.handle = 0;
  EXPECT_EQ(barless.form3.Load(), Form3::LoadResult::NoBar);
  EXPECT_EQ(barless.api.Effects("run "), stops);
  EXPECT_EQ(barless.api.Effects("reg HKCR").back(), kDefaultCommand);
}

// Windows takes its time to create each process; the stops are made on a
// thread of their own, so the bar answers a click meanwhile. Without such a
// thread they are made at once, and the bar waits.
TEST(StartUp, TheBarAnswersWhileTheServiceStopsAreStarted) {
  for (const bool thread : {true, false}) {
    Started shell;
    shell.api.slow[Op::CreateProcessA] = 10;
    if (!thread) shell.api.failing = {Op::CreateThread};
    std::size_t startedAtTheClick = 0;
    shell.api.onTrackPopupMenu = [&](HMENU) {
      startedAtTheClick = shell.api.Effects("run ").size();
      return 0u;
    };
    shell.form3.Painted();
    shell.Click("Label6");
    EXPECT_EQ(startedAtTheClick < StartupServiceStops().size(), thread);
    shell.program.starts().WaitUntilMade(INFINITE);
    EXPECT_EQ(shell.api.Effects("run ").size(), StartupServiceStops().size());
  }
}

TEST(StartUp, MemoryFiguresPlatformsAndASecondInstance) {
  for (const auto& [megabytes, prefetch, pageLock] :
       {std::tuple{180u, "0", "5771757"}, {181u, "3", "5803823"}}) {
    FakeShell shell;
    shell.api.memory.dwTotalPhys = megabytes * 1048576;
    shell.form3.Load();
    EXPECT_EQ(shell.api.Value(kMemoryManagement + "\\PrefetchParameters", "EnablePrefetcher"),
              "REG_DWORD " + std::string(prefetch));
    EXPECT_EQ(shell.api.Value(kMemoryManagement, "IoPageLockLimit"),
              "REG_DWORD " + std::string(pageLock));
  }
  // The performance items go only off the NT family; a failed query keeps them.
  for (const auto& platform : {std::optional<DWORD>(2), {1}, {}}) {
    FakeShell shell;
    shell.api.platformId = platform;
    shell.form3.Load();
    for (const MenuItem& item : shell.program.form1().menu().Items()) {
      const bool performance = item.item >= mnuper2 && item.item <= mnunormal;
      EXPECT_EQ(item.visible, item.item != menu && !(performance && platform == 1u))
          << NameOf(item.item);
    }
  }
  FakeShell second;
  second.api.otherInstanceRunning = true;
  EXPECT_EQ(second.form3.Load(), Form3::LoadResult::EndProgram);
  EXPECT_EQ(second.api.log,
            (Log{"view move 0,0", "mutex Corvane.Ludora.ZR.Instance", kDefaultCommand}));
}

// A popup goes to the front with its owner, is tracked, and the owner is
// told to leave menu mode; then the bar is put back in its corner.
const Log kPopup = {"foreground", "track 120,11 flags=0x180", "post WM_NULL", "view move 0,0"};

TEST(HotSpots, QuickMenuShowsTheTimeOfTheClickAndRunsThePick) {
  Started shell;
  shell.api.SetClock({"Monday, December 07, 2026"}, {"9:15:00 AM"});
  std::vector<FakeMenuItem> shown;
  shell.api.onTrackPopupMenu = [&](HMENU menu) {
    shown = shell.api.Menu(menu);
    return shell.api.FindCommand(menu, {"Task Manager"});
  };
  Log expected = kPopup;
  expected.insert(expected.end() - 1, "open taskmgr");
  EXPECT_EQ(shell.Click("Label6"), expected);
  ASSERT_EQ(shown.size(), 45u);  // all but the hidden placeholder of the shortcuts
  std::string captions;
  for (const FakeMenuItem& item : shown) captions += (item.text.empty() ? "-" : item.text) + "|";
  EXPECT_EQ(captions,
            "Corvane Ludora 2008|-|Launch Specific Game...|Add Game Shortcut to Games List|Manage "
            "Games List|Defragment Memory|Defragment Hard Drives|-|Shortcuts|-|Play .kkrieger "
            "first person shooter!|Play Alien Hominid from Newground!|Play Games in Games Room!|"
            "Find and Join Multiplayer Games!|Browse the Web with Nimbra|Nimbra Instant "
            "Messaging|Network Neighborhood|My Computer|Internet Explorer|Recycling Bin|Control "
            "Panel|System Properties|Display Properties|Task Manager|-|Personalized Shortcuts|-|-|"
            "Options|-|Show Ludora System Tray|Set Ludora as default shell|Set Explorer as default "
            "shell|-|Performance Mode|-|Real-time Game Performance Mode|High Game Performance "
            "Mode|Normal Game Performance|-|Monday, December 07, 2026  9:15:00 AM|-|Try "
            "Turbolia!|About Ludora...|Shut Down...|");
  EXPECT_EQ(shown[1].flags, MF_BYPOSITION | MF_SEPARATOR);
  EXPECT_EQ(shown[40].text, "Monday, December 07, 2026  9:15:00 AM");
  EXPECT_EQ(shown[40].flags, MF_BYPOSITION | MF_GRAYED);  // the clock, greyed like the title
  EXPECT_EQ(std::count_if(shown.begin(), shown.end(), [](auto& i) { return i.flags & MF_CHECKED; }),
            1);
}

TEST(QuickMenuWindow, ClockUnloadAndTerminate) {
  Started shell;
  shell.api.SetClock({"Saturday, December 05, 2026"}, {"11:59:59 PM", "12:00:00 AM"});
  Form1& form1 = shell.program.form1();
  form1.Timer1_Timer();  // the clock is read once for each text
  EXPECT_EQ(form1.menu()[datetime].caption, "Saturday, December 05, 2026  11:59:59 PM");
  EXPECT_EQ(shell.view.clockTooltip, "Saturday, December 05, 2026  12:00:00 AM");
  shell.program.SetForm3(nullptr);  // once the bar is closed, the clock leaves it alone
  shell.api.SetClock({"Sunday, December 06, 2026"}, {"1:00:00 AM"});
  form1.Timer1_Timer();
  EXPECT_EQ(form1.menu()[datetime].caption, "Sunday, December 06, 2026  1:00:00 AM");
  EXPECT_EQ(shell.view.clockTooltip, "Saturday, December 05, 2026  12:00:00 AM");

  const std::size_t mark = shell.api.log.size();
  form1.Unload(), form1.Terminate(), shell.form3.Unload(), shell.form3.Terminate();
  EXPECT_EQ(shell.LogSince(mark), Log(4, kDefaultCommand));
}

// The application folder's short form for the commands; started by its 8.3
// path (as Windows 98 starts a shell), the program works from the long form,
// or, where Windows cannot give it, from the path as given.
TEST(QuickMenuWindow, TheApplicationFolderInItsShortAndLongForms) {
  const std::string deep = "C:\\" + std::string(300, 'D');  // longer than the first buffer
  const struct {
    std::string module, mapped, expected;  // mapped: what Windows answers, "=" the folder unchanged
  } cases[] = {{kApp + "\\ludora.exe", "C:\\PROGRA~1\\CORVAN~1", "C:\\PROGRA~1\\CORVAN~1"},
               {"C:\\GAMES\\ludora.exe", "=", "C:\\GAMES"},
               {kApp + "\\ludora.exe", "", ""},
               {deep + "\\ludora.exe", "=", deep}};
  for (const auto& c : cases) {
    FakeShell shell([&](auto& api) {
      api.modulePath = c.module;
      if (c.mapped != "=") api.shortPaths[FolderOf(c.module)] = c.mapped;
    });
    EXPECT_EQ(shell.program.form1().getShortFileName("not used"), c.expected);
  }
  const std::string shortExe = "C:\\PROGRA~1\\CORVAN~1\\LUDORA.EXE";
  for (const bool known : {true, false}) {
    FakeShell shell([&](auto& api) {
      api.modulePath = shortExe;
      api.longPaths[shortExe] = kApp + "\\ludora.exe";
      if (!known) api.failing = {Op::GetLongPathNameA};
    });
    EXPECT_EQ(shell.program.appFolder(), known ? kApp : "C:\\PROGRA~1\\CORVAN~1");
  }
}

}  // namespace
}  // namespace ludora
