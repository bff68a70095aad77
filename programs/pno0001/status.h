// What is drawn over the view: the status bar (health, ammunition, score,
// level), the best score, the cross-hair, the messages between levels and
// at the end, and the pause menu.
#pragma once

#include <optional>

#include "pno0001/frame.h"
#include "pno0001/session.h"

namespace ludora::pno0001 {

// The status bar's colour and the menu's frame, also what the end-to-end
// tests look for on screen.
inline constexpr std::uint32_t kBarColour = 0x1C2430;
inline constexpr std::uint32_t kMenuFrameColour = 0x80C0FF;

void DrawStatus(const Session& session, Frame& frame);

struct Box {
  int x = 0, y = 0, width = 0, height = 0;
  bool Holds(int px, int py) const {
    return px >= x && py >= y && px < x + width && py < y + height;
  }
};
// Where a menu item is drawn in a frame of that size; which item a point is on.
Box MenuItemBox(int frameWidth, int frameHeight, MenuItem item);
std::optional<MenuItem> MenuItemAt(int frameWidth, int frameHeight, int x, int y);

}  // namespace ludora::pno0001
