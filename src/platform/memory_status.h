// GlobalMemoryStatus as a 32-bit program without the large-address flag
// receives it, from the 64-bit figures of GlobalMemoryStatusEx: what the
// 64-bit build of the programs (for the tests on machines that cannot run
// 32-bit programs) hands the portable code, so both builds see one machine
// alike.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

namespace ludora {

struct MEMORYSTATUSEX {
  DWORD dwMemoryLoad = 0;
  std::uint64_t ullTotalPhys = 0;
  std::uint64_t ullAvailPhys = 0;
  std::uint64_t ullTotalPageFile = 0;
  std::uint64_t ullAvailPageFile = 0;
  std::uint64_t ullTotalVirtual = 0;
  std::uint64_t ullAvailVirtual = 0;
};

// Physical and virtual figures at most 2 GiB - 1, the page file at most
// 4 GiB - 1, as Windows 2000 and later report them to such a program; its
// address space is the 2 GiB less 128 KiB a 32-bit process has.
MEMORYSTATUS AsA32BitProgramSeesIt(const MEMORYSTATUSEX& status);

}  // namespace ludora
