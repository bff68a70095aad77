// A recorded run: runs of ticks with the same input, three bytes a run
// (the buttons, the mouse's turn in 16ths, how many ticks), played back
// tick by tick.
#pragma once

#include <cstdint>

#include "pno0001/world.h"

namespace ludora::pno0001 {

struct InputRun {
  std::uint8_t buttons;
  std::int8_t turn;  // in 16 angle units
  std::uint8_t ticks;
};

class Replay {
 public:
  Replay(const InputRun* runs, int count) : runs_(runs), count_(count) {}
  // The next tick's input; nothing held once the run is over.
  TickInput Next();
  bool Finished() const { return run_ >= count_; }

 private:
  const InputRun* runs_;
  int count_;
  int run_ = 0, tick_ = 0;
};

// The benchmark's run: the first level played from the start to the exit,
// some 20 seconds, fighting the enemies on the way (recorded from a
// scripted player); after its end the game goes on without input.
Replay BenchRun();

}  // namespace ludora::pno0001
