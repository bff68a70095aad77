#include "platform/memory_status.h"

#include <algorithm>

namespace ludora {

namespace {

constexpr std::uint64_t kMaxLong = 0x7FFFFFFF;
constexpr std::uint64_t kMaxDword = 0xFFFFFFFF;
constexpr std::uint64_t k32BitAddressSpace = 0x7FFE0000;

DWORD AtMost(std::uint64_t value, std::uint64_t limit) {
  return static_cast<DWORD>(std::min(value, limit));
}

}  // namespace

MEMORYSTATUS AsA32BitProgramSeesIt(const MEMORYSTATUSEX& status) {
  const std::uint64_t totalVirtual = std::min(status.ullTotalVirtual, k32BitAddressSpace);
  return MEMORYSTATUS{sizeof(MEMORYSTATUS),
                      status.dwMemoryLoad,
                      AtMost(status.ullTotalPhys, kMaxLong),
                      AtMost(status.ullAvailPhys, kMaxLong),
                      AtMost(status.ullTotalPageFile, kMaxDword),
                      AtMost(status.ullAvailPageFile, kMaxDword),
                      AtMost(totalVirtual, kMaxLong),
                      AtMost(std::min(status.ullAvailVirtual, totalVirtual), kMaxLong)};
}

}  // namespace ludora
