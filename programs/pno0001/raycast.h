// Rays through the grid, cell edge by cell edge (a digital differential
// analyser): the walls the view draws, the player's shots, and what the
// enemies can see.
#pragma once

#include "pno0001/fixed.h"
#include "pno0001/level.h"

namespace ludora::pno0001 {

struct RayHit {
  // How many lengths of the ray's direction from its origin to the wall:
  // for a unit direction the distance itself, for a view column's ray the
  // distance along the view (no fish-eye).
  Fixed distance = 0;
  int cellX = 0, cellY = 0;  // the wall's cell
  bool alongY = false;       // the face hit runs along y (the ray crossed an x edge) or along x
  Fixed across = 0;          // where on the face, 0 to just under 1
  std::uint8_t wall = kOpen;
};

// The first wall from `origin` along `direction` (not zero). A level is walled
// round, and whatever lies outside it is wall too, so every ray ends.
RayHit CastRay(const Level& level, Vec origin, Vec direction);

// Whether nothing solid lies between the two points.
bool ClearLine(const Level& level, Vec from, Vec to);

}  // namespace ludora::pno0001
