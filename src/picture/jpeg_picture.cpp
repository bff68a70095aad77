#include "picture/jpeg_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

// The decoder in brief: the segments are read in order (tables, the frame,
// the scan) up to the end marker; the scan is Huffman-decoded a minimum
// coded unit (MCU: one 8x8 block of each component) at a time; each block is
// dequantized and inverse-transformed, and the three blocks are turned from
// YCbCr into the MCU's pixels. Every read is checked against the end of the
// data, and every segment against its length; a marker the skins do not
// use is refused.
namespace ludora {

namespace {

enum : int {
  kFrame = 0xC0,  // baseline; the other frame kinds are refused
  kHuffmanTables = 0xC4,
  kStart = 0xD8,
  kEnd = 0xD9,
  kScan = 0xDA,
  kQuantTables = 0xDB,
  kFirstApplication = 0xE0,  // application data, skipped
  kLastApplication = 0xEF,
  kComment = 0xFE,  // skipped
};

constexpr int kComponents = 3;  // Y, Cb, Cr

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
  std::array<std::uint8_t, 256> values = {};
};

struct Quant {
  bool defined = false;
  std::array<int, 64> steps = {};  // in stored (zigzag) order
};

struct Component {
  int id = 0, quant = 0, dc = 0, ac = 0;
  int prediction = 0;  // the DC value of its last block
};

using Block = std::array<std::uint8_t, 64>;

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

// To the nearest of 0 to 255.
std::uint8_t Clamp(float value) {
  return static_cast<std::uint8_t>(std::clamp(value, 0.0f, 255.0f) + 0.5f);
}

class Decoder {
 public:
  explicit Decoder(std::span<const std::uint8_t> bytes) : in_(bytes) {}

  std::optional<Picture> Run() {
    if (Byte() != 0xFF || Byte() != kStart) return std::nullopt;
    for (;;) {
      const int marker = Marker();
      const std::size_t length = Word();
      if (!ok_ || length < 2 || length - 2 > in_.size() - at_) return std::nullopt;
      const std::size_t end = at_ + length - 2;
      bool read = true;
      if (marker == kScan) {
        return Scan(end) ? std::optional(std::move(picture_)) : std::nullopt;
      } else if (marker == kFrame) {
        read = Frame();
      } else if (marker == kHuffmanTables) {
        read = HuffmanTables(end);
      } else if (marker == kQuantTables) {
        read = QuantTables(end);
      } else if (marker == kComment ||
                 (marker >= kFirstApplication && marker <= kLastApplication)) {
        at_ = end;
      } else {
        return std::nullopt;  // another frame kind, restart markers, anything else
      }
      if (!read || !ok_ || at_ != end) return std::nullopt;
    }
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
    if (Byte() != 0xFF) return -1;
    int marker = Byte();
    while (marker == 0xFF && ok_) marker = Byte();
    return ok_ ? marker : -1;
  }

