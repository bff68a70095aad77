// The first-person view: floor and ceiling row by row, the walls column by
// column from one ray each, then the things in the world as sprites behind
// or before the walls (each column's wall distance kept), and the gun.
#pragma once

#include <array>

#include "pno0001/art.h"
#include "pno0001/fixed.h"
#include "pno0001/frame.h"
#include "pno0001/world.h"

namespace ludora::pno0001 {

inline constexpr int kMostWidth = 1024;
// The view's height in a frame: the status bar has the rest, below it.
constexpr int ViewHeight(int frameHeight) {
  return frameHeight - frameHeight / 8;
}

class Renderer {
 public:
  explicit Renderer(const Art& art) : art_(art) {}

  // Draws the player's view over the top ViewHeight rows of `frame`, at
  // most kMostWidth wide.
  void DrawView(const World& world, Frame& frame);

 private:
  struct Camera;
  void DrawSurfaces(const Camera& camera, const Level& level, Frame& view) const;
  void DrawWalls(const Camera& camera, const Level& level, Frame& view);
  void DrawThings(const Camera& camera, const World& world, Frame& view) const;
  void DrawGun(const Player& player, Frame& view) const;

  const Art& art_;
  std::array<Fixed, kMostWidth> depth_{};  // each column's wall distance
};

}  // namespace ludora::pno0001
