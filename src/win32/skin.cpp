#include "win32/skin.h"

#include "picture/jpeg_picture.h"

namespace ludora::win32 {

Skin::Skin(HINSTANCE instance, int resourceId) {
  const HRSRC resource = ::FindResourceA(instance, MAKEINTRESOURCEA(resourceId), RT_RCDATA);
  if (!resource) return;
  const auto* bytes =
      static_cast<const std::uint8_t*>(::LockResource(::LoadResource(instance, resource)));
  if (!bytes) return;
  if (auto decoded = DecodeJpeg({bytes, ::SizeofResource(instance, resource)})) {
    picture_ = std::move(*decoded);
  }
}

void Skin::Draw(HDC target) const {
  if (picture_.pixels.empty()) return;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture_.width;
  info.bmiHeader.biHeight = -picture_.height;  // the top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::SetDIBitsToDevice(target, 0, 0, picture_.width, picture_.height, 0, 0, 0, picture_.height,
                      picture_.pixels.data(), &info, DIB_RGB_COLORS);
}

}  // namespace ludora::win32
