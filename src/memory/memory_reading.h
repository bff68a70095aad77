// The memory reading: refreshes the shared memory-status record and derives
// the two figures the tuning rows write, the installed memory in whole
// megabytes and the I/O page-lock limit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/windows_api.h"

namespace ludora {

struct MemoryFigures {
  std::int16_t megabytes = 0;  // installed physical memory, whole megabytes
  std::string pageLock;        // page-lock limit in bytes, decimal text of a real number
};

// Takes a reading into `record` and updates `figures`.
void memorycheck(WindowsApi& api, MEMORYSTATUS& record, MemoryFigures& figures);

// The figures of a total of `totalPhys` bytes (read as a signed number).
// A 32-bit total is at most 2048 megabytes either way, so the figure always
// fits its 16 bits.
std::int16_t MegabyteFigure(std::int32_t totalPhys);
std::string PageLockFigure(std::int32_t totalPhys);

// The page-lock text as a 32-bit integer, rounded half to even; nothing when
// the text is no number or does not fit.
std::optional<std::int32_t> PageLockAsInteger(const std::string& pageLock);

}  // namespace ludora
