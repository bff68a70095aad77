#include <gtest/gtest.h>

#include "fake/fake_windows.h"
#include "memory/memory_reading.h"

namespace ludora {
namespace {

TEST(MemoryReading, WorkedExamples) {
  const struct {
    std::int32_t total;
    std::int16_t megabytes;
    const char* pageLock;
    std::int32_t pageLockInteger;
  } cases[] = {
      {535777280, 511, "16384000", 16384000},
      {267894784, 255, "8192187.8827262", 8192188},
      {189792256, 181, "5803822.66732923", 5803823},
      {1073135616, 1023, "32816348.4882076", 32816348},
      {2621440, 3, "80163.2965100723", 80163},           // 2.5 MB: the half rounds away from zero
      {0x7FFFFFFF, 2048, "65669772.5010512", 65669773},  // what a 32-bit program is told at most
  };
  for (const auto& c : cases) {
    testing::FakeWindows api;
    api.memory.dwTotalPhys = static_cast<DWORD>(c.total);
    MEMORYSTATUS record;
    MemoryFigures figures;
    memorycheck(api, record, figures);
    EXPECT_EQ(record.dwLength, 32u);
    EXPECT_EQ(figures.megabytes, c.megabytes) << c.total;
    EXPECT_EQ(figures.pageLock, c.pageLock) << c.total;
    EXPECT_EQ(PageLockAsInteger(figures.pageLock), c.pageLockInteger) << c.total;
  }
}

TEST(MemoryReading, PageLockTextRoundsHalvesToEvenAndRefusesNonNumbers) {
  EXPECT_EQ(PageLockAsInteger("2.5"), 2);
  EXPECT_EQ(PageLockAsInteger("3.5"), 4);
  EXPECT_FALSE(PageLockAsInteger(""));  // no reading taken yet
  EXPECT_FALSE(PageLockAsInteger("12x"));
  EXPECT_FALSE(PageLockAsInteger("3000000000"));  // past 32 bits
}

}  // namespace
}  // namespace ludora
