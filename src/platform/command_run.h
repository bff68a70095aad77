// A command run: a command line started as a new process with the window
// style of its first window, left to run on its own.
#pragma once

#include <string>

#include "platform/windows_api.h"

namespace ludora {

// Starts `commandLine`, found through the program search path, showing its
// first window as `show` (SW_HIDE, SW_SHOWNORMAL), at the normal priority
// class whatever the shell's own (an idle parent passes its class on).
// Never waits; the process handle goes to `process` when given, the other
// handles are given back at once. Whether it started.
bool RunCommandLine(WindowsApi& api, const std::string& commandLine, WORD show,
                    HANDLE* process = nullptr);

}  // namespace ludora
