#include "pno0001/frame.h"

#include <algorithm>

namespace ludora::pno0001 {

namespace {

// Calls `paint` on each row's part inside the frame.
template <typename Paint>
void ForRows(Frame& frame, int x, int y, int width, int height, Paint&& paint) {
  const int left = std::max(x, 0), right = std::min(x + width, frame.width);
  const int top = std::max(y, 0), bottom = std::min(y + height, frame.height);
  if (left >= right) return;
  for (int row = top; row < bottom; ++row) paint(frame.Row(row) + left, frame.Row(row) + right);
}

}  // namespace

void FillRect(Frame& frame, int x, int y, int width, int height, std::uint32_t colour) {
  ForRows(frame, x, y, width, height,
          [&](std::uint32_t* from, std::uint32_t* to) { std::fill(from, to, colour); });
}

void Darken(Frame& frame, int x, int y, int width, int height) {
  ForRows(frame, x, y, width, height, [](std::uint32_t* from, std::uint32_t* to) {
    for (; from != to; ++from) *from = (*from >> 1) & 0x7F7F7F;
  });
}

}  // namespace ludora::pno0001