  bool Frame() {
    if (framed_ || Byte() != 8) return false;  // bits per sample
    const int height = Word(), width = Word();
    if (Byte() != kComponents || width < 1 || height < 1 || width > kMaxPictureSide ||
        height > kMaxPictureSide) {
      return false;
    }
    for (Component& c : components_) {
      c.id = Byte();
      const int sampling = Byte();
      c.quant = Byte();
      if (sampling != 0x11 || c.quant > 3) return false;  // every component at full resolution
    }
    picture_ = {width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
    framed_ = true;
    return ok_;
  }

  bool QuantTables(std::size_t end) {
    while (at_ < end && ok_) {
      const int id = Byte();  // precision 0 (8 bits) and the table's number
      if (id > 3) return false;
      for (int& step : quant_[id].steps) step = Byte();
      quant_[id].defined = true;
    }
    return ok_;
  }

  bool HuffmanTables(std::size_t end) {
    while (at_ < end && ok_) {
      const int info = Byte();
      const int tableClass = info >> 4, id = info & 15;
      if (tableClass > 1 || id > 1) return false;  // two of each class in a baseline picture
      Huffman& table = huffman_[tableClass][id];
      table = Huffman{};
      int total = 0;
      for (int length = 1; length <= 16; ++length) total += table.count[length] = Byte();
      if (total > 256) return false;
      for (int i = 0; i < total; ++i) table.values[i] = static_cast<std::uint8_t>(Byte());
      int code = 0;
      for (int length = 1; length <= 16; ++length) {
        table.first[length] = code;
        table.offset[length] = table.offset[length - 1] + table.count[length - 1];
        code += table.count[length];
        if (code >= 1 << length) return false;  // more codes than the length has (all ones is none)
        code <<= 1;
      }
      table.defined = true;
    }
    return ok_;
  }

  // ---- The entropy-coded data.

  bool Scan(std::size_t end) {
    if (!framed_ || Byte() != kComponents) return false;
    for (Component& c : components_) {  // in the frame's order
      const int id = Byte(), tables = Byte();
      c.dc = tables >> 4;
      c.ac = tables & 15;
      if (id != c.id || c.dc > 1 || c.ac > 1 || !huffman_[0][c.dc].defined ||
          !huffman_[1][c.ac].defined || !quant_[c.quant].defined) {
        return false;
      }
    }
    // A sequential scan: all 64 coefficients, no successive approximation.
    if (Byte() != 0 || Byte() != 63 || Byte() != 0 || !ok_ || at_ != end) return false;
    for (int top = 0; top < picture_.height; top += 8) {
      for (int left = 0; left < picture_.width; left += 8) {
        std::array<Block, kComponents> blocks;
        for (int i = 0; i < kComponents; ++i) {
          if (!DecodeBlock(components_[i], blocks[i])) return false;
        }
        Put(left, top, blocks);
      }
    }
    // The data ends on a whole byte, padded with one bits; the picture ends there.
    return Marker() == kEnd;
  }

  int Bit() {
    if (bitsLeft_ == 0) {
      bits_ = Byte();
      // A data byte 0xFF is followed by a zero; any other byte makes a
      // marker, and no marker belongs inside the data.
      if (bits_ == 0xFF && Byte() != 0) ok_ = false;
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

  bool DecodeBlock(Component& c, Block& samples) {
    std::array<float, 64> coefficients = {};
    const auto& quant = quant_[c.quant].steps;
    const int dcSize = Symbol(huffman_[0][c.dc]);
    if (dcSize > 11) return false;
    // A sound picture keeps the DC value within 11 bits; a damaged one is
    // held there too, short of overflowing.
    c.prediction = std::clamp(c.prediction + Signed(dcSize), -2048, 2047);
    coefficients[0] = static_cast<float>(c.prediction * quant[0]);
    for (int k = 1; k < 64; ++k) {
      const int rs = Symbol(huffman_[1][c.ac]);
      const int run = rs >> 4, size = rs & 15;
      if (size == 0 && run != 15) break;  // the end of the block; 15 is a run of 16 zeros
      k += run;
      if (k > 63 || size > 10) return false;
      coefficients[kZigzag[k]] = static_cast<float>(Signed(size) * quant[k]);
    }
    if (!ok_) return false;
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
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        float sum = 0;
        for (int v = 0; v < 8; ++v) sum += cos[y][v] * rows[v * 8 + x];
        samples[y * 8 + x] = Clamp(sum + 128);
      }
    }
    return true;
  }

  // The MCU's pixels that lie inside the picture, from YCbCr into RGB.
  void Put(int left, int top, const std::array<Block, kComponents>& blocks) {
    for (int y = 0; y < 8 && top + y < picture_.height; ++y) {
      for (int x = 0; x < 8 && left + x < picture_.width; ++x) {
        const float luma = blocks[0][y * 8 + x];
        const float cb = blocks[1][y * 8 + x] - 128.0f, cr = blocks[2][y * 8 + x] - 128.0f;
        const std::uint32_t r = Clamp(luma + 1.402f * cr);
        const std::uint32_t g = Clamp(luma - 0.344136f * cb - 0.714136f * cr);
        const std::uint32_t b = Clamp(luma + 1.772f * cb);
        picture_.pixels[std::size_t(top + y) * picture_.width + left + x] = r << 16 | g << 8 | b;
      }
    }
  }

  std::span<const std::uint8_t> in_;
  std::size_t at_ = 0;
  bool ok_ = true;
  int bits_ = 0, bitsLeft_ = 0;
  bool framed_ = false;
  Picture picture_;
  std::array<Quant, 4> quant_;
  std::array<std::array<Huffman, 2>, 2> huffman_;  // [DC, AC][table]
  std::array<Component, kComponents> components_;
};

}  // namespace

std::optional<Picture> DecodeJpeg(std::span<const std::uint8_t> bytes) {
  return Decoder(bytes).Run();
}

}  // namespace ludora
