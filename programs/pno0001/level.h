// A level: a square grid of cells, open or walled (each wall with its
// texture), where the player starts, the exit pad, and what stands in it.
// The levels are generated from a short table of seeds: rooms placed at
// random, each joined to the one before by a corridor.
#pragma once

#include <array>
#include <cstdint>

#include "pno0001/fixed.h"

namespace ludora::pno0001 {

inline constexpr int kMapSize = 32;
inline constexpr int kLevelCount = 4;

// What a cell holds: 0 is open floor, anything else a wall of that texture.
enum Wall : std::uint8_t { kOpen = 0, kBrick, kStone, kMetal, kTech, kWood, kWallKinds };

enum class Thing : std::uint8_t { Enemy, Health, Ammo, Treasure };

struct Placement {
  Thing thing = Thing::Enemy;
  Vec position;
};

struct Level {
  int number = 0;  // from 0
  std::array<std::uint8_t, kMapSize * kMapSize> cells{};
  std::uint8_t floor = 0, ceiling = 0;  // surface textures (art.h)
  Vec start;
  int startAngle = 0;
  Vec exit;
  static constexpr int kMostPlacements = 64;
  std::array<Placement, kMostPlacements> placements{};
  int placementCount = 0;

  std::uint8_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= kMapSize || y >= kMapSize) return kStone;
    return cells[y * kMapSize + x];
  }
  bool Solid(int x, int y) const { return At(x, y) != kOpen; }
};

// Level `number` (0 to kLevelCount - 1); the same level every time.
Level MakeLevel(int number);

// The steps from one open cell to every other through open cells, across
// their sides (a breadth-first walk); kUnreachable where there is no way.
inline constexpr std::uint16_t kUnreachable = 0xFFFF;
using StepMap = std::array<std::uint16_t, kMapSize * kMapSize>;
void CountSteps(const Level& level, int x, int y, StepMap& steps);
// The four cells beside one, as steps along x and y.
inline constexpr struct { int dx, dy; } kNeighbours[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};

}  // namespace ludora::pno0001
