// The primitives every tuning step is made of, and the memory reading.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "fake/fake_windows.h"
#include "memory/memory_reading.h"
#include "tuning/primitives.h"

namespace ludora {
namespace {

using testing::FakeWindows;

TEST(Primitives, ClassChangeAsksOnlyForTheDuplicateRight) {
  FakeWindows api;  // the NT family checks the right: refused, class kept
  EXPECT_EQ(ChangePriority(api, IDLE_PRIORITY_CLASS),
            (PriorityError{4, "ChangePriority", "Unable To close source handle"}));
  EXPECT_EQ(api.priorityClass, 0x20u);
  EXPECT_EQ(api.log.front(), "open-process pid=4242 access=64 inherit=1");
  api.platformId = 1;  // the older family does not check it: applied
  EXPECT_EQ(ChangePriority(api, IDLE_PRIORITY_CLASS), std::nullopt);
  EXPECT_EQ(api.priorityClass, IDLE_PRIORITY_CLASS);
  api.failing = {testing::Op::OpenProcess};
  EXPECT_EQ(ChangePriority(api, IDLE_PRIORITY_CLASS),
            (PriorityError{2, "ChangePriority", "Unable To open the source process"}));
  EXPECT_EQ(api.Live(testing::Kind::Process), 0);
}

// (A number's bytes show in every "REG_DWORD <number>" the tests read.)
TEST(Primitives, AStringIsWrittenWithItsNul) {
  FakeWindows api;
  EXPECT_TRUE(SetRegString(api, HKCR, "exefile", "", ""));
  EXPECT_EQ(api.registry.at("hkcr\\exefile []").data, std::vector<BYTE>{0});  // the NUL alone
}

TEST(MemoryReading, WorkedExamplesAndThePageLockRounding) {
  const struct {
    std::int32_t total;
    std::int16_t megabytes;
    const char* pageLock;
    std::int32_t pageLockInteger;
  } cases[] = {
      {535777280, 511, "16384000", 16384000},
      {267894784, 255, "8192187.8827262", 8192188},
      {189792256, 181, "5803822.66732923", 5803823},
      {2621440, 3, "80163.2965100723", 80163},           // 2.5 MB: the half rounds away from zero
      {0x7FFFFFFF, 2048, "65669772.5010512", 65669773},  // what a 32-bit program is told at most
  };
  for (const auto& c : cases) {
    FakeWindows api;
    api.memory.dwTotalPhys = static_cast<DWORD>(c.total);
    MEMORYSTATUS record;
    MemoryFigures figures;
    memorycheck(api, record, figures);
    EXPECT_EQ(record.dwLength, 32u);
    EXPECT_EQ(figures.megabytes, c.megabytes) << c.total;
    EXPECT_EQ(figures.pageLock, c.pageLock) << c.total;
    EXPECT_EQ(PageLockAsInteger(figures.pageLock), c.pageLockInteger) << c.total;
  }
  EXPECT_EQ(PageLockAsInteger("2.5"), 2);  // halves to even
  EXPECT_EQ(PageLockAsInteger("3.5"), 4);
  EXPECT_EQ(PageLockAsInteger("-2.50001"), -3);
  for (const char* text : {"", "12x", "3000000000", "-", ".", "1e5", " 1"})
    EXPECT_FALSE(PageLockAsInteger(text)) << text;
  // The text is what printf's "%.15G" makes of the figure, and reads back as
  // strtod and rounding half to even would, over the whole range of totals.
  for (std::int64_t total = INT32_MIN; total <= INT32_MAX; total += 3 * 1024 * 1024 + 77) {
    const auto t = static_cast<std::int32_t>(total);
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.15G", std::round(t / 1024.0) * 16384000.0 / 523220.0);
    ASSERT_EQ(PageLockFigure(t), printed);
    ASSERT_EQ(PageLockAsInteger(printed), std::nearbyint(std::strtod(printed, nullptr))) << printed;
  }
}

}  // namespace
}  // namespace ludora
