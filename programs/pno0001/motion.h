// Movement through the grid: a square body that never enters a wall and
// slides along one it runs into.
#pragma once

#include "pno0001/fixed.h"
#include "pno0001/level.h"

namespace ludora::pno0001 {

// Where a body of half-width `radius` at `from` (not in a wall) ends after
// trying to move by `delta`: each axis in turn, so that a move into a wall
// keeps its part along the wall, and stopped right at the wall's face. Moves
// longer than the body are made in steps, so it never passes through a wall.
Vec MoveBody(const Level& level, Vec from, Vec delta, Fixed radius);

}  // namespace ludora::pno0001
