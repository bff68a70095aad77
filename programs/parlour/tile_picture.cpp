#include "parlour/tile_picture.h"

#include <algorithm>

#include "parlour/file_bytes.h"
#include "platform/paths.h"

namespace ludora::parlour {

std::string PictureFile(WindowsApi& api, const Game& game) {
  if (!game.picture.empty()) return Exists(api, game.picture) ? game.picture : std::string();
  const std::string folder = game.folder.empty() ? FolderOf(game.program) : game.folder;
  const std::string beside = (folder.ends_with('\\') ? folder : folder + "\\") + "folder.jpg";
  return Exists(api, beside) ? beside : std::string();
}

Picture ScaledToFit(const Picture& picture, int width, int height) {
  if (picture.width <= 0 || picture.height <= 0 || width <= 0 || height <= 0) return {};
  // The larger of the two scales that fit, in whole pixels.
  const long long w = picture.width, h = picture.height;
  int tw = width, th = static_cast<int>(std::max(1LL, h * width / w));
  if (th > height) th = height, tw = static_cast<int>(std::max(1LL, w * height / h));
  Picture scaled{tw, th, std::vector<std::uint32_t>(std::size_t(tw) * th)};
  for (int y = 0; y < th; ++y) {
    const int y0 = static_cast<int>(h * y / th),
              y1 = std::max(y0 + 1, static_cast<int>(h * (y + 1) / th));
    for (int x = 0; x < tw; ++x) {
      const int x0 = static_cast<int>(w * x / tw),
                x1 = std::max(x0 + 1, static_cast<int>(w * (x + 1) / tw));
      std::uint64_t r = 0, g = 0, b = 0;
      for (int sy = y0; sy < y1; ++sy) {
        for (int sx = x0; sx < x1; ++sx) {
          const std::uint32_t p = picture.pixels[std::size_t(sy) * picture.width + sx];
          r += p >> 16 & 0xFF, g += p >> 8 & 0xFF, b += p & 0xFF;
        }
      }
      const std::uint64_t n = std::uint64_t(y1 - y0) * (x1 - x0);
      scaled.pixels[std::size_t(y) * tw + x] = static_cast<std::uint32_t>(
          (r + n / 2) / n << 16 | (g + n / 2) / n << 8 | (b + n / 2) / n);
    }
  }
  return scaled;
}

std::optional<Picture> TilePicture(WindowsApi& api, const Game& game, int width, int height) {
  const std::string file = PictureFile(api, game);
  if (file.empty()) return std::nullopt;
  const auto bytes = ReadFileBytes(api, file, kMaxPictureBytes);
  const std::optional<Picture> picture = bytes ? DecodeJpeg(*bytes) : std::nullopt;
  if (!picture) return std::nullopt;
  return ScaledToFit(*picture, width, height);
}

}  // namespace ludora::parlour
