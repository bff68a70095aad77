// ludora-watch.exe, the watchdog of Ludora as the session's shell. Ludora
// starts it with its process id; it waits for that process to end. An
// abnormal end (a crash, an end from Task Manager) brings Ludora back at
// once; an orderly one (every window closed, the session ending, the
// uninstaller's close), which Ludora announces by an event, lets it be.
// Three restarts within a minute are a crash loop: Explorer starts instead,
// so the user always has a desktop; where Explorer cannot take the desktop,
// Ludora is started again after a pause that grows. No service, no window
// of its own.
#pragma once

#include <string>
#include <vector>

#include "platform/windows_api.h"

namespace ludora::watch {

enum class Next { LetBe, StartLudora, StartExplorer };

class RestartPolicy {
 public:
  // What follows an end of the shell at `now` (GetTickCount's milliseconds).
  Next AfterEnd(bool orderly, DWORD now);

  // In a loop, where Explorer could not take the desktop: the pause before
  // Ludora is started once more, at `now`, 1 s at first, twice as long each
  // time, at most a minute. The loop ends once a Ludora so started runs for
  // a minute.
  DWORD PauseInALoop(DWORD now);

  static constexpr DWORD kLoopWindow = 60000;  // a minute
  static constexpr std::size_t kRestartsInALoop = 3;
  static constexpr DWORD kFirstPause = 1000;
  static constexpr DWORD kLongestPause = 60000;

 private:
  std::vector<DWORD> restarts_;  // within the last minute
  bool inLoop_ = false;
  DWORD lastRestart_ = 0;  // in a loop
  DWORD pause_ = kFirstPause;
};

// Explorer as the desktop. Explorer takes the desktop only when the shell
// registration names it (otherwise it opens a folder window), so the
// registration names Explorer for the moment it starts, and is put back as
// it was once Explorer's desktop is there, or after half a minute. Explorer
// starts only where no shell place names Ludora once it is registered (a
// limited user cannot change the machine's), after Ludora's notification
// area has ended: Explorer's taskbar takes its place, and would find a tray
// and run without one. Whether Explorer started.
bool StartExplorerAsShell(WindowsApi& api);

// The watchdog: "ludora-watch.exe <process id>". 0 when it ends as it
// should (an orderly end, another watchdog already watching), 1 when there
// was nothing to watch, 2 on a command line it cannot read.
int Run(WindowsApi& api, const std::string& commandLine);

}  // namespace ludora::watch
