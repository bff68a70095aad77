#include "pno0001/world.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

#include "pno0001/motion.h"
#include "pno0001/raycast.h"

namespace ludora::pno0001 {

namespace {

constexpr Fixed kEnemyRadius = Ratio(1, 4);
constexpr Fixed kEnemySpeed = Ratio(3, 100);
constexpr Fixed kShotSpeed = Ratio(12, 100);
constexpr Fixed kShotReach = Ratio(35, 100);  // a shot this close to the player hits
constexpr Fixed kAimWidth = Ratio(3, 10);     // the player's shots hit this far either side
constexpr Fixed kPickupReach = Ratio(1, 2);
constexpr Fixed kSight = ToFixed(14);     // enemies see the player this far
constexpr Fixed kHearing = ToFixed(8);    // and hear the gun this far
constexpr Fixed kKeepAway = Ratio(3, 2);  // and come no closer than this
constexpr int kFireDelay = 14, kAimTicks = 24, kPainTicks = 12;
// What the strides and the gun's sway count from goes round every 256 cells.
constexpr Fixed kWalkedWraps = (256 << kFractionBits) - 1;
constexpr int kKillPoints = 100, kTreasurePoints = 250, kExitPoints = 1000;

Fixed Distance(Vec a, Vec b) {
  return Length(b - a);
}

}  // namespace

World::World(const Level& level, Carry carry)
    : level_(level), random_(0x51ED5EEDu + static_cast<std::uint32_t>(level.number) * 7919u) {
  player_.position = level_.start;
  player_.angle = level_.startAngle;
  player_.carry = carry;
  for (int i = 0; i < level_.placementCount; ++i) {
    const Placement& placed = level_.placements[i];
    if (placed.thing == Thing::Enemy) {
      if (enemyCount_ == kMostEnemies) continue;
      Enemy& enemy = enemies_[enemyCount_++];
      enemy.position = placed.position;
      enemy.health = 40 + 10 * level_.number;
      enemy.cooldown = random_.Between(30, 90);
    } else if (pickupCount_ < kMostPickups) {
      pickups_[pickupCount_++] = {placed.thing, placed.position, false};
    }
  }
}

unsigned World::Tick(TickInput input) {
  if (finished_ || dead()) return 0;
  ++ticks_;
  for (int* counter : {&player_.cooldown, &player_.flash, &player_.hurt, &player_.glow})
    if (*counter > 0) --*counter;
  MovePlayer(input);
  LayTrail();
  unsigned events = 0;
  if ((input.buttons & kFire) && player_.cooldown == 0) events |= Fire();
  events |= TakePickups();
  for (int i = 0; i < enemyCount_; ++i) events |= MoveEnemy(enemies_[i], i);
  events |= MoveShots();
  if (dead()) {
    player_.carry.health = 0;
    events |= kPlayerDied;
  } else if (Distance(player_.position, level_.exit) < kPickupReach) {
    finished_ = true;
    player_.carry.score += kExitPoints;
    events |= kLevelDone;
  }
  return events;
}

void World::MovePlayer(TickInput input) {
  const unsigned held = input.buttons;
  int turn = input.turn;
  if (held & kTurnLeft) turn -= kTurnSpeed;
  if (held & kTurnRight) turn += kTurnSpeed;
  player_.angle = WrapAngle(player_.angle + turn);
  const Vec ahead = Direction(player_.angle), right{-ahead.y, ahead.x};
  Vec wish;
  if (held & kForward) wish = wish + ahead;
  if (held & kBack) wish = wish - ahead;
  if (held & kStrafeRight) wish = wish + right;
  if (held & kStrafeLeft) wish = wish - right;
  if (wish == Vec{}) return;
  const Vec step = WithLength(wish, (held & kRun) ? kRunSpeed : kWalkSpeed);
  const Vec before = player_.position;
  player_.position = MoveBody(level_, before, step, kPlayerRadius);
  player_.walked = (player_.walked + Distance(before, player_.position)) & kWalkedWraps;
}

// The gun hits the nearest living enemy close enough to the line of fire,
// short of the first wall on it.
unsigned World::Fire() {
  if (player_.carry.ammo == 0) {
    player_.cooldown = kFireDelay;
    return kEmptyClick;
  }
  --player_.carry.ammo;
  player_.cooldown = kFireDelay;
  player_.flash = 6;
  Alert(kHearing);
  const Vec ahead = Direction(player_.angle);
  Fixed nearest = CastRay(level_, player_.position, ahead).distance;
  Enemy* target = nullptr;
  for (int i = 0; i < enemyCount_; ++i) {
    Enemy& enemy = enemies_[i];
    if (enemy.state == EnemyState::Dead) continue;
    const Vec offset = enemy.position - player_.position;
    const Fixed along = Dot(offset, ahead);
    const Fixed aside = Mul(offset.x, ahead.y) - Mul(offset.y, ahead.x);
    if (along > 0 && along < nearest && std::abs(aside) < kAimWidth)
      nearest = along, target = &enemy;
  }
  if (!target) return kShotFired;
  target->health -= random_.Between(15, 25);
  if (target->health <= 0) {
    target->state = EnemyState::Dead;
    player_.carry.score += kKillPoints;
    return kShotFired | kEnemyDied;
  }
  target->state = EnemyState::Pain;
  target->timer = kPainTicks;
  return kShotFired | kEnemyHit;
}

unsigned World::TakePickups() {
  unsigned events = 0;
  Carry& carry = player_.carry;
  for (int i = 0; i < pickupCount_; ++i) {
    Pickup& pickup = pickups_[i];
    if (pickup.taken || Distance(player_.position, pickup.position) >= kPickupReach) continue;
    // Health and ammunition stay where they lie while the player has all he can carry.
    if (pickup.kind == Thing::Health) {
      if (carry.health >= kMostHealth) continue;
      carry.health = std::min(kMostHealth, carry.health + 25);
    } else if (pickup.kind == Thing::Ammo) {
      if (carry.ammo >= kMostAmmo) continue;
      carry.ammo = std::min(kMostAmmo, carry.ammo + 12);
    } else {
      carry.score += kTreasurePoints;
    }
    pickup.taken = true;
    player_.glow = 8;
    events |= kPickedUp;
  }
  return events;
}

// Idle enemies look for the player now and then; chasing ones close in and,
// seeing him, aim for a moment and fire; a hit stuns them briefly.
unsigned World::MoveEnemy(Enemy& enemy, int index) {
  if (enemy.cooldown > 0) --enemy.cooldown;
  const Fixed distance = Distance(enemy.position, player_.position);
  switch (enemy.state) {
    case EnemyState::Dead:
      return 0;
    case EnemyState::Idle:
      // Each enemy looks in its own tick of every eight, which spreads the rays.
      if ((ticks_ + index) % 8 == 0 && distance < kSight &&
          ClearLine(level_, enemy.position, player_.position))
        enemy.state = EnemyState::Chase;
      return 0;
    case EnemyState::Pain:
      if (--enemy.timer <= 0) enemy.state = EnemyState::Chase;
      return 0;
    case EnemyState::Aim: {
      if (--enemy.timer > 0) return 0;
      enemy.state = EnemyState::Chase;
      enemy.cooldown = random_.Between(70, 140);
      if (shotCount_ == kMostShots) return 0;
      const Vec toPlayer = player_.position - enemy.position;
      shots_[shotCount_++] = {enemy.position, WithLength(toPlayer, kShotSpeed)};
      return kEnemyFired;
    }
    case EnemyState::Chase:
      break;
  }
  const bool sees = distance < kSight && ClearLine(level_, enemy.position, player_.position);
  if (sees && enemy.cooldown == 0) {
    enemy.state = EnemyState::Aim;
    enemy.timer = kAimTicks;
    return 0;
  }
  if (distance > kKeepAway) {
    // Straight at a player in sight; else down the trail, cell by cell.
    const Vec before = enemy.position;
    const Vec goal = sees ? player_.position : TrailFrom(before);
    enemy.position = MoveBody(level_, before, WithLength(goal - before, kEnemySpeed), kEnemyRadius);
    enemy.walked = (enemy.walked + Distance(before, enemy.position)) & kWalkedWraps;
  }
  return 0;
}

// The steps to the player's cell from every other, counted again when he
// enters another cell.
void World::LayTrail() {
  const int x = CellOf(player_.position.x), y = CellOf(player_.position.y);
  if (y * kMapSize + x == trailFrom_) return;
  trailFrom_ = y * kMapSize + x;
  CountSteps(level_, x, y, trail_);
}

// The middle of the neighbouring cell nearer the player than this one.
Vec World::TrailFrom(Vec at) const {
  const int x = CellOf(at.x), y = CellOf(at.y);
  Vec goal = CellCentre(x, y);
  std::uint16_t best = level_.Solid(x, y) ? kUnreachable : trail_[y * kMapSize + x];
  for (const auto& [dx, dy] : kNeighbours) {
    if (level_.Solid(x + dx, y + dy)) continue;
    const std::uint16_t steps = trail_[(y + dy) * kMapSize + x + dx];
    if (steps < best) best = steps, goal = CellCentre(x + dx, y + dy);
  }
  return goal;
}

unsigned World::MoveShots() {
  unsigned events = 0;
  for (int i = 0; i < shotCount_;) {
    Shot& shot = shots_[i];
    shot.position = shot.position + shot.velocity;
    const bool hitsPlayer = Distance(shot.position, player_.position) < kShotReach;
    if (hitsPlayer) {
      player_.carry.health -= random_.Between(6, 14);
      player_.hurt = 10;
      events |= kPlayerHurt;
    }
    if (hitsPlayer || level_.Solid(CellOf(shot.position.x), CellOf(shot.position.y)))
      shot = shots_[--shotCount_];  // the last one takes its place
    else
      ++i;
  }
  return events;
}

// The gun wakes the idle enemies within earshot.
void World::Alert(Fixed within) {
  for (int i = 0; i < enemyCount_; ++i)
    if (enemies_[i].state == EnemyState::Idle &&
        Distance(enemies_[i].position, player_.position) < within)
      enemies_[i].state = EnemyState::Chase;
}

std::uint32_t World::Fingerprint() const {
  std::uint32_t hash = 2166136261u;
  const auto mix = [&](std::int64_t value) {
    for (int byte = 0; byte < 8; ++byte, value >>= 8)
      hash = (hash ^ static_cast<std::uint32_t>(value & 0xFF)) * 16777619u;
  };
  for (std::int64_t value :
       {std::int64_t{player_.position.x}, std::int64_t{player_.position.y},
        std::int64_t{player_.angle}, std::int64_t{player_.carry.health},
        std::int64_t{player_.carry.ammo}, std::int64_t{player_.carry.score}, std::int64_t{ticks_},
        std::int64_t{random_.state()}, std::int64_t{shotCount_}, std::int64_t{finished_}})
    mix(value);
  for (int i = 0; i < enemyCount_; ++i) {
    const Enemy& enemy = enemies_[i];
    for (std::int64_t value : {std::int64_t{enemy.position.x}, std::int64_t{enemy.position.y},
                               std::int64_t{enemy.health}, static_cast<std::int64_t>(enemy.state)})
      mix(value);
  }
  for (int i = 0; i < pickupCount_; ++i) mix(pickups_[i].taken);
  for (int i = 0; i < shotCount_; ++i) mix(shots_[i].position.x), mix(shots_[i].position.y);
  return hash;
}

}  // namespace ludora::pno0001
