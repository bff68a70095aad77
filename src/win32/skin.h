// A window's background picture: a JPEG resource decoded once by the
// system's picture loader and kept as a bitmap.
#pragma once

#include "win32/win.h"

namespace ludora::win32 {

class Skin {
 public:
  Skin(HINSTANCE instance, int resourceId);
  ~Skin();
  Skin(const Skin&) = delete;
  Skin& operator=(const Skin&) = delete;

  // Draws the picture unscaled with its top-left corner at (0, 0).
  void Draw(HDC target) const;
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace ludora::win32
