// The skins are JPEG pictures. The bar decodes them itself rather than ask
// the system's picture loader: that loader is OLE, and loading OLE and its
// codecs took the bar longer, and more memory, than all the rest of its
// start-up together. A general decoder library costs more of the program's
// size than this one, which reads the one kind of picture the skins are.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace ludora {

// Pixels as a device-independent bitmap of 32 bits takes them: 0x00RRGGBB
// each, the top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// The largest side of a picture decoded; a skin is a few hundred pixels.
inline constexpr int kMaxPictureSide = 1024;

// Decodes the kind of JPEG the skins are, what image tools write unless
// asked for more: baseline (sequential, Huffman-coded, 8-bit), YCbCr with
// every component at full resolution, one scan, no restart markers.
// Nothing for any other kind, or for damaged data.
std::optional<Picture> DecodeJpeg(std::span<const std::uint8_t> bytes);

}  // namespace ludora
