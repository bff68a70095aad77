#include "shell/jpeg_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

// The decoder in brief: the markers are read in order (tables, frame,
// scans) up to the end marker; each scan is Huffman-decoded block by block,
// interleaved a minimum coded unit (MCU) at a time or, for one component
// alone, over its own size, with restart markers resetting the predictions;
// each block is dequantized and inverse-transformed into its component's
// plane; at the end the planes are upsampled by repetition and turned from
// YCbCr into RGB. Every read is checked against the end of the data.
namespace ludora {

namespace {

// The order in which a block's 64 coefficients are stored.
constexpr std::array<std::uint8_t, 64> kZigzag = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

struct Huffman {
  bool defined = false;
  std::array<int, 17> first = {};   // the first code of each length
  std::array<int, 17> count = {};   // how many codes of each length
  std::array<int, 17> offset = {};  // where the values of each length start
  std::vector<std::uint8_t> values;
};

struct Component {
  int id = 0, h = 1, v = 1, quant = 0, dc = 0, ac = 0;
  int blocksWide = 0, blocksHigh = 0;  // of its plane, padded to whole MCUs
  int prediction = 0;
  std::vector<std::uint8_t> plane;
};

// 0.5 C(u) cos((2x + 1) u pi / 16), the inverse transform along one axis.
const std::array<std::array<float, 8>, 8>& Cosines() {
  static const auto table = [] {
    std::array<std::array<float, 8>, 8> c = {};
    for (int x = 0; x < 8; ++x) {
      for (int u = 0; u < 8; ++u) {
        c[x][u] = static_cast<float>((u == 0 ? std::sqrt(0.5) : 1.0) * 0.5 *
                                     std::cos((2 * x + 1) * u * 3.14159265358979 / 16));
      }
    }
    return c;
  }();
  return table;
}

std::uint8_t Clamp(float value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

class Decoder {
 public:
  explicit Decoder(std::span<const std::uint8_t> bytes) : in_(bytes) {}

  std::optional<Picture> Run() {
    if (Byte() != 0xFF || Byte() != 0xD8) return std::nullopt;  // SOI
    for (;;) {
      const int marker = Marker();
      if (marker < 0 || !ok_) return std::nullopt;
      if (marker == 0xD9) break;  // EOI
      const std::size_t length = Word();
      if (length < 2 || at_ + length - 2 > in_.size()) return std::nullopt;
      const std::size_t end = at_ + length - 2;
      switch (marker) {
        case 0xC0:  // baseline
        case 0xC1:  // extended sequential, read the same way with 8-bit samples
          if (!Frame()) return std::nullopt;
          break;
        case 0xC4:
          if (!HuffmanTables(end)) return std::nullopt;
          break;
        case 0xDB:
          if (!QuantTables(end)) return std::nullopt;
          break;
        case 0xDD:
          restartInterval_ = Word();
          break;
        case 0xDA:
          if (!Scan()) return std::nullopt;
          continue;  // the scan read up to the next marker itself
        default:
          // Any other frame kind (progressive, arithmetic, lossless) is not for us.
          if (marker >= 0xC2 && marker <= 0xCF) return std::nullopt;
          break;  // application data, comments
      }
      at_ = end;
    }
    if (components_.empty() || !scanned_) return std::nullopt;
    return Pixels();
  }

 private:
  int Byte() {
    if (at_ >= in_.size()) {
      ok_ = false;
      return 0;
    }
    return in_[at_++];
  }
  int Word() {
    const int high = Byte();
    return high << 8 | Byte();
  }
  // The next marker, past any fill bytes; -1 when there is none.
  int Marker() {
    if (pendingMarker_ >= 0) return std::exchange(pendingMarker_, -1);
    if (Byte() != 0xFF) return -1;
    int marker = Byte();
    while (marker == 0xFF && ok_) marker = Byte();
    return ok_ ? marker : -1;
  }

  bool Frame() {
    if (Byte() != 8) return false;  // bits per sample
    height_ = Word();
    width_ = Word();
    const int count = Byte();
    if (!components_.empty() || width_ <= 0 || height_ <= 0 || width_ > kMaxPictureSide ||
        height_ > kMaxPictureSide || (count != 1 && count != 3)) {
      return false;
    }
    for (int i = 0; i < count; ++i) {
      Component c;
      c.id = Byte();
      const int sampling = Byte();
      c.h = sampling >> 4;
      c.v = sampling & 15;
      c.quant = Byte();
      if (c.h < 1 || c.h > 2 || c.v < 1 || c.v > 2 || c.quant > 3) return false;
      maxH_ = std::max(maxH_, c.h);
      maxV_ = std::max(maxV_, c.v);
      components_.push_back(c);
    }
    mcusWide_ = (width_ + 8 * maxH_ - 1) / (8 * maxH_);
    mcusHigh_ = (height_ + 8 * maxV_ - 1) / (8 * maxV_);
    for (Component& c : components_) {
      c.blocksWide = mcusWide_ * c.h;
      c.blocksHigh = mcusHigh_ * c.v;
      c.plane.assign(static_cast<std::size_t>(c.blocksWide) * c.blocksHigh * 64, 0);
    }
    return ok_;
  }

  bool QuantTables(std::size_t end) {
    while (at_ < end && ok_) {
      const int info = Byte();
      const int precision = info >> 4, id = info & 15;
      if (id > 3 || precision > 1) return false;
      for (int k = 0; k < 64; ++k) quant_[id][k] = precision ? Word() : Byte();
    }
    return ok_;
  }

  bool HuffmanTables(std::size_t end) {
    while (at_ < end && ok_) {
      const int info = Byte();
      const int tableClass = info >> 4, id = info & 15;
      if (tableClass > 1 || id > 3) return false;
      Huffman& table = huffman_[tableClass][id];
      table = Huffman{};
      int total = 0;
      for (int length = 1; length <= 16; ++length) total += table.count[length] = Byte();
      if (total > 256) return false;
      for (int i = 0; i < total; ++i) table.values.push_back(static_cast<std::uint8_t>(Byte()));
      int code = 0, offset = 0;
      for (int length = 1; length <= 16; ++length) {
        table.first[length] = code;
        table.offset[length] = offset;
        code = (code + table.count[length]) << 1;
        offset += table.count[length];
      }
      table.defined = true;
    }
    return ok_;
  }

  // ---- The entropy-coded data.

  int Bit() {
    if (bitsLeft_ == 0) {
      if (pendingMarker_ >= 0 || at_ >= in_.size()) return 0;  // past the data: zeros
      int byte = in_[at_++];
      if (byte == 0xFF) {
        const int next = at_ < in_.size() ? in_[at_] : 0;
        if (next == 0) {
          ++at_;  // a stuffed data byte
        } else {
          while (at_ < in_.size() && in_[at_] == 0xFF) ++at_;
          pendingMarker_ = at_ < in_.size() ? in_[at_++] : 0xD9;
          return 0;
        }
      }
      bits_ = byte;
      bitsLeft_ = 8;
    }
    return bits_ >> --bitsLeft_ & 1;
  }
  int Bits(int count) {
    int value = 0;
    while (count-- > 0) value = value << 1 | Bit();
    return value;
  }
  // A coefficient of `size` bits, its sign folded in the JPEG way.
  int Signed(int size) {
    if (size == 0) return 0;
    const int value = Bits(size);
    return value < (1 << (size - 1)) ? value - (1 << size) + 1 : value;
  }
  int Symbol(const Huffman& table) {
    int code = 0;
    for (int length = 1; length <= 16; ++length) {
      code = code << 1 | Bit();
      if (code - table.first[length] < table.count[length]) {
        return table.values[table.offset[length] + code - table.first[length]];
      }
    }
    ok_ = false;
    return 0;
  }

  bool Scan() {
    const int count = Byte();
    if (count < 1 || count > static_cast<int>(components_.size())) return false;
    std::vector<Component*> scan;
    for (int i = 0; i < count; ++i) {
      const int id = Byte(), tables = Byte();
      const auto c = std::find_if(components_.begin(), components_.end(),
                                  [&](const Component& k) { return k.id == id; });
      if (c == components_.end() || (tables >> 4) > 3 || (tables & 15) > 3) return false;
      c->dc = tables >> 4;
      c->ac = tables & 15;
      if (!huffman_[0][c->dc].defined || !huffman_[1][c->ac].defined) return false;
      c->prediction = 0;
      scan.push_back(&*c);
    }
    at_ += 3;  // spectral selection and approximation: fixed in a sequential scan
    if (!ok_ || at_ > in_.size()) return false;
    bitsLeft_ = 0;
    // One component alone is stored block by block over its own size;
    // several interleave, a whole MCU at a time.
    const Component& single = *scan.front();
    const int unitsWide =
        count == 1 ? ((width_ * single.h + maxH_ - 1) / maxH_ + 7) / 8 : mcusWide_;
    const int unitsHigh =
        count == 1 ? ((height_ * single.v + maxV_ - 1) / maxV_ + 7) / 8 : mcusHigh_;
    for (int unit = 0; unit < unitsWide * unitsHigh; ++unit) {
      if (restartInterval_ > 0 && unit > 0 && unit % restartInterval_ == 0 && !Restart(scan)) {
        return false;
      }
      const int ux = unit % unitsWide, uy = unit / unitsWide;
      for (Component* c : scan) {
        const int across = count == 1 ? 1 : c->h, down = count == 1 ? 1 : c->v;
        for (int by = 0; by < down; ++by) {
          for (int bx = 0; bx < across; ++bx) {
            if (!Block(*c, ux * across + bx, uy * down + by)) return false;
          }
        }
      }
    }
    scanned_ = true;
    bitsLeft_ = 0;
    // Up to the next marker; data bytes left over are skipped.
    while (pendingMarker_ < 0 && at_ < in_.size()) {
      if (in_[at_] == 0xFF && at_ + 1 < in_.size() && in_[at_ + 1] != 0 &&
          (in_[at_ + 1] < 0xD0 || in_[at_ + 1] > 0xD7)) {
        break;
      }
      ++at_;
    }
    return true;
  }

  bool Restart(const std::vector<Component*>& scan) {
    bitsLeft_ = 0;
    if (pendingMarker_ < 0) {  // the marker has not been met in the bits yet
      while (at_ < in_.size() && in_[at_] != 0xFF) ++at_;
      pendingMarker_ = Marker();
    }
    const int marker = std::exchange(pendingMarker_, -1);
    if (marker < 0xD0 || marker > 0xD7) return false;
    for (Component* c : scan) c->prediction = 0;
    return true;
  }

  bool Block(Component& c, int blockX, int blockY) {
    std::array<float, 64> coefficients = {};
    const auto& quant = quant_[c.quant];
    const int dcSize = Symbol(huffman_[0][c.dc]);
    if (dcSize > 11) return false;
    // A sound picture keeps the DC value within 11 bits; a damaged one is
    // held there too, short of overflowing.
    c.prediction = std::clamp(c.prediction + Signed(dcSize), -2048, 2047);
    coefficients[0] = static_cast<float>(c.prediction * quant[0]);
    for (int k = 1; k < 64;) {
      const int rs = Symbol(huffman_[1][c.ac]);
      const int run = rs >> 4, size = rs & 15;
      if (size == 0) {
        if (run != 15) break;  // the end of the block
        k += 16;
        continue;
      }
      k += run;
      if (k > 63) return false;
      coefficients[kZigzag[k]] = static_cast<float>(Signed(size) * quant[k]);
      ++k;
    }
    if (!ok_) return false;
    if (blockX >= c.blocksWide || blockY >= c.blocksHigh) return true;  // padding
    // The inverse transform, rows then columns.
    const auto& cos = Cosines();
    std::array<float, 64> rows = {};
    for (int v = 0; v < 8; ++v) {
      for (int x = 0; x < 8; ++x) {
        float sum = 0;
        for (int u = 0; u < 8; ++u) sum += cos[x][u] * coefficients[v * 8 + u];
        rows[v * 8 + x] = sum;
      }
    }
    const int stride = c.blocksWide * 8;
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        float sum = 0;
        for (int v = 0; v < 8; ++v) sum += cos[y][v] * rows[v * 8 + x];
        c.plane[static_cast<std::size_t>(blockY * 8 + y) * stride + blockX * 8 + x] =
            Clamp(sum + 128);
      }
    }
    return true;
  }

