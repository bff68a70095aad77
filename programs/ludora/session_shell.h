// Ludora as the shell of a log-on. Started by Windows in Explorer's place,
// it also does what Windows expects of a shell and what Explorer would
// otherwise do: tells the log-on screen it is ready, starts the startup
// programs once a log-on, takes the task-list keys, hosts the notification
// area and is watched over. Run as a program under another shell, it does
// none of that.
#pragma once

#include <string>

#include "platform/command_batches.h"
#include "platform/scoped.h"
#include "platform/windows_api.h"
#include "tuning/primitives.h"

namespace ludora {

// What this start of the shell does as the session's shell, decided once.
class SessionShell {
 public:
  explicit SessionShell(WindowsApi& api) : api_(api), marker_(api), orderlyEnd_(api) {}

  // At start: whether Ludora is the session's shell. It is when no other
  // shell's windows exist (Explorer's desktop `Progman`, a taskbar
  // `Shell_TrayWnd` other than traydock's) and the shell Windows starts at
  // log-on names ludora.exe: on the NT family the user's Winlogon Shell
  // value, or the machine's when the user has none; on the others
  // system.ini's [boot] shell. If so, whether Shift is held and whether
  // Windows runs in Safe Mode.
  void Decide(Platform platform);
  bool active() const { return active_; }

  // After the bar's first paint (or at once, when it has no window): the
  // log-on screen is told (only when there is a bar), and what is to be
  // started is handed to `starts`, in this order: the watchdog and the
  // notification area, the
  // service stops, the startup programs (the first start in the log-on with
  // a bar, Shift not held). Under another shell, the service stops alone.
  void Painted(const std::string& appFolder, CommandBatches& starts,
               std::vector<CommandStart> serviceStops, bool barShown);

  // The shell ends as it means to: its watchdog is told, by the event it
  // inherited, so that it knows even if it had not come to watch yet.
  void EndedOrderly();

 private:
  WindowsApi& api_;
  ScopedHandle marker_;
  ScopedHandle orderlyEnd_;  // from the start, as the session's shell
  Platform platform_ = Platform::Nt;
  bool active_ = false;
  bool shiftHeld_ = false;
  bool safeMode_ = false;
};

}  // namespace ludora
