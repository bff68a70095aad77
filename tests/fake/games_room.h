// What the games room asks of the in-memory Windows beyond the rest: the
// running processes, as toolhelp snapshots show them, and the clock.
#pragma once

#include <string>
#include <vector>

#include "platform/win_types.h"

namespace ludora::testing {

class FakeGamesRoom {
 public:
  struct Process {
    DWORD pid = 0;
    DWORD parent = 0;
    std::string path;  // its program, in full
  };
  std::vector<Process> processes;  // running now
  std::uint64_t systemTime = 0;    // GetSystemTimeAsFileTime's answer
  void SetUnixTime(std::uint64_t seconds) { systemTime = (seconds + 11644473600ull) * 10000000; }
};

}  // namespace ludora::testing
