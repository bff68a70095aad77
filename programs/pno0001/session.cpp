#include "pno0001/session.h"

#include <algorithm>

namespace ludora::pno0001 {

namespace {
constexpr int kBetweenLevels = 2 * kTicksPerSecond;
}

Session::Session(int best)
    : world_(MakeLevel(0), Carry{}), best_(std::max(best, 0)), saved_(best_) {}

void Session::Start(int number, Carry carry) {
  world_ = World(MakeLevel(number), carry);
  screen_ = Screen::Playing;
  paused_ = false;
}

unsigned Session::Tick(TickInput input) {
  if (paused_) return 0;
  switch (screen_) {
    case Screen::Playing: {
      const unsigned events = world_.Tick(input);
      best_ = std::max(best_, score());
      if (world_.dead() || world_.finished()) {
        const bool last = world_.level().number + 1 == kLevelCount;
        screen_ = world_.dead() ? Screen::GameOver : last ? Screen::Won : Screen::LevelDone;
        pause_ = kBetweenLevels;
      }
      return events;
    }
    case Screen::LevelDone:
      if (--pause_ <= 0) {
        Carry carry = world_.player().carry;
        carry.health = std::max(carry.health, kMostHealth / 2);  // a fresh start for the weak
        Start(world_.level().number + 1, carry);
      }
      return 0;
    case Screen::GameOver:
    case Screen::Won:
      // Fire starts a new game, once the end has been seen a moment.
      if (pause_ > 0) --pause_;
      if (pause_ == 0 && (input.buttons & kFire)) NewGame();
      return 0;
  }
  return 0;
}

void Session::Pause() {
  if (!paused_) selected_ = MenuItem::Resume;
  paused_ = true;
}

void Session::MoveSelection(int by) {
  const int index = (static_cast<int>(selected_) + by % kMenuItems + kMenuItems) % kMenuItems;
  selected_ = static_cast<MenuItem>(index);
}

void TickClock::Restart(std::uint32_t now) {
  last_ = now;
  owed_ = 0;
}

int TickClock::Due(std::uint32_t now) {
  constexpr std::uint32_t kTick = 1000;  // a tick in the units of owed_
  const std::uint32_t passed = now - last_;
  last_ = now;
  // Past a stall of a second the count would only be capped anyway.
  const std::uint32_t owed = owed_ + std::min<std::uint32_t>(passed, 1000) * kTicksPerSecond;
  const std::uint32_t due = owed / kTick;
  owed_ = owed % kTick;
  if (due > kMostAtOnce) {
    owed_ = 0;
    return kMostAtOnce;
  }
  return static_cast<int>(due);
}

std::uint32_t TickClock::UntilNext() const {
  const std::uint32_t left = 1000 - owed_;  // in ms * kTicksPerSecond
  return std::max<std::uint32_t>(1, (left + kTicksPerSecond - 1) / kTicksPerSecond);
}

}  // namespace ludora::pno0001
