// A command run: a command line started as a new process with the window
// style of its first window, left to run on its own.
#pragma once

#include <string>

#include "platform/windows_api.h"

namespace ludora {

// Starts `commandLine`, found through the program search path, showing its
// first window as `show` (SW_HIDE, SW_SHOWNORMAL). Never waits; the
// process's handles are given back at once. Whether it started.
bool RunCommandLine(WindowsApi& api, const std::string& commandLine, WORD show);

}  // namespace ludora
