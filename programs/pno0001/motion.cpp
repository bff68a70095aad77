#include "pno0001/motion.h"

#include <algorithm>
#include <cstdlib>

namespace ludora::pno0001 {

namespace {

// Moves one coordinate of the body by `step` (at most its half-width); the
// other coordinate is `crossLow`..`crossHigh` in cells. Stops at the face of
// the first wall the moving edge would enter.
Fixed MoveAxis(const Level& level, Fixed at, Fixed step, Fixed radius, int crossLow, int crossHigh,
               bool alongX) {
  const Fixed moved = at + step;
  const int edgeCell = CellOf(step > 0 ? moved + radius : moved - radius);
  for (int cross = crossLow; cross <= crossHigh; ++cross) {
    const bool solid = alongX ? level.Solid(edgeCell, cross) : level.Solid(cross, edgeCell);
    if (!solid) continue;
    // Just short of the wall's face: the body's far edge stays in the cell before.
    return step > 0 ? ToFixed(edgeCell) - radius - 1 : ToFixed(edgeCell + 1) + radius;
  }
  return moved;
}

}  // namespace

Vec MoveBody(const Level& level, Vec from, Vec delta, Fixed radius) {
  const Fixed longest = std::max(std::abs(delta.x), std::abs(delta.y));
  const int steps = std::max(1, longest / std::max<Fixed>(radius, 1) + 1);
  Vec at = from;
  for (int i = 0; i < steps; ++i) {
    // The steps add up to the whole move exactly.
    const auto part = [&](Fixed whole) {
      return static_cast<Fixed>(std::int64_t{whole} * (i + 1) / steps -
                                std::int64_t{whole} * i / steps);
    };
    const Fixed dx = part(delta.x), dy = part(delta.y);
    if (dx != 0)
      at.x = MoveAxis(level, at.x, dx, radius, CellOf(at.y - radius), CellOf(at.y + radius), true);
    if (dy != 0)
      at.y = MoveAxis(level, at.y, dy, radius, CellOf(at.x - radius), CellOf(at.x + radius), false);
  }
  return at;
}

}  // namespace ludora::pno0001
