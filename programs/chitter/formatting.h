// mIRC's formatting codes, which IRC clients put in text: bold, italics,
// underline, strike-through, reverse, colours by number (\x03 fg[,bg], 0 to
// 98) or by value (\x04 RRGGBB[,RRGGBB]), and \x0F, which ends them all. Read
// into runs of one style, or stripped; other control characters go, so
// nothing shows as garbage.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ludora::chitter {

inline constexpr std::int32_t kDefaultColour = -1;

struct Style {
  std::int32_t foreground = kDefaultColour;  // 0xRRGGBB, or the default
  std::int32_t background = kDefaultColour;
  bool bold = false, italic = false, underline = false, strike = false, reverse = false;
  bool operator==(const Style&) const = default;
};

struct Run {
  Style style;
  std::string text;
  bool operator==(const Run&) const = default;
};

// `base` is the style the text starts in (an action's, a notice's).
std::vector<Run> StyledRuns(std::string_view text, const Style& base = {});
std::string StripCodes(std::string_view text);
// The colour mIRC means by a number, or the default for 99 and beyond.
std::int32_t ColourOfNumber(int number);

}  // namespace ludora::chitter
