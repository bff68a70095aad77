// Every handler of the shell, run with each Windows operation it calls
// failing in turn: every call of it, then only its last. Whatever fails,
// the handler returns, its last statement still runs, nothing it took is
// left behind, and the open command of executables ends as the default.
#include <cstdio>

#include "fake/fake_views.h"
#include "fake/wayview_view.h"
#include "ludora-record/record_tool.h"
#include "sparkrun/launch_request.h"
#include "ludora-watch/watchdog.h"
#include "traydock/balloons.h"
#include "traydock/icon_table.h"
#include "traydock/tray_start.h"

namespace ludora {
namespace {

using namespace testing;

// A machine with something in every folder the shell reads.
void Machine(FakeWindows& api) {
  for (const std::string& folder : std::vector<std::string>{
           kApp + "\\games", kApp + "\\games\\Arcade", "C:\\ProgramData\\Start Menu\\Programs",
           "C:\\Users\\Player\\Desktop", "C:\\Users\\Player\\Startup"}) {
    api.AddFolder(folder);
    api.AddFile(folder + "\\Game.lnk");
  }
  api.AddFile(kApp + "\\ludora.ini", "\"Chess\",\"C:\\Games\\Chess.lnk\"\r\n");
  api.memory.dwTotalPhys = 12 << 20;  // the defragmenter's buffer: small, so the runs are quick
  // Ludora as the session's shell, with startup programs.
  Registered(api, "HKCU", "ludora.exe");
  api.SetValue("HKLM\\" + kCurrentVersion + "RunOnce", "setup", REG_SZ, SzBytes("game.exe"));
  api.SetValue("HKCU\\" + kCurrentVersion + "Run", "chat", REG_EXPAND_SZ, SzBytes("game.exe"));
  api.specialFolders[7] = "C:\\Users\\Player\\Startup";
}

// The user picks the first command of every menu shown.
UINT FirstCommand(const FakeWindows& api, HMENU menu) {
  for (const auto& item : api.Menu(menu))
    if (!(item.flags & (MF_POPUP | MF_SEPARATOR | MF_GRAYED))) return static_cast<UINT>(item.id);
  return 0;
}

// traydock: a program's icon and its balloon, added and clicked; a second start.
void TrayDock(FakeWindows& api) {
  api.windows = {{0x1234, 50}};
  api.icons = {0x4444};
  traydock::IconTable table(api);
  traydock::Balloons balloons(api);
  traydock::Request request;
  request.owner = 0x1234, request.flags = 0x13, request.icon = 0x4444, request.callbackMessage = 1;
  request.balloonText.ansi = "Done";
  table.Apply(request);
  table.Notify(0, WM_LBUTTONUP);
  balloons.Follow(request, table), balloons.Tick(), balloons.Click();
  ScopedHandle instance(api);
  traydock::DecideStart(api, instance, true);
}

// wayview: an address typed, the page added to the favourites and opened from
// their menu, made the home page.
void Wayview(FakeWindows& api) {
  api.specialFolders[6] = "C:\\Favorites";
  api.specialFolders[26] = "C:\\AppData";
  api.AddFolder("C:\\Favorites");
  wayview::Program program(api);
  wayview::FakeFrameView view;
  wayview::Frame frame(program, view);
  frame.Start("");
  frame.AddressEntered("example.com");
  frame.Run(wayview::Command::AddFavorite);
  ScopedMenu menu(api, api.CreatePopupMenu());
  frame.FavoritesOpen(menu.get());
  frame.FavoritePicked(wayview::FavoritesMenu::kFirstId);
  frame.Run(wayview::Command::SetHome);
  api.log.push_back("wayview ended");
}

// A run of the defragmenter to its end, closed; then the item is picked
// again, its window failing to come first in both ways when `failing`. A
// window the close left open would be shown a second time.
void DefragmentTwice(FakeShell& s, bool failing) {
  s.Pick(QuickItem::mnudefrag);
  for (int tick = 0; tick <= 100; ++tick) s.program.form2()->Timer1_Timer();
  s.program.form2()->Label2_Click();
  using enum FakeWindowSystem::Form2Failure;
  for (const auto failure : {Throws, NoWindow, None}) {
    if (!failing && failure != None) continue;
    s.windows.form2Fails = failure;
    s.Pick(QuickItem::mnudefrag);
  }
  s.api.log.push_back("shown " + std::to_string(s.windows.form2Views.back()->shown));
}

struct Handler {
  std::string name;
  std::function<void(FakeShell&)> run;
  bool startUp = false;  // runs on a shell that has not started yet
};

std::vector<Handler> Handlers() {
  std::vector<Handler> handlers = {
      {"start-up", [](FakeShell& s) { s.form3.Load(), s.Paint(); }, true},
      {"Form1.Timer1", [](FakeShell& s) { s.program.form1().Timer1_Timer(); }},
      {"Form1.Unload", [](FakeShell& s) { s.program.form1().Unload(); }},
      {"Form1.Terminate", [](FakeShell& s) { s.program.form1().Terminate(); }},
      {"Form3.Unload", [](FakeShell& s) { s.form3.Unload(); }},
      {"Form3.Terminate", [](FakeShell& s) { s.form3.Terminate(); }},
      {"Form2 closed, then picked again", [](FakeShell& s) { DefragmentTwice(s, false); }},
      {"Form2 closed, creation fails, then picked again",
       [](FakeShell& s) { DefragmentTwice(s, true); }},
      // Whatever fails, it ends (three restarts, then Explorer) and takes
      // nothing along; where Explorer cannot take the desktop it goes on
      // until the session ends, here after an hour.
      {"ludora-watch",
       [](FakeShell& s) {
         struct LoggedOff {};
         const DWORD start = s.api.tickCount;
         s.api.whenSlept = [&] {
           if (s.api.tickCount - start > 3600000) throw LoggedOff{};
         };
         try {
           watch::Run(s.api, "w 77");
         } catch (const LoggedOff&) {
         }
         s.api.log.push_back("watch ended");
       }},
      {"sparkrun", [](FakeShell& s) { sparkrun::Run(s.api, "sparkrun \"C:\\Games\\g.exe\""); }},
      {"traydock", [](FakeShell& s) { TrayDock(s.api); }},
      {"wayview", [](FakeShell& s) { Wayview(s.api); }},
      {"ludora-record",
       [](FakeShell& s) {
         s.api.windowsByClass = {{"CorvaneLudoraBar", 0x3003}};
         record::Run(s.api, "r install \"" + kApp + "\" \"C:\\1.txt\"");
         record::Run(s.api, "r uninstall \"" + kApp + "\" \"C:\\2.txt\"");
       }},
  };
  handlers.push_back({"Form3.TaskListKey", [](FakeShell& s) { s.form3.TaskListKey(); }});
  for (const char* label : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"})
    handlers.push_back({label, [label](FakeShell& s) { s.Click(label); }});
  const QuickMenu menu;
  for (const MenuItem& item : menu.Items()) {
    const int index = item.item == QuickItem::menu ? 1 : 0;
    handlers.push_back({std::string(NameOf(item.item)),
                        [item = item.item, index](FakeShell& s) { s.Pick(item, index); }});
  }
  return handlers;
}

// A shell on the machine, started unless the handler is the start-up, in
// High mode so that a launch from a folder menu rewrites the open command.
std::unique_ptr<FakeShell> Shell(const Handler& handler) {
  auto shell = std::make_unique<FakeShell>(Machine);
  shell->api.onTrackPopupMenu = [api = &shell->api](HMENU m) { return FirstCommand(*api, m); };
  shell->api.onProcessMessages = [] {};  // a message waits at every pass of a folder scan
  if (!handler.startUp) {
    shell->form3.Load();
    shell->Pick(QuickItem::mnuhigh);
  }
  return shell;
}

bool PreventedBy(const std::string& entry, Op op) {
  if (entry.starts_with("reg ")) return op == Op::RegCreateKeyA || op == Op::RegSetValueExA;
  if (entry.starts_with("ini ")) return op == Op::WritePrivateProfileStringA;
  if (entry == "shutdown-dialog") return op == Op::LoadLibraryA || op == Op::GetProcAddress;
  if (entry == "resume-thread") return op == Op::CreateProcessA;  // the launcher says so instead
  if (entry.starts_with("run explorer.exe ")) return op == Op::FindWindowA;  // no Ludora found
  // Windows' own programs only from where Windows keeps them: never searched for.
  if (entry.starts_with("run control ") || entry.starts_with("run CMD "))
    return op == Op::GetSystemDirectoryA;
  // The last startup program, from the user's Startup folder: not when the
  // shell cannot tell it is the session's, nor the folder be listed; nor
  // last when the batches cannot wait for one another.
  if (entry.ends_with("Startup\\Game.lnk")) {
    return op == Op::RegOpenKeyExA || op == Op::RegQueryValueExA ||
           op == Op::SHGetSpecialFolderLocation || op == Op::SHGetPathFromIDListA ||
           op == Op::FindFirstFileA || op == Op::FindNextFileA || op == Op::WaitForSingleObject;
  }
  if (entry.starts_with("file-open ")) return op == Op::WriteFile;  // then deleted, cut short
  return false;
}

// The statement a log entry comes from: its first two words (the data
// after them may follow from what failed, a clock text without its date).
std::string Statement(const std::string& entry) {
  return entry.substr(0, entry.find(' ', entry.find(' ') + 1));
}

// A failing operation that gives things back leaves those behind, nothing
// else; a batch's thread that cannot be waited for is let go at the end.
bool GivesBack(Op op, Kind kind) {
  using enum Op;
  using enum Kind;
  static const std::set<std::pair<Op, Kind>> pairs = {
      {RegCloseKey, Key},  {CloseHandle, Process}, {CloseHandle, Thread},
      {CloseHandle, File}, {FindClose, Find},      {CoTaskMemFree, Pidl},
      {DestroyMenu, Menu}, {DestroyIcon, Icon},    {WaitForSingleObject, Thread}};
  return pairs.contains({op, kind});
}

TEST(FaultInjection, EveryHandlerOutlivesEveryFailingOperation) {
  int pairs = 0, runs = 0;
  const std::vector<Handler> handlers = Handlers();
  for (const Handler& handler : handlers) {
    const auto clean = Shell(handler);
    const std::map<Op, int> before = clean->api.calls;
    const std::size_t mark = clean->api.log.size();
    handler.run(*clean);
    const std::vector<std::string> done = clean->LogSince(mark);
    for (const auto& [op, count] : clean->api.calls) {
      const int calls = count - (before.contains(op) ? before.at(op) : 0);
      if (calls == 0) continue;
      ++pairs;
      for (const bool onlyTheLast : {false, true}) {
        ++runs;
        const auto shell = Shell(handler);
        FakeWindows& api = shell->api;
        if (onlyTheLast) api.failingCall = {op, api.calls[op] + calls};
        if (!onlyTheLast) api.failing = {op};
        const std::size_t from = api.log.size();
        const std::string where =
            handler.name + " with " + NameOf(op) + (onlyTheLast ? " failing last" : " failing");
        ASSERT_NO_THROW(handler.run(*shell)) << where;
        const std::vector<std::string> log = shell->LogSince(from);
        if (!done.empty() && !PreventedBy(done.back(), op)) {
          EXPECT_TRUE(!log.empty() && Statement(log.back()) == Statement(done.back())) << where;
        }
        EXPECT_EQ(api.Value("HKCR\\exefile\\shell\\open\\Command", ""), "REG_SZ \"%1\" %*")
            << where;
        for (const Kind kind : {Kind::Key, Kind::Process, Kind::Thread, Kind::File, Kind::Find,
                                Kind::Pidl, Kind::Menu, Kind::Icon}) {
          if (!GivesBack(op, kind)) {
            EXPECT_EQ(api.Live(kind), 0) << where << ", kind " << static_cast<int>(kind);
          }
        }
        if (op != Op::VirtualFree) {
          EXPECT_EQ(api.LiveAllocations(), 0) << where;
        }
      }
    }
  }
  std::printf("fault injection: %zu handlers, %d (handler, operation) pairs, %d runs\n",
              handlers.size(), pairs, runs);
}

}  // namespace
}  // namespace ludora
