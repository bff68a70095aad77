// ludora-record.exe, the installer's and the uninstaller's helper:
//   ludora-record record <file>    records the machine as it is into <file>,
//                                  unless there is a record already: the
//                                  first install's record is the one to keep
//   ludora-record restore <file>   closes a running Ludora, then puts the
//                                  machine back as <file> says, or, without
//                                  a sound record, as "Set Explorer as
//                                  default shell" leaves it; starts Explorer
//                                  when Ludora was the desktop
//   ludora-record close            closes a running Ludora, before its files
//                                  are replaced
// Exit codes: 0 done, 1 no such command or the record could not be
// written, 2 Explorer's defaults restored for want of a sound record,
// 3 (close) Ludora was running and is closed, 4 (restore) a value could
// not be put back (Ludora is never left as the shell; the record stays).
#pragma once

#include <string>

#include "platform/windows_api.h"

namespace ludora::record {

inline constexpr int kRestoredDefaults = 2;
inline constexpr int kWasRunning = 3;
inline constexpr int kIncomplete = 4;

// Closes a running Ludora as its user would, so that its unload writes the
// default open command, and waits a while for it to end. Whether it ran.
bool CloseRunningShell(WindowsApi& api);

int Run(WindowsApi& api, const std::string& commandLine);

}  // namespace ludora::record
