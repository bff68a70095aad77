// ludora-record.exe, the installer's and the uninstaller's helper:
//   ludora-record install "<folder>" "<report>"
//        keeps the first record of the machine in both its homes (the file
//        in <folder> and the registry): the one found in either, or, when
//        neither holds a sound one, a record of the machine as it is now
//   ludora-record uninstall "<folder>" "<report>"
//        closes a running Ludora, then puts the machine back as the first
//        record says (restore.h); starts Explorer when Ludora was the desktop
//   ludora-record close
//        closes a running Ludora and its companions, before their files are
//        replaced
//   ludora-record check
//        whether a Ludora of another account runs (kOtherAccount)
//   ludora-record record <file>
//        a record of the machine as it is into a new <file>, and nothing else
// What there is to tell goes into the file <report>, a line each.
#pragma once

#include <string>

#include "platform/windows_api.h"

namespace ludora::record {

// The exit codes; the uninstall's are the uninstaller's own.
inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;            // no such command, or no record could be kept
inline constexpr int kIncomplete = 3;        // a value could not be put back: the record stays
inline constexpr int kRestoredDefaults = 4;  // no sound record: Explorer's settings written
inline constexpr int kLudoraStays = 5;       // a shell place still names Ludora: keep it
inline constexpr int kOtherAccount = 8;      // Ludora runs for another account: nothing done
inline constexpr int kWasRunning = 10;       // (close) Ludora was running and is closed

// Whether Ludora or its notification area runs for another account than the
// one this program runs as. The installer and the uninstaller leave such a
// shell alone: closed and started again by them, it would come back with
// their rights, and every program started from its menus with them. Windows
// 98 has no accounts. A process whose account cannot be read is another's.
bool AnotherAccountsShellRuns(WindowsApi& api);

// Whether Ludora's watchdog runs (its mutex is taken).
bool WatchdogRuns(WindowsApi& api);

// Closes a running Ludora as its user would, so that its unload writes the
// default open command, and waits a while for it and its watchdog to end;
// closes the notification area too. Whether Ludora ran.
bool CloseRunningShell(WindowsApi& api);

int Run(WindowsApi& api, const std::string& commandLine);

}  // namespace ludora::record
