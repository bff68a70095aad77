// Paths of the running program and the files beside it.
#pragma once

#include <string>

#include "platform/windows_api.h"

namespace ludora {

// The folder of `path`, without the trailing backslash ("C:" for a file at
// the root of a drive); empty when the path names no folder.
std::string FolderOf(const std::string& path);

// A folder as a working folder: a drive's root keeps its backslash ("C:\").
std::string AsWorkingFolder(const std::string& folder);

// `path` in its long form, where Windows has GetLongPathNameA (98, 2000 and
// later); as given where it has not, or cannot say.
std::string LongPathOf(WindowsApi& api, const std::string& path);

// The 8.3 form of `path`; empty when Windows cannot give it.
std::string ShortPathOf(WindowsApi& api, const std::string& path);

// The folder of the running program in its long form: Windows 98 starts the
// shell from the 8.3 path its [boot] shell entry holds, and a path in that
// form must not spread into the registry. Empty when Windows cannot say.
std::string ProgramFolder(WindowsApi& api);

}  // namespace ludora
