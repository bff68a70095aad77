// Small files read whole, with a bound, and the folder walk of the sources.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/windows_api.h"

namespace ludora::parlour {

// The bytes of `path`; nothing when it cannot be read or holds more than `limit`.
std::optional<std::vector<BYTE>> ReadFileBytes(WindowsApi& api, const std::string& path,
                                               std::size_t limit);

// Calls `visit` with the full path and name of every file below `folder`,
// to `depth` levels of subfolders (hidden ones and links to elsewhere left
// out), at most `budget` entries in all, which it counts down.
void WalkFiles(WindowsApi& api, const std::string& folder, int depth, std::size_t& budget,
               const std::function<void(const std::string& path, const std::string& name)>& visit);

// A special folder of the shell (CSIDL_...); empty when Windows has none.
std::string SpecialFolder(WindowsApi& api, int csidl);

// Whether a file or folder is there.
bool Exists(WindowsApi& api, const std::string& path);

}  // namespace ludora::parlour
