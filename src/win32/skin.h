// A window's background picture: a JPEG resource, decoded once.
#pragma once

#include "picture/jpeg_picture.h"
#include "win32/win.h"

namespace ludora::win32 {

class Skin {
 public:
  Skin(HINSTANCE instance, int resourceId);

  // Draws the picture unscaled with its top-left corner at (0, 0); nothing
  // when the resource could not be decoded.
  void Draw(HDC target) const;

 private:
  Picture picture_;
};

}  // namespace ludora::win32
