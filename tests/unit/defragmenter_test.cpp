// The memory defragmenter window: its count, its one big buffer, its close area.
#include <gtest/gtest.h>

#include "fake/fake_views.h"

namespace ludora {
namespace {

using testing::FakeForm2View;
using testing::FakeShell;

struct Defragmenting : FakeShell {
  explicit Defragmenting(DWORD totalPhys = 535777280) {
    api.memory.dwTotalPhys = totalPhys;
    form3.Load();  // the reading the defragmenter sizes its work from
  }
  FakeForm2View& Open() {
    program.form1().Click({"mnudefrag", 0});
    return *windows.form2Views.back();
  }
  void Tick(int times = 1) {
    for (int i = 0; i < times; ++i) program.form2()->Timer1_Timer();
  }
};

TEST(Defragmenter, CountsToOneHundredThenOffersTheCloseArea) {
  Defragmenting shell;
  FakeForm2View& view = shell.Open();
  EXPECT_EQ(view.progress, "0% Complete");
  EXPECT_TRUE(view.timerEnabled);
  EXPECT_FALSE(view.closeEnabled);
  EXPECT_EQ(view.shown, 1);

  shell.Tick();
  EXPECT_EQ(view.progress, "Defragmenting: \r\n\r\n1% Complete");
  shell.Tick(49);
  EXPECT_EQ(view.progress, "Defragmenting: \r\n\r\n50% Complete");
  EXPECT_TRUE(shell.api.allocations.empty());
  shell.Tick();  // finds the counter at 50: the buffer, then 51
  EXPECT_EQ(shell.api.allocations, std::vector<std::size_t>{357184854});
  EXPECT_TRUE(shell.api.lastBufferAllSpaces);
  EXPECT_EQ(shell.api.liveAllocations, 0);  // released within the tick
  EXPECT_EQ(view.progress, "Defragmenting: \r\n\r\n51% Complete");

  shell.Tick(49);
  EXPECT_EQ(view.progress, "Defragmenting: \r\n\r\n100% Complete");
  EXPECT_TRUE(view.timerEnabled);
  EXPECT_FALSE(view.closeEnabled);
  shell.program.form2()->Label2_Click();  // not yet active
  EXPECT_FALSE(view.closed);

  shell.Tick();  // one tick after 100
  EXPECT_FALSE(view.timerEnabled);
  EXPECT_TRUE(view.closeEnabled);
  EXPECT_EQ(view.progress, "Defragmenting: \r\n\r\n100% Complete");
  EXPECT_EQ(shell.api.allocations.size(), 1u);
  shell.program.form2()->Label2_Click();
  EXPECT_TRUE(view.closed);
}

TEST(Defragmenter, BufferSizeFollowsTheLastReading) {
  EXPECT_EQ(WorkBufferCharacters(535777280), 178592427);
  EXPECT_EQ(WorkBufferCharacters(3), 1);
  EXPECT_EQ(WorkBufferCharacters(4), 1);
  EXPECT_EQ(WorkBufferCharacters(5), 2);
  EXPECT_EQ(WorkBufferCharacters(0), 0);
  EXPECT_FALSE(WorkBufferCharacters(-3));

  Defragmenting empty(0);  // no memory reported: nothing to take, the run completes
  FakeForm2View& view = empty.Open();
  empty.Tick(101);
  EXPECT_TRUE(empty.api.allocations.empty());
  EXPECT_TRUE(view.closeEnabled);
}

TEST(Defragmenter, BufferThatCannotBeHadIsSkippedSilently) {
  Defragmenting shell(0x80000010);  // reads as negative: no buffer at all
  FakeForm2View& view = shell.Open();
  shell.Tick(101);
  EXPECT_TRUE(shell.api.allocations.empty());
  EXPECT_TRUE(view.closeEnabled);

  Defragmenting refused;
  refused.api.allocationsFail = true;
  FakeForm2View& refusedView = refused.Open();
  refused.Tick(101);
  EXPECT_EQ(refused.api.allocations.size(), 1u);
  EXPECT_TRUE(refusedView.closeEnabled);
  EXPECT_TRUE(refused.api.Effects("msgbox").empty());
}

TEST(Defragmenter, OpeningAgainOnlyShowsTheWindowUntilItIsClosed) {
  Defragmenting shell;
  FakeForm2View& view = shell.Open();
  shell.Tick(30);
  shell.Open();  // while running
  EXPECT_EQ(shell.windows.form2Views.size(), 1u);
  EXPECT_EQ(view.shown, 2);
  EXPECT_EQ(shell.program.form2()->counter(), 30);

  shell.Tick(71);
  shell.Open();  // finished: stays finished
  EXPECT_EQ(view.shown, 3);
  EXPECT_TRUE(shell.program.form2()->finished());

  // The platform's close command is ignored while counting, honoured once finished.
  shell.program.form2()->QueryClose();
  EXPECT_TRUE(view.closed);
  shell.program.Form2Destroyed();

  FakeForm2View& again = shell.Open();  // a new run after closing
  EXPECT_EQ(shell.windows.form2Views.size(), 2u);
  EXPECT_EQ(shell.program.form2()->counter(), 0);
  EXPECT_EQ(again.progress, "0% Complete");
  EXPECT_FALSE(again.closeEnabled);
  shell.program.form2()->QueryClose();
  EXPECT_FALSE(again.closed);
}

TEST(Defragmenter, FillWritesTwoByteSpacesToTheLastByte) {
  for (const std::size_t bytes : {0u, 2u, 6u, 8u, 1026u}) {
    std::vector<unsigned char> buffer(bytes + 4, 0xAA);
    FillWithSpaces(buffer.data(), bytes);
    for (std::size_t i = 0; i < bytes; ++i) {
      ASSERT_EQ(buffer[i], i % 2 == 0 ? ' ' : 0) << bytes << " at " << i;
    }
    EXPECT_EQ(buffer[bytes], 0xAA) << bytes;  // nothing past the end
  }
}

}  // namespace
}  // namespace ludora
