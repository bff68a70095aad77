#include "parlour/gamepad.h"

#include <iterator>

namespace ludora::parlour {

namespace {

constexpr DWORD kLow = 16384, kHigh = 49151;  // an axis counts as pushed beyond these

// The direction a reading points to; -1 for none. The hat wins over the stick.
int Direction(const PadReading& r) {
  if (r.pov <= 36000) {
    const DWORD octant = (r.pov + 2250) / 4500 % 8;  // 0 up, 2 right, 4 down, 6 left
    if (octant == 0 || octant == 1 || octant == 7) return static_cast<int>(PadCommand::Up);
    if (octant == 3 || octant == 4 || octant == 5) return static_cast<int>(PadCommand::Down);
    return static_cast<int>(octant == 2 ? PadCommand::Right : PadCommand::Left);
  }
  const long dx = static_cast<long>(r.x) - 32767, dy = static_cast<long>(r.y) - 32767;
  const bool across = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  if (across && r.x < kLow) return static_cast<int>(PadCommand::Left);
  if (across && r.x > kHigh) return static_cast<int>(PadCommand::Right);
  if (!across && r.y < kLow) return static_cast<int>(PadCommand::Up);
  if (!across && r.y > kHigh) return static_cast<int>(PadCommand::Down);
  return -1;
}

constexpr PadCommand kButtons[] = {PadCommand::Play,
                                   PadCommand::Back,
                                   PadCommand::Menu,
                                   PadCommand::NextCategory,
                                   PadCommand::PreviousCategory,
                                   PadCommand::NextCategory};

}  // namespace

std::vector<PadCommand> Gamepad::Read(const PadReading& reading, DWORD now) {
  std::vector<PadCommand> commands;
  const int direction = Direction(reading);
  if (direction != held_) {
    held_ = direction;
    nextRepeat_ = now + kFirstRepeatMs;
    if (direction >= 0) commands.push_back(static_cast<PadCommand>(direction));
  } else if (direction >= 0 && static_cast<LONG>(now - nextRepeat_) >= 0) {
    nextRepeat_ = now + kRepeatMs;
    commands.push_back(static_cast<PadCommand>(direction));
  }
  const DWORD pressed = reading.buttons & ~buttons_;
  buttons_ = reading.buttons;
  for (std::size_t b = 0; b < std::size(kButtons); ++b)
    if (pressed & (1u << b)) commands.push_back(kButtons[b]);
  return commands;
}

}  // namespace ludora::parlour
