// sparkrun.exe, the companion launcher: starts one program in the high
// priority class, in the program's own folder. Given no program, it asks
// for one with an Open dialog.
#pragma once

#include <string>

#include "platform/windows_api.h"

namespace ludora::sparkrun {

// The program named by a launcher's command line (its own name first, as
// Windows passes it): the first argument without its quotes; an unquoted
// argument with blanks runs to the end of the line. Empty when none.
std::string ProgramArgument(const std::string& commandLine);
// What follows a quoted program on the command line: its own arguments,
// passed on as they are (the games room's starts). Empty when none.
std::string ProgramArguments(const std::string& commandLine);

// Executables are started directly, so a redirected open command can never
// route them back here; shortcuts and documents go through the shell.
bool StartsDirectly(const std::string& path);

// Starts `path` with `arguments`; on failure tells the user which program
// could not start. Returns whether it started.
bool Launch(WindowsApi& api, const std::string& path, const std::string& arguments = {});

// The Open dialog's flags: OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
// OFN_HIDEREADONLY | OFN_NODEREFERENCELINKS (a shortcut is picked as itself).
inline constexpr DWORD kOpenDialogFlags = 0x1000 | 0x800 | 0x4 | 0x100000;

// The whole launcher: the program of the command line, or the Open dialog's pick.
int Run(WindowsApi& api, const std::string& commandLine);

}  // namespace ludora::sparkrun
