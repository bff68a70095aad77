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
  if (!ShellNamesLudora(api)) {
    if (const HWND tray = TrayDockWindow(api)) CloseProcessOf(api, tray, {tray});
    started = Start(api, WindowsProgram(api, WindowsFolder::Windows, "explorer.exe"),
                    "explorer.exe");
  }
  const ScopedHandle explorer(api, started);
  for (DWORD waited = 0; explorer && waited < kExplorerTakesTheDesktopWithin;
       waited += kLookAgainAfter) {
    if (api.FindWindowA("Progman", nullptr)) break;
    if (api.WaitForSingleObject(explorer.get(), kLookAgainAfter) != WAIT_TIMEOUT) break;
  }
  // The registry first: while the profile mapping Explorer's registration
  // wrote is there, a system.ini entry would land in the registry instead.
  for (const bool ini : {false, true}) {
    for (const PlaceState& state : registration) {
      if (state.place.ini == ini) WritePlace(api, state);
    }
  }
  return started != 0;
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
  const ScopedHandle one(api, api.CreateMutexA(nullptr, 0, companions::kWatchdogMutex));
  if (!one || api.GetLastError() == ERROR_ALREADY_EXISTS) return 0;
  // Held for the session: the orderly end Ludora announces, and on Windows
  // 98 the mark that the startup programs were started.
  const ScopedHandle orderlyEnd(api, api.CreateEventA(nullptr, 1, 0, companions::kOrderlyEndEvent));
  const ScopedHandle startupRun(api, api.OpenEventA(SYNCHRONIZE, 0, companions::kStartupRunEvent));
  ScopedHandle shell(api, api.OpenProcess(kProcessWaitRights, 0, static_cast<DWORD>(processId)));
  if (!shell) return 1;
  const std::string ludora = "\"" + ProgramFolder(api) + "\\ludora.exe\"";
  RestartPolicy policy;
  for (;;) {
    // A Ludora that could not be started ended at once.
    if (shell) api.WaitForSingleObject(shell.get(), INFINITE);
    const bool orderly =
        orderlyEnd && api.WaitForSingleObject(orderlyEnd.get(), 0) == WAIT_OBJECT_0;
    switch (policy.AfterEnd(orderly, api.GetTickCount())) {
      case Next::LetBe:
        return 0;
      case Next::StartExplorer: {
        if (StartExplorerAsShell(api)) return 0;
        const DWORD pause = policy.PauseInALoop(api.GetTickCount());
        api.OutputDebugStringA("ludora-watch: Explorer cannot take the desktop (a shell place "
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
