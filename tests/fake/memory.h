// The memory of the in-memory Windows: its status, and the blocks handed
// out by VirtualAlloc until they are given back.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "platform/win_types.h"

namespace ludora::testing {

class FakeMemory {
 public:
  MEMORYSTATUS memory{32, 40, 535777280, 300000000, 1000000000, 900000000, 0x7FFE0000, 0x7F000000};
  std::vector<std::size_t> allocations;  // sizes asked of VirtualAlloc, in order
  // Called with a block and its size right before VirtualFree gives it back.
  std::function<void(const unsigned char* block, std::size_t size)> beforeFree;

  FakeMemory() = default;
  FakeMemory(const FakeMemory&) = delete;
  FakeMemory& operator=(const FakeMemory&) = delete;
  ~FakeMemory();  // what was never given back goes with the fake

  int LiveAllocations() const { return static_cast<int>(blocks_.size()); }

 protected:
  std::map<void*, std::size_t> blocks_;  // taken and not given back
};

}  // namespace ludora::testing
