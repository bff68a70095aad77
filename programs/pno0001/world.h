// One level in play: the player, the enemies, what lies about, the enemies'
// shots; advanced one fixed tick at a time by that tick's input alone, so
// that the same inputs always give the same game.
#pragma once

#include <array>
#include <cstdint>

#include "pno0001/fixed.h"
#include "pno0001/level.h"

namespace ludora::pno0001 {

inline constexpr int kTicksPerSecond = 60;

enum Button : std::uint8_t {
  kForward = 1,
  kBack = 2,
  kStrafeLeft = 4,
  kStrafeRight = 8,
  kTurnLeft = 16,
  kTurnRight = 32,
  kFire = 64,
  kRun = 128,
};

// What the player does in one tick: the buttons held, and the mouse's turn
// in angle units.
struct TickInput {
  std::uint8_t buttons = 0;
  std::int16_t turn = 0;
  friend constexpr bool operator==(TickInput, TickInput) = default;
};

// What happened in a tick, for the sounds and the screen.
enum Event : std::uint16_t {
  kShotFired = 1,
  kEmptyClick = 2,
  kEnemyHit = 4,
  kEnemyDied = 8,
  kEnemyFired = 16,
  kPlayerHurt = 32,
  kPickedUp = 64,
  kLevelDone = 128,
  kPlayerDied = 256,
};

// What the player takes from one level to the next.
struct Carry {
  int health = 100, ammo = 30, score = 0;
};

struct Player {
  Vec position;
  int angle = 0;
  Carry carry;
  int cooldown = 0;  // ticks until the gun fires again
  int walked = 0;    // distance walked, for the gun's bob
  // Ticks left of the muzzle flash, the red of a hit, the gold of a pick-up.
  int flash = 0, hurt = 0, glow = 0;
};

enum class EnemyState : std::uint8_t { Idle, Chase, Aim, Pain, Dead };

struct Enemy {
  Vec position;
  int health = 0;
  EnemyState state = EnemyState::Idle;
  int timer = 0;     // ticks left in Aim or Pain
  int cooldown = 0;  // ticks until it may aim again
  int walked = 0;    // for its stride
};

struct Pickup {
  Thing kind = Thing::Health;
  Vec position;
  bool taken = false;
};

struct Shot {
  Vec position, velocity;
};

// The rules' numbers, in cells, ticks and points.
inline constexpr Fixed kPlayerRadius = Ratio(1, 4);
inline constexpr Fixed kWalkSpeed = Ratio(6, 100);
inline constexpr Fixed kRunSpeed = Ratio(10, 100);
inline constexpr int kTurnSpeed = 40;
inline constexpr int kMostHealth = 100, kMostAmmo = 99;

class World {
 public:
  static constexpr int kMostEnemies = 32, kMostPickups = 32, kMostShots = 32;

  World(const Level& level, Carry carry);

  // One tick; the events it made.
  unsigned Tick(TickInput input);

  const Level& level() const { return level_; }
  const Player& player() const { return player_; }
  const Enemy* enemies() const { return enemies_.data(); }
  int enemyCount() const { return enemyCount_; }
  const Pickup* pickups() const { return pickups_.data(); }
  int pickupCount() const { return pickupCount_; }
  const Shot* shots() const { return shots_.data(); }
  int shotCount() const { return shotCount_; }
  int ticks() const { return ticks_; }
  bool finished() const { return finished_; }
  bool dead() const { return player_.carry.health <= 0; }

  // A digest of the whole state: two worlds with the same one played alike.
  std::uint32_t Fingerprint() const;

 private:
  void MovePlayer(TickInput input);
  unsigned Fire();
  unsigned TakePickups();
  unsigned MoveEnemy(Enemy& enemy, int index);
  unsigned MoveShots();
  void Alert(Fixed within);
  void LayTrail();
  Vec TrailFrom(Vec at) const;

  Level level_;
  Player player_;
  std::array<Enemy, kMostEnemies> enemies_{};
  std::array<Pickup, kMostPickups> pickups_{};
  std::array<Shot, kMostShots> shots_{};
  int enemyCount_ = 0, pickupCount_ = 0, shotCount_ = 0;
  StepMap trail_{};  // steps to the player's cell
  int trailFrom_ = -1;
  Random random_;
  int ticks_ = 0;
  bool finished_ = false;
};

}  // namespace ludora::pno0001
