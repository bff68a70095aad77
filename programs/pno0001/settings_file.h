// The player's own file (pno0001.ini in his Application Data folder): the
// best score and whether he last played full screen. Lines of key=value
// under the heading [pno0001]; unknown keys are passed over, so an older
// game reads a newer file.
#pragma once

#include <cstddef>

namespace ludora::pno0001 {

struct Settings {
  int best = 0;
  bool fullScreen = false;
};

// The file is read only this far; what is longer is not ours.
inline constexpr std::size_t kMostSettingsBytes = 4096;

// Whatever the bytes: a file without the heading, or longer than
// kMostSettingsBytes, gives the defaults; a value out of its range (a score
// of more than nine digits, a switch not 0 or 1) leaves its default.
Settings ReadSettings(const char* bytes, std::size_t size);

// The file's text for `settings` into `out` (64 bytes are enough); its length.
std::size_t WriteSettings(const Settings& settings, char* out);

}  // namespace ludora::pno0001
