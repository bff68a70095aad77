#include "memory/memory_reading.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace ludora {

// Formatting with a digit pattern and reading the text back rounds to the
// whole number nearest, halves away from zero, in every locale: std::round.
std::int16_t MegabyteFigure(std::int32_t totalPhys) {
  return static_cast<std::int16_t>(std::round(totalPhys / 1048576.0));
}

std::string PageLockFigure(std::int32_t totalPhys) {
  const double kilobytes = std::round(totalPhys / 1024.0);
  const double pageLock = kilobytes * 16384000.0 / 523220.0;
  char text[32];
  std::snprintf(text, sizeof text, "%.15G", pageLock);
  return text;
}

std::optional<std::int32_t> PageLockAsInteger(const std::string& pageLock) {
  if (pageLock.empty()) return std::nullopt;
  const char* begin = pageLock.c_str();
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(begin, &end);
  if (end == begin || *end != '\0' || errno == ERANGE || !std::isfinite(value)) return std::nullopt;
  const double rounded = std::nearbyint(value);  // the default mode rounds halves to even
  if (rounded < std::numeric_limits<std::int32_t>::min() ||
      rounded > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

void memorycheck(WindowsApi& api, MEMORYSTATUS& record, MemoryFigures& figures) {
  record.dwLength = 32;
  api.GlobalMemoryStatus(&record);
  const auto total = static_cast<std::int32_t>(record.dwTotalPhys);
  figures.megabytes = MegabyteFigure(total);
  figures.pageLock = PageLockFigure(total);
}

}  // namespace ludora
