#include "pno0001/font.h"

#include <cstring>

namespace ludora::pno0001 {

namespace {

// 5 x 7 capitals, digits and a few signs: 35 bits a glyph, the top row in the
// highest five bits, each row's left pixel in its highest bit.
constexpr char kCharacters[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ:-!./>";
constexpr std::uint64_t kGlyphs[] = {
    0x3A33AE62E,  // 0
    0x11842108E,  // 1
    0x3A211111F,  // 2
    0x7C441062E,  // 3
    0x08CA97C42,  // 4
    0x7E1E0862E,  // 5
    0x1910F462E,  // 6
    0x7C2222108,  // 7
    0x3A317462E,  // 8
    0x3A317844C,  // 9
    0x3A31FC631,  // A
    0x7A31F463E,  // B
    0x3A308422E,  // C
    0x72518C65C,  // D
    0x7E10F421F,  // E
    0x7E10F4210,  // F
    0x3A30BC62F,  // G
    0x4631FC631,  // H
    0x38842108E,  // I
    0x1C4210A4C,  // J
    0x4654C5251,  // K
    0x42108421F,  // L
    0x4775AC631,  // M
    0x4639ACE31,  // N
    0x3A318C62E,  // O
    0x7A31F4210,  // P
    0x3A318D64D,  // Q
    0x7A31F5251,  // R
    0x3E107043E,  // S
    0x7C8421084,  // T
    0x46318C62E,  // U
    0x46318C544,  // V
    0x4631AD6AA,  // W
    0x462A22A31,  // X
    0x463151084,  // Y
    0x7C222221F,  // Z
    0x018C03180,  // :
    0x0000F8000,  // -
    0x108421004,  // !
    0x00000018C,  // .
    0x042222210,  // /
    0x208208888,  // >
};
static_assert(sizeof kGlyphs / sizeof kGlyphs[0] == sizeof kCharacters - 1);

}  // namespace

char* FormatNumber(int value, char* text) {
  char reversed[12];
  int length = 0;
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    reversed[length++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  char* out = text;
  if (value < 0) *out++ = '-';
  while (length > 0) *out++ = reversed[--length];
  *out = '\0';
  return text;
}

int TextWidth(const char* text, int scale) {
  const int length = static_cast<int>(std::strlen(text));
  return length == 0 ? 0 : (length * (kGlyphWidth + 1) - 1) * scale;
}

void WriteText(Frame& frame, int x, int y, int scale, std::uint32_t colour, const char* text) {
  for (; *text; ++text, x += (kGlyphWidth + 1) * scale) {
    const char* found = std::strchr(kCharacters, *text);
    if (*text == ' ' || !found) continue;  // unknown characters stay blank
    const std::uint64_t glyph = kGlyphs[found - kCharacters];
    for (int row = 0; row < kGlyphHeight; ++row)
      for (int column = 0; column < kGlyphWidth; ++column) {
        const int bit = (kGlyphHeight - 1 - row) * kGlyphWidth + (kGlyphWidth - 1 - column);
        if ((glyph >> bit) & 1)
          FillRect(frame, x + column * scale, y + row * scale, scale, scale, colour);
      }
  }
}

void WriteCentred(Frame& frame, int y, int scale, std::uint32_t colour, const char* text) {
  WriteText(frame, (frame.width - TextWidth(text, scale)) / 2, y, scale, colour, text);
}

}  // namespace ludora::pno0001
