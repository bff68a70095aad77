// libFuzzer target for the skins' decoder: any bytes decode without a
// fault, and a picture that comes out is whole, within the largest side.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "picture/jpeg_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto picture = ludora::DecodeJpeg({data, size});
  if (!picture) return 0;
  const auto& [width, height, pixels] = *picture;
  if (width < 1 || height < 1 || width > ludora::kMaxPictureSide ||
      height > ludora::kMaxPictureSide || pixels.size() != std::size_t(width) * height) {
    std::abort();
  }
  for (const std::uint32_t pixel : pixels)
    if (pixel >> 24 != 0) std::abort();  // 0x00RRGGBB
  return 0;
}
