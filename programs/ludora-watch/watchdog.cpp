#include "ludora-watch/watchdog.h"

#include <algorithm>
#include <cstdint>

#include "launch/companions.h"
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

// Started from the watchdog's own folder, Ludora's; a process handle, or 0.
HANDLE Start(WindowsApi& api, const std::string& commandLine) {
  HANDLE process = 0;
  RunCommandLine(api, commandLine, SW_SHOWNORMAL, &process);
  return process;
}

}  // namespace

Next RestartPolicy::AfterEnd(bool orderly, DWORD now) {
  if (orderly) return Next::LetBe;
  std::erase_if(restarts_, [&](DWORD at) { return now - at >= kLoopWindow; });
  if (restarts_.size() >= kRestartsInALoop) return Next::StartExplorer;
  restarts_.push_back(now);
  return Next::StartLudora;
}

void StartExplorerAsShell(WindowsApi& api) {
  // Explorer's taskbar hosts the notification area now.
  if (const HWND tray = api.FindWindowA("Shell_TrayWnd", companions::kTrayDockTitle)) {
    api.PostMessageA(tray, WM_CLOSE, 0, 0);
  }
  const std::vector<PlaceState> registration = ReadPlaces(api, RegistrationPlaces());
  RegisterExplorerShell(api);
  const ScopedHandle explorer(api, Start(api, "explorer.exe"));
  for (DWORD waited = 0; explorer && waited < kExplorerTakesTheDesktopWithin;
       waited += kLookAgainAfter) {
    if (api.FindWindowA("Progman", nullptr)) break;
    if (api.WaitForSingleObject(explorer.get(), kLookAgainAfter) != WAIT_TIMEOUT) break;
  }
  for (const PlaceState& state : registration) WritePlace(api, state);
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
    api.WaitForSingleObject(shell.get(), INFINITE);
    const bool orderly =
        orderlyEnd && api.WaitForSingleObject(orderlyEnd.get(), 0) == WAIT_OBJECT_0;
    switch (policy.AfterEnd(orderly, api.GetTickCount())) {
      case Next::LetBe:
        return 0;
      case Next::StartExplorer:
        StartExplorerAsShell(api);
        return 0;
      case Next::StartLudora:
        shell = ScopedHandle(api, Start(api, ludora));
        break;
    }
  }
}

}  // namespace ludora::watch
