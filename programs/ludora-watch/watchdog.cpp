#include "ludora-watch/watchdog.h"

#include <algorithm>
#include <cstdint>

#include "launch/companions.h"
#include "launch/orderly_end.h"
#include "platform/command_line.h"
#include "platform/command_run.h"
#include "platform/paths.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"
#include "tuning/places.h"
#include "tuning/shell_switch.h"

namespace ludora::watch {

namespace {

constexpr DWORD kProcessWaitRights = SYNCHRONIZE;
constexpr DWORD kExplorerTakesTheDesktopWithin = 30000;  // ms
constexpr DWORD kLookAgainAfter = 250;                   // ms
constexpr DWORD kTrayShowsWithin = 10000;                // ms, a traydock just started

// A process handle, or 0.
HANDLE Start(WindowsApi& api, const std::string& application, const std::string& commandLine) {
  HANDLE process = 0;
  if (application.empty()) {
    RunCommandLine(api, commandLine, SW_SHOWNORMAL, &process);
  } else {
    RunProgram(api, application, commandLine, SW_SHOWNORMAL, &process);
  }
  return process;
}

}  // namespace

Next RestartPolicy::AfterEnd(bool orderly, DWORD now) {
  if (orderly) return Next::LetBe;
  if (inLoop_ && now - lastRestart_ < kLoopWindow) return Next::StartExplorer;
  if (inLoop_) *this = RestartPolicy{};  // that one ran a minute: out of the loop
  std::erase_if(restarts_, [&](DWORD at) { return now - at >= kLoopWindow; });
  inLoop_ = restarts_.size() >= kRestartsInALoop;
  if (inLoop_) return Next::StartExplorer;
  restarts_.push_back(now);
  return Next::StartLudora;
}

DWORD RestartPolicy::PauseInALoop(DWORD now) {
  const DWORD pause = pause_;
  pause_ = std::min(pause_ * 2, kLongestPause);
  lastRestart_ = now + pause;
  return pause;
}

bool StartExplorerAsShell(WindowsApi& api) {
  const std::vector<PlaceState> registration = ReadPlaces(api, RegistrationPlaces());
  RegisterExplorerShell(api);
  HANDLE started = 0;
  ScopedHandle trayInstance(api);
  if (!ShellNamesLudora(api)) {
    // The notification area ends first, and no other takes its place while
    // Explorer starts (one the last Ludora was starting would): the
    // watchdog holds the instance a traydock makes at its start.
    if (const HWND tray = TrayDockWindow(api)) CloseProcessOf(api, tray, {tray});
    trayInstance = ScopedHandle(api, api.CreateMutexA(nullptr, 0, companions::kTrayDockMutex));
    if (trayInstance && api.GetLastError() == ERROR_ALREADY_EXISTS &&
        WaitUntil(api, kTrayShowsWithin, [&] { return TrayDockWindow(api) != 0; })) {
      const HWND tray = TrayDockWindow(api);  // that one came first
      CloseProcessOf(api, tray, {tray});
    }
    started =
        Start(api, WindowsProgram(api, WindowsFolder::Windows, "explorer.exe"), "explorer.exe");
  }
  // Explorer has the desktop once its Progman window is there; one that has
  // ended without showing it left none.
  const ScopedHandle explorer(api, started);
  bool desktop = false;
  for (DWORD waited = 0; explorer && waited < kExplorerTakesTheDesktopWithin;
       waited += kLookAgainAfter) {
    if ((desktop = api.FindWindowA("Progman", nullptr) != 0)) break;
    if (api.WaitForSingleObject(explorer.get(), kLookAgainAfter) != WAIT_TIMEOUT) break;
  }
  desktop = desktop || (explorer && api.WaitForSingleObject(explorer.get(), 0) == WAIT_TIMEOUT);
  // The registry first: while the profile mapping Explorer's registration
  // wrote is there, a system.ini entry would land in the registry instead.
  for (const bool ini : {false, true}) {
    for (const PlaceState& state : registration) {
      if (state.place.ini == ini) WritePlace(api, state);
    }
  }
  return desktop;
}

int Run(WindowsApi& api, const std::string& commandLine) {
  const std::string_view id = FirstWord(AfterProgramName(commandLine)).first;
  std::uint64_t processId = 0;
  for (const char digit : id) {
    if (digit < '0' || digit > '9' || (processId = processId * 10 + (digit - '0')) > 0xFFFFFFFF) {
      return 2;
    }
  }
  if (id.empty()) return 2;
  // Held for the session: the orderly end Ludora announces, and on Windows
  // 98 the mark that the startup programs were started. Ludora hands both
  // over as inherited handles, which hold them from this process's first
  // moment; opened by name here as well, for a watchdog started otherwise.
  const ScopedHandle orderlyEnd(api, api.CreateEventA(nullptr, 1, 0, companions::kOrderlyEndEvent));
  const ScopedHandle startupRun(api, api.OpenEventA(SYNCHRONIZE, 0, companions::kStartupRunEvent));
  // A Ludora that ended before its watchdog came (killed in its first
  // moments, or a start without a bar, which ends at once) has ended like
  // any other: only a process that is there and not ours to wait for is
  // nothing to watch.
  ScopedHandle shell(api, api.OpenProcess(kProcessWaitRights, 0, static_cast<DWORD>(processId)));
  if (!shell && api.GetLastError() == ERROR_ACCESS_DENIED) return 1;
  // Taken once both are held: whoever sees it knows they are.
  const ScopedHandle one(api, api.CreateMutexA(nullptr, 0, companions::kWatchdogMutex));
  if (!one || api.GetLastError() == ERROR_ALREADY_EXISTS) return 0;
  if (!shell) api.OutputDebugStringA("ludora-watch: Ludora had ended before it was watched\n");
  const std::string ludora = "\"" + ProgramFolder(api) + "\\ludora.exe\"";
  RestartPolicy policy;
  for (;;) {
    // A Ludora that could not be started ended at once.
    if (shell) api.WaitForSingleObject(shell.get(), INFINITE);
    const bool orderly =
        orderlyEnd && api.WaitForSingleObject(orderlyEnd.get(), 0) == WAIT_OBJECT_0;
    const Next next = policy.AfterEnd(orderly, api.GetTickCount());
    api.OutputDebugStringA(next == Next::LetBe ? "ludora-watch: Ludora ended in order\n"
                           : next == Next::StartLudora
                               ? "ludora-watch: Ludora ended: started again\n"
                               : "ludora-watch: Ludora ended: a crash loop\n");
    switch (next) {
      case Next::LetBe:
        return 0;
      case Next::StartExplorer: {
        if (StartExplorerAsShell(api)) return 0;
        const DWORD pause = policy.PauseInALoop(api.GetTickCount());
        api.OutputDebugStringA(
            "ludora-watch: Explorer cannot take the desktop (a shell place "
            "still names Ludora, or Explorer did not start): Ludora again in " +
            std::to_string(pause / 1000) + " s\n");
        api.Sleep(pause);
        shell = ScopedHandle(api, Start(api, {}, ludora));
        break;
      }
      case Next::StartLudora:
        shell = ScopedHandle(api, Start(api, {}, ludora));
        break;
    }
  }
}

}  // namespace ludora::watch
