// The picture the game draws into: 32-bit pixels 0x00RRGGBB, rows top down,
// the memory its owner's (the window's DIB on Windows).
#pragma once

#include <cstdint>

namespace ludora::pno0001 {

struct Frame {
  std::uint32_t* pixels = nullptr;
  int width = 0, height = 0;
  std::uint32_t* Row(int y) const { return pixels + y * width; }
};

// A rectangle of one colour, cut to the frame.
void FillRect(Frame& frame, int x, int y, int width, int height, std::uint32_t colour);
// Halves the brightness of a rectangle (behind a menu), cut to the frame.
void Darken(Frame& frame, int x, int y, int width, int height);

}  // namespace ludora::pno0001
