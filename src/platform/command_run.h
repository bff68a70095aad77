// A command run: a command line started as a new process with the window
// style of its first window, left to run on its own.
#pragma once

#include <string>
#include <string_view>

#include "platform/windows_api.h"

namespace ludora {

// Starts `commandLine`, its program found through the program search path,
// showing its first window as `show` (SW_HIDE, SW_SHOWNORMAL), at the
// normal priority class whatever the shell's own (an idle parent passes its
// class on). Never waits; the process handle goes to `process` when given,
// the other handles are given back at once. With `inheritHandles` the
// handles made inheritable pass on to it. Whether it started.
bool RunCommandLine(WindowsApi& api, const std::string& commandLine, WORD show,
                    HANDLE* process = nullptr, bool inheritHandles = false);

// The same for the program at the full path `application`, never searched
// for: the command line is passed as it is, its first word naming the
// program to the program alone. Nothing starts without a path.
bool RunProgram(WindowsApi& api, const std::string& application, const std::string& commandLine,
                WORD show, HANDLE* process = nullptr, bool inheritHandles = false);

// Windows' own programs are started from the folder Windows keeps them in.
// The search path has the running program's folder and the current one
// first, where whoever can write there could put a program of the same name
// (sc.exe in a C:\Ludora that any user may write to, run by whoever starts
// Ludora).
enum class WindowsFolder { System, Windows };
// The full path of `file` there; empty when Windows cannot say where that is.
std::string WindowsProgram(WindowsApi& api, WindowsFolder folder, std::string_view file);

}  // namespace ludora
