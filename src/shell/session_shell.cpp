#include "shell/session_shell.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "launch/companions.h"
#include "launch/orderly_end.h"
#include "launch/startup_programs.h"
#include "platform/win_constants.h"
#include "tuning/tuning_rows.h"

namespace ludora {

namespace {

constexpr char kWinlogon[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr char kSessionKey[] = "Software\\Corvane\\Ludora\\Session";
constexpr DWORD kEventModifyState = 0x2;
constexpr int kShiftKey = 0x10;  // VK_SHIFT
constexpr int kCleanBoot = 67;   // SM_CLEANBOOT: Safe Mode

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string WinlogonShell(WindowsApi& api, HKEY root) {
  ScopedKey key(api);
  if (api.RegOpenKeyExA(root, kWinlogon, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) {
    return {};
  }
  char text[1024] = {};
  DWORD type = 0, size = sizeof text - 1;
  if (api.RegQueryValueExA(key.get(), "Shell", nullptr, &type, reinterpret_cast<BYTE*>(text),
                           &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return {};
  }
  return std::string(text, std::min<std::size_t>(size, sizeof text - 1)).c_str();
}

// The program Windows starts as the shell at the next log-on.
std::string RegisteredShell(WindowsApi& api, Platform platform) {
  if (platform == Platform::NotNt) {
    char text[1024] = {};
    api.GetPrivateProfileStringA("boot", "shell", "", text, sizeof text, std::string(kSystemIni));
    return text;
  }
  std::string shell = WinlogonShell(api, HKCU);
  return shell.empty() ? WinlogonShell(api, HKLM) : shell;
}

bool AnotherShellRuns(WindowsApi& api) {
  if (api.FindWindowA("Progman", nullptr)) return true;
  for (HWND tray = 0; (tray = api.FindWindowExA(0, tray, "Shell_TrayWnd", nullptr)) != 0;) {
    char title[64] = {};
    api.GetWindowTextA(tray, title, sizeof title);
    if (std::string(title) != companions::kTrayDockTitle) return true;
  }
  return false;
}

}  // namespace

bool IsSessionShell(WindowsApi& api, Platform platform) {
  return !AnotherShellRuns(api) &&
         Lower(RegisteredShell(api, platform)).find("ludora.exe") != std::string::npos;
}

void SignalShellReady(WindowsApi& api) {
  for (const char* name : {"msgina: ShellReadyEvent", "Global\\msgina: ShellReadyEvent",
                           "ShellDesktopSwitchEvent", "Global\\ShellDesktopSwitchEvent"}) {
    const ScopedHandle event(api, api.OpenEventA(kEventModifyState, 0, name));
    if (event) api.SetEvent(event.get());
  }
}

bool FirstStartThisLogOn(WindowsApi& api, ScopedHandle& marker) {
  ScopedKey key(api);
  DWORD disposition = 0;
  if (api.RegCreateKeyExA(HKCU, kSessionKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_QUERY_VALUE,
                          nullptr, key.out(), &disposition) == ERROR_SUCCESS) {
    return disposition == REG_CREATED_NEW_KEY;
  }
  marker = ScopedHandle(api, api.CreateEventA(nullptr, 1, 0, companions::kStartupRunEvent));
  return marker && api.GetLastError() != ERROR_ALREADY_EXISTS;
}

void SessionShell::Decide(Platform platform) {
  active_ = IsSessionShell(api_, platform);
  // What a support person asks first, told to a debugger as the failures are.
  api_.OutputDebugStringA(active_ ? "Ludora: the session's shell\n"
                                  : "Ludora: a program under another shell\n");
  if (!active_) return;
  shiftHeld_ = (api_.GetAsyncKeyState(kShiftKey) & 0x8000) != 0;
  safeMode_ = api_.GetSystemMetrics(kCleanBoot) != 0;
}

void SessionShell::Painted(const std::string& appFolder, CommandBatches& starts,
                           std::vector<CommandStart> serviceStops, bool barShown) {
  if (!active_) {
    starts.Start(std::move(serviceStops));
    return;
  }
  SignalShellReady(api_);
  const auto companion = [&](std::string_view file) {
    return "\"" + appFolder + "\\" + std::string(file) + "\"";
  };
  std::vector<CommandStart> companions = {
      {companion(companions::kWatchdog) + " " + std::to_string(api_.GetCurrentProcessId()),
       SW_HIDE}};
  if (barShown) companions.insert(companions.begin(), {companion(companions::kTrayDock), SW_HIDE});
  starts.Start(std::move(companions));
  starts.Start(std::move(serviceStops));
  // Without a bar this start ends at once, the watchdog starts the shell
  // again: the startup programs are left to the start that shows a desktop.
  if (!barShown) return;
  const bool first = FirstStartThisLogOn(api_, marker_);
  api_.OutputDebugStringA(std::string("Ludora: startup programs ") +
                          (!first       ? "started already in this log-on\n"
                           : shiftHeld_ ? "skipped, Shift held\n"
                           : safeMode_  ? "in Safe Mode, RunOnce \"*\" values only\n"
                                        : "to start\n"));
  if (first && !shiftHeld_) {
    starts.Start([safeMode = safeMode_](WindowsApi& api) { StartStartupPrograms(api, safeMode); });
  }
}

void SessionShell::EndedOrderly() {
  if (active_) SignalOrderlyEnd(api_);
}

}  // namespace ludora
