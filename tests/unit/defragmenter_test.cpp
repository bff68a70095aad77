// The memory defragmenter window: its count, its one big buffer, its close area.
#include <array>
#include <bit>

#include "fake/fake_views.h"
#include "platform/memory_status.h"

namespace ludora {
namespace {

struct Defragmenting : testing::FakeShell {
  explicit Defragmenting(DWORD totalPhys = 535777280) {
    api.memory.dwTotalPhys = totalPhys;
    // Whether the last buffer given back held two-byte spaces to its last byte.
    api.beforeFree = [this](const unsigned char* block, std::size_t size) {
      lastBufferAllSpaces = size % 2 == 0;
      for (std::size_t i = 0; lastBufferAllSpaces && i < size; i += 2)
        lastBufferAllSpaces = block[i] == ' ' && block[i + 1] == 0;
    };
    form3.Load();  // the reading the defragmenter sizes its work from
  }
  testing::FakeForm2View& Open() {
    Pick(QuickItem::mnudefrag);
    return *windows.form2Views.back();
  }
  void Tick(int times) {
    for (int i = 0; i < times; ++i) program.form2()->Timer1_Timer();
  }
  bool lastBufferAllSpaces = false;
};

TEST(Defragmenter, CountsToOneHundredTakingTheBufferHalfwayThenOffersTheCloseArea) {
  Defragmenting shell;
  testing::FakeForm2View& view = shell.Open();
  shell.Tick(50);
  EXPECT_EQ(view.progress, "Defragmenting: \r\n\r\n50% Complete");
  EXPECT_TRUE(shell.api.allocations.empty());
  shell.Tick(1);  // finds the counter at 50: the buffer, then 51
  EXPECT_EQ(shell.api.allocations, std::vector<std::size_t>{357184854});
  EXPECT_TRUE(shell.lastBufferAllSpaces);     // to the last byte, 2 past a multiple of 4
  EXPECT_EQ(shell.api.LiveAllocations(), 0);  // released within the tick
  shell.Tick(49);
  EXPECT_EQ(view.progress, "Defragmenting: \r\n\r\n100% Complete");
  shell.program.form2()->Label2_Click();
  shell.program.form2()->QueryClose();  // the platform's close command, ignored while counting
  EXPECT_FALSE(view.closed);
  EXPECT_FALSE(view.closeEnabled);

  shell.Tick(1);  // one tick after 100
  EXPECT_FALSE(view.timerEnabled);
  EXPECT_TRUE(view.closeEnabled);
  EXPECT_EQ(shell.api.allocations.size(), 1u);
  shell.program.form2()->Label2_Click();
  EXPECT_TRUE(view.closed);
}

TEST(Defragmenter, BufferThatCannotBeHadIsSkippedAndTheRunCompletes) {
  EXPECT_EQ(WorkBufferCharacters(5), 2);
  EXPECT_EQ(WorkBufferCharacters(-3), std::nullopt);
  for (const DWORD total : {0u, 0x80000010u}) {  // nothing to take, or a negative count
    Defragmenting shell(total);
    testing::FakeForm2View& view = shell.Open();
    shell.Tick(101);
    EXPECT_TRUE(shell.api.allocations.empty() && view.closeEnabled) << total;
  }
}

TEST(Defragmenter, OpeningAgainOnlyShowsTheWindowUntilItIsClosed) {
  Defragmenting shell;
  testing::FakeForm2View& view = shell.Open();
  shell.Tick(30);
  EXPECT_EQ(&shell.Open(), &view);  // the same window, shown again, counting on
  EXPECT_EQ(view.shown, 2);
  EXPECT_EQ(shell.program.form2()->counter(), 30);
  shell.Tick(71);
  shell.program.form2()->QueryClose();  // honoured once finished
  EXPECT_TRUE(view.closed);
  shell.program.Form2Destroyed();
  EXPECT_EQ(shell.Open().progress, "0% Complete");  // a new window, a new run
  EXPECT_EQ(shell.program.form2()->counter(), 0);
}

// The 64-bit test build must size its work as the 32-bit program does: the
// record's fields in order, a page file not held to 2 GiB.
TEST(MemoryStatus, A64BitReadingIsWhatA32BitProgramWithoutTheLargeAddressFlagIsTold) {
  using Fields = std::array<DWORD, 8>;
  const auto seen = [](const MEMORYSTATUSEX& status) {
    return std::bit_cast<Fields>(AsA32BitProgramSeesIt(status));
  };
  constexpr std::uint64_t kGiB = 1ull << 30;
  EXPECT_EQ(
      seen(
          {41, 24 * kGiB, 3 * kGiB, 30 * kGiB, 5 * kGiB / 2, 128 * 1024 * kGiB, 127 * 1024 * kGiB}),
      (Fields{32, 41, 0x7FFFFFFF, 0x7FFFFFFF, 0xFFFFFFFF, 0xA0000000, 0x7FFE0000, 0x7FFE0000}));
  EXPECT_EQ(seen({12, 535777280, 300000000, 1000000000, 900000000, 1 << 20, 1 << 19}),
            (Fields{32, 12, 535777280, 300000000, 1000000000, 900000000, 1 << 20, 1 << 19}));
}

}  // namespace
}  // namespace ludora
