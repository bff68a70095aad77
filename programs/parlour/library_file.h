// The library's file: in the player's Application Data folder, read with
// bounded memory, written as a new file that then replaces the old one.
#pragma once

#include <cstdint>
#include <string>

#include "parlour/library.h"
#include "platform/windows_api.h"

namespace ludora::parlour {

// "<Application Data>\Corvane\Ludora\Games Room.txt", its folder made when
// missing: %APPDATA% where Windows sets it, else the shell's folder; beside
// the program where Windows has no such folder (98 without profiles).
std::string LibraryPath(WindowsApi& api, const std::string& programFolder);

// The library at `path`, or the new file a replacement left behind (98
// replaces in two steps: the old file deleted, the new one renamed). A
// damaged file is kept as "<path> damaged.txt", so that nothing of it is
// lost when the sound part is written back. Only a file that is not there
// is missing: one that cannot be read is left as it is, and the library
// read says so (`unreadable`).
Library LoadLibraryFile(WindowsApi& api, const std::string& path);

// Whether the library is on disk now; the old file stays when it is not.
bool SaveLibraryFile(WindowsApi& api, const std::string& path, const Library& library);

// Seconds since 1970 (UTC), by Windows' clock.
std::int64_t UnixNow(WindowsApi& api);

}  // namespace ludora::parlour
