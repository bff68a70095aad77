#include "ludora/session_shell.h"

#include <algorithm>

#include "launch/companions.h"
#include "launch/orderly_end.h"
#include "ludora/startup_programs.h"
#include "platform/win_constants.h"
#include "tuning/shell_switch.h"
#include "tuning/tuning_rows.h"

namespace ludora {

namespace {

constexpr char kSessionKey[] = "Software\\Corvane\\Ludora\\Session";
constexpr int kShiftKey = 0x10;  // VK_SHIFT
constexpr int kCleanBoot = 67;   // SM_CLEANBOOT: Safe Mode
// The events the watchdog must hold from its first moment are handed to it
// as inherited handles: a Ludora killed before the watchdog opened them
// would otherwise take them along (a log-on's mark gone, the startup
// programs started again), and an orderly end told meanwhile would be lost.
constexpr SECURITY_ATTRIBUTES kInherited = {.bInheritHandle = 1};

std::string WinlogonShell(WindowsApi& api, HKEY root) {
  ScopedKey key(api);
  if (api.RegOpenKeyExA(root, std::string(kWinlogonKey), 0, KEY_QUERY_VALUE, key.out()) !=
      ERROR_SUCCESS) {
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

bool IsSessionShell(WindowsApi& api, Platform platform) {
  return !AnotherShellRuns(api) && NamesLudora(RegisteredShell(api, platform));
}

// Sets whichever of the events Windows' log-on waits for exist: XP's
// "msgina: ShellReadyEvent", later systems' "ShellDesktopSwitchEvent", each
// with and without the Global\ prefix.
void SignalShellReady(WindowsApi& api) {
  for (const char* name : {"msgina: ShellReadyEvent", "Global\\msgina: ShellReadyEvent",
                           "ShellDesktopSwitchEvent", "Global\\ShellDesktopSwitchEvent"}) {
    SetNamedEvent(api, name);
  }
}

// Whether this is the shell's first start in this log-on, marking it when
// so. On the NT family a volatile key, which goes with the log-on. The others
// keep no key volatile (asked for one, they make a lasting key and say
// nothing); there, and where the key cannot be made, a named event that
// Ludora and its watchdog hold for the session, kept in `marker`.
bool FirstStartThisLogOn(WindowsApi& api, Platform platform, ScopedHandle& marker) {
  if (platform != Platform::NotNt) {
    ScopedKey key(api);
    DWORD disposition = 0;
    if (api.RegCreateKeyExA(HKCU, kSessionKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_QUERY_VALUE,
                            nullptr, key.out(), &disposition) == ERROR_SUCCESS) {
      return disposition == REG_CREATED_NEW_KEY;
    }
  }
  marker = ScopedHandle(api, api.CreateEventA(&kInherited, 1, 0, companions::kStartupRunEvent));
  return marker && api.GetLastError() != ERROR_ALREADY_EXISTS;
}

}  // namespace

void SessionShell::Decide(Platform platform) {
  platform_ = platform;
  active_ = IsSessionShell(api_, platform);
  // What a support person asks first, told to a debugger as the failures are.
  api_.OutputDebugStringA(active_ ? "Ludora: the session's shell\n"
                                  : "Ludora: a program under another shell\n");
  if (!active_) return;
  orderlyEnd_ =
      ScopedHandle(api_, api_.CreateEventA(&kInherited, 1, 0, companions::kOrderlyEndEvent));
  shiftHeld_ = (api_.GetAsyncKeyState(kShiftKey) & 0x8000) != 0;
  safeMode_ = api_.GetSystemMetrics(kCleanBoot) != 0;
}

void SessionShell::Painted(const std::string& appFolder, CommandBatches& starts,
                           std::vector<CommandStart> serviceStops, bool barShown) {
  if (!active_) {
    starts.Start(std::move(serviceStops));
    return;
  }
  // The log-on screen stays until a start shows a desktop: one without a
  // bar ends at once, and its watchdog starts the shell again.
  if (barShown) SignalShellReady(api_);
  // The log-on's mark exists before the watchdog starts and holds it too:
  // made after, a kill of Ludora in between would take the mark along, and
  // the next start would start every startup program a second time. Without
  // a bar this start ends at once and the watchdog starts the shell again:
  // the startup programs, and the mark, are left to the start that shows a
  // desktop.
  const bool first = barShown && FirstStartThisLogOn(api_, platform_, marker_);
  const auto companion = [&](std::string_view file) {
    return "\"" + appFolder + "\\" + std::string(file) + "\"";
  };
  // The watchdog first: until it watches, an end of this start is nobody's
  // to see. It inherits the log-on's mark and the orderly-end event.
  std::vector<CommandStart> companions = {
      {companion(companions::kWatchdog) + " " + std::to_string(api_.GetCurrentProcessId()),
       SW_HIDE,
       {},
       true}};
  if (barShown) companions.push_back({companion(companions::kTrayDock), SW_HIDE, {}});
  starts.Start(std::move(companions));
  starts.Start(std::move(serviceStops));
  if (!barShown) return;
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
  if (active_ && orderlyEnd_) api_.SetEvent(orderlyEnd_.get());
}

}  // namespace ludora
