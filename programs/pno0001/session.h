// A game from the first level to the last: the world in play, the screens
// between levels and at the end, the pause menu, the best score; and the
// clock that turns the time passed into fixed ticks.
#pragma once

#include <cstdint>

#include "pno0001/world.h"

namespace ludora::pno0001 {

enum class Screen : std::uint8_t {
  Playing,
  LevelDone,  // a moment between levels
  GameOver,   // the player died
  Won,        // the last level is done
};

enum class MenuItem : std::uint8_t { Resume, Quit };
inline constexpr int kMenuItems = 2;

class Session {
 public:
  explicit Session(int best);

  void NewGame() { Start(0, Carry{}); }
  // Play from level `number` (0 first) with what the player carries.
  void Start(int number, Carry carry);
  // One tick of play (none while paused); the world's events.
  unsigned Tick(TickInput input);

  // The pause menu.
  void Pause();
  void Resume() { paused_ = false; }
  void MoveSelection(int by);
  void Select(MenuItem item) { selected_ = item; }
  bool paused() const { return paused_; }
  MenuItem selected() const { return selected_; }

  Screen screen() const { return screen_; }
  const World& world() const { return world_; }
  int score() const { return world_.player().carry.score; }
  // The best score: the one read at start, or a better one made since.
  int best() const { return best_; }
  // Whether this game's score is the best, and not yet saved.
  bool UnsavedBest() const { return best_ > saved_; }
  void MarkSaved() { saved_ = best_; }

 private:
  World world_;
  Screen screen_ = Screen::Playing;
  int pause_ = 0;  // ticks left on the screen between levels
  bool paused_ = false;
  MenuItem selected_ = MenuItem::Resume;
  int best_, saved_;
};

// The fixed tick against a millisecond clock that wraps (timeGetTime's):
// how many ticks are due, never more than a few at once, so that a machine
// that stalls does not run the game ahead in a burst.
class TickClock {
 public:
  static constexpr int kMostAtOnce = 6;

  void Restart(std::uint32_t now);
  int Due(std::uint32_t now);
  // Milliseconds until the next tick is due (at least 1).
  std::uint32_t UntilNext() const;

 private:
  std::uint32_t last_ = 0;
  std::uint32_t owed_ = 0;  // in 1/(1000 * kTicksPerSecond) seconds, less than one tick
};

}  // namespace ludora::pno0001