  // ---- The picture.

  std::uint8_t Sample(const Component& c, int x, int y) const {
    const int cx = x * c.h / maxH_, cy = y * c.v / maxV_;
    return c.plane[static_cast<std::size_t>(cy) * c.blocksWide * 8 + cx];
  }

  Picture Pixels() const {
    Picture picture{width_, height_, {}};
    picture.pixels.reserve(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const float luma = Sample(components_[0], x, y);
        std::uint8_t r = Clamp(luma), g = r, b = r;
        if (components_.size() == 3) {
          const float cb = Sample(components_[1], x, y) - 128.0f;
          const float cr = Sample(components_[2], x, y) - 128.0f;
          r = Clamp(luma + 1.402f * cr);
          g = Clamp(luma - 0.344136f * cb - 0.714136f * cr);
          b = Clamp(luma + 1.772f * cb);
        }
        picture.pixels.push_back(std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b);
      }
    }
    return picture;
  }

  std::span<const std::uint8_t> in_;
  std::size_t at_ = 0;
  bool ok_ = true;
  int pendingMarker_ = -1;  // a marker met inside the entropy-coded data
  int bits_ = 0, bitsLeft_ = 0;
  int width_ = 0, height_ = 0, maxH_ = 1, maxV_ = 1, mcusWide_ = 0, mcusHigh_ = 0;
  int restartInterval_ = 0;
  bool scanned_ = false;
  std::array<std::array<int, 64>, 4> quant_ = {};
  std::array<std::array<Huffman, 4>, 2> huffman_;  // [DC, AC][table]
  std::vector<Component> components_;
};

}  // namespace

std::optional<Picture> DecodeJpeg(std::span<const std::uint8_t> bytes) {
  return Decoder(bytes).Run();
}

}  // namespace ludora
