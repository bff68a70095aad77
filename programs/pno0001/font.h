// The game's one typeface, for the status bar, the messages and the menu.
#pragma once

#include <cstdint>

#include "pno0001/frame.h"

namespace ludora::pno0001 {

inline constexpr int kGlyphWidth = 5, kGlyphHeight = 7;

// The width of `text` in pixels, each glyph's pixel drawn `scale` wide.
int TextWidth(const char* text, int scale);
// Capitals, digits and : - ! . / > ; other characters leave a gap.
void WriteText(Frame& frame, int x, int y, int scale, std::uint32_t colour, const char* text);
void WriteCentred(Frame& frame, int y, int scale, std::uint32_t colour, const char* text);

// `value` in decimal into `text` (12 characters at least); returns `text`.
char* FormatNumber(int value, char* text);

}  // namespace ludora::pno0001
