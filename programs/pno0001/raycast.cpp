#include "pno0001/raycast.h"

#include <cstdlib>

namespace ludora::pno0001 {

namespace {

// One axis of the walk: the step to the next cell, how far along the ray
// the next edge lies and how far apart the edges are, in the ray's lengths
// (16.16 held in 64 bits: a nearly parallel ray has edges very far apart).
struct Axis {
  int cell, step;
  std::int64_t next, spacing;
};

Axis StartAxis(Fixed origin, Fixed direction) {
  constexpr std::int64_t kNever = std::int64_t{1} << 50;
  Axis axis{CellOf(origin), direction < 0 ? -1 : 1, kNever, kNever};
  if (direction == 0) return axis;
  axis.spacing = (std::int64_t{kOne} << kFractionBits) / std::abs(direction);
  const Fixed toEdge =
      direction < 0 ? origin - ToFixed(axis.cell) : ToFixed(axis.cell + 1) - origin;
  axis.next = (static_cast<std::int64_t>(toEdge) * axis.spacing) >> kFractionBits;
  return axis;
}

}  // namespace

RayHit CastRay(const Level& level, Vec origin, Vec direction) {
  Axis x = StartAxis(origin.x, direction.x), y = StartAxis(origin.y, direction.y);
  RayHit hit;
  std::int64_t distance = 0;
  // Outside the grid every cell is solid, so this ends within a few steps of
  // its edge; the bound only guards against a ray that never moves.
  for (int steps = 0; steps < 4 * kMapSize; ++steps) {
    if (x.next < y.next) {
      distance = x.next;
      x.next += x.spacing;
      x.cell += x.step;
      hit.alongY = true;
    } else {
      distance = y.next;
      y.next += y.spacing;
      y.cell += y.step;
      hit.alongY = false;
    }
    if (level.Solid(x.cell, y.cell)) break;
  }
  hit.distance = static_cast<Fixed>(distance < (std::int64_t{1} << 30) ? distance : 1 << 30);
  hit.cellX = x.cell;
  hit.cellY = y.cell;
  hit.wall = level.At(x.cell, y.cell);
  const Fixed along = hit.alongY ? origin.y + Mul(hit.distance, direction.y)
                                 : origin.x + Mul(hit.distance, direction.x);
  hit.across = along & (kOne - 1);
  return hit;
}

bool ClearLine(const Level& level, Vec from, Vec to) {
  if (from == to) return !level.Solid(CellOf(from.x), CellOf(from.y));
  return CastRay(level, from, to - from).distance >= kOne;
}

}  // namespace ludora::pno0001
