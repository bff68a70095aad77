// The memory operations of the in-memory Windows.
#include "fake/memory.h"

#include <cstdlib>

#include "fake/fake_windows.h"

namespace ludora::testing {

FakeMemory::~FakeMemory() {
  for (const auto& [block, size] : blocks_) std::free(block);
}

void FakeWindows::DoGlobalMemoryStatus(bool failing, MEMORYSTATUS* status) {
  log.push_back("memory-status");
  if (failing) return;  // it reports no failure: the record stays as it was
  const DWORD length = status->dwLength;
  *status = memory, status->dwLength = length;
}

void* FakeWindows::DoVirtualAlloc(bool failing, void*, std::size_t size, DWORD, DWORD) {
  allocations.push_back(size);
  if (failing) return Refuse(nullptr, ERROR_NOT_ENOUGH_MEMORY);
  void* block = std::calloc(size, 1);
  if (block) blocks_[block] = size;
  return block;
}

// With MEM_RELEASE the size must be 0, and the address the one handed out.
BOOL FakeWindows::DoVirtualFree(bool failing, void* address, std::size_t size, DWORD type) {
  const auto block = blocks_.find(address);  // failing, the block stays taken
  if (failing || block == blocks_.end() || size != 0 || type != MEM_RELEASE)
    return Refuse(0, ERROR_INVALID_PARAMETER);
  if (beforeFree) beforeFree(static_cast<const unsigned char*>(address), block->second);
  std::free(address);
  blocks_.erase(block);
  return 1;
}

}  // namespace ludora::testing
