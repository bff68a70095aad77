#include "chitter/formatting.h"

#include <array>
#include <optional>

namespace ludora::chitter {

namespace {

// The 16 colours every client knows, then mIRC's 83 more (16 to 98).
constexpr std::array<std::int32_t, 99> kColours = {
    0xFFFFFF, 0x000000, 0x00007F, 0x009300, 0xFF0000, 0x7F0000, 0x9C009C, 0xFC7F00, 0xFFFF00,
    0x00FC00, 0x009393, 0x00FFFF, 0x0000FC, 0xFF00FF, 0x7F7F7F, 0xD2D2D2, 0x470000, 0x472100,
    0x474700, 0x324700, 0x004700, 0x00472C, 0x004747, 0x002747, 0x000047, 0x2E0047, 0x470047,
    0x47002A, 0x740000, 0x743A00, 0x747400, 0x517400, 0x007400, 0x007449, 0x007474, 0x004074,
    0x000074, 0x4B0074, 0x740074, 0x740045, 0xB50000, 0xB56300, 0xB5B500, 0x7DB500, 0x00B500,
    0x00B571, 0x00B5B5, 0x0063B5, 0x0000B5, 0x7500B5, 0xB500B5, 0xB5006B, 0xFF0000, 0xFF8C00,
    0xFFFF00, 0xB2FF00, 0x00FF00, 0x00FFA0, 0x00FFFF, 0x008CFF, 0x0000FF, 0xA500FF, 0xFF00FF,
    0xFF0098, 0xFF5959, 0xFFB459, 0xFFFF71, 0xCFFF60, 0x6FFF6F, 0x65FFC9, 0x6DFFFF, 0x59B4FF,
    0x5959FF, 0xC459FF, 0xFF66FF, 0xFF59BC, 0xFF9C9C, 0xFFD39C, 0xFFFF9C, 0xE2FF9C, 0x9CFF9C,
    0x9CFFDB, 0x9CFFFF, 0x9CD3FF, 0x9C9CFF, 0xDC9CFF, 0xFF9CFF, 0xFF94D3, 0x000000, 0x131313,
    0x282828, 0x363636, 0x4D4D4D, 0x656565, 0x818181, 0x9F9F9F, 0xBCBCBC, 0xE2E2E2, 0xFFFFFF};

constexpr char kBold = 0x02, kColour = 0x03, kHexColour = 0x04, kReset = 0x0F, kReverse = 0x16,
               kItalic = 0x1D, kStrike = 0x1E, kUnderline = 0x1F;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One or two digits at `at`; the number, or -1 when there are none.
int TakeNumber(std::string_view text, std::size_t& at) {
  if (at >= text.size() || !IsDigit(text[at])) return -1;
  int number = text[at++] - '0';
  if (at < text.size() && IsDigit(text[at])) number = number * 10 + (text[at++] - '0');
  return number;
}

// Six hex digits at `at`; the colour, or -1 when they are not there.
std::int32_t TakeHex(std::string_view text, std::size_t& at) {
  if (at + 6 > text.size()) return -1;
  std::int32_t colour = 0;
  for (std::size_t i = 0; i < 6; ++i) {
    const int digit = HexDigit(text[at + i]);
    if (digit < 0) return -1;
    colour = colour * 16 + digit;
  }
  at += 6;
  return colour;
}

// A colour code after its control character: foreground, then a comma and
// background only when a number follows the comma. Without a number it
// puts both colours back; 99 (or beyond) puts one back.
void TakeColours(std::string_view text, std::size_t& at, bool hex, Style& style,
                 const Style& base) {
  const auto take = [&](std::size_t& from, std::int32_t back) -> std::optional<std::int32_t> {
    if (hex) {
      const std::int32_t colour = TakeHex(text, from);
      return colour < 0 ? std::nullopt : std::optional(colour);
    }
    const int number = TakeNumber(text, from);
    if (number < 0) return std::nullopt;
    const std::int32_t colour = ColourOfNumber(number);
    return colour == kDefaultColour ? back : colour;
  };
  const auto foreground = take(at, base.foreground);
  if (!foreground) {
    style.foreground = base.foreground, style.background = base.background;
    return;
  }
  style.foreground = *foreground;
  if (at < text.size() && text[at] == ',') {
    std::size_t after = at + 1;
    const auto background = take(after, base.background);
    if (!background) return;  // the comma is text
    style.background = *background;
    at = after;
  }
}

bool IsOtherControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

}  // namespace

std::int32_t ColourOfNumber(int number) {
  return number >= 0 && number < static_cast<int>(kColours.size()) ? kColours[number]
                                                                   : kDefaultColour;
}

std::vector<Run> StyledRuns(std::string_view text, const Style& base) {
  std::vector<Run> runs;
  Style style = base;
  std::size_t at = 0;
  while (at < text.size()) {
    const char c = text[at++];
    switch (c) {
      case kBold:
        style.bold = !style.bold;
        continue;
      case kItalic:
        style.italic = !style.italic;
        continue;
      case kUnderline:
        style.underline = !style.underline;
        continue;
      case kStrike:
        style.strike = !style.strike;
        continue;
      case kReverse:
        style.reverse = !style.reverse;
        continue;
      case kReset:
        style = base;
        continue;
      case kColour:
        TakeColours(text, at, false, style, base);
        continue;
      case kHexColour:
        TakeColours(text, at, true, style, base);
        continue;
      default:
        break;
    }
    if (IsOtherControl(c) && c != '\t') continue;
    if (runs.empty() || !(runs.back().style == style)) runs.push_back({style, {}});
    runs.back().text += c == '\t' ? ' ' : c;
  }
  return runs;
}

std::string StripCodes(std::string_view text) {
  std::string plain;
  for (const Run& run : StyledRuns(text)) plain += run.text;
  return plain;
}

}  // namespace ludora::chitter
