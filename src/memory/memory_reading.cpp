#include "memory/memory_reading.h"

#include <cmath>
#include <limits>

namespace ludora {

// Formatting with a digit pattern and reading the text back rounds to the
// whole number nearest, halves away from zero, in every locale: std::round.
std::int16_t MegabyteFigure(std::int32_t totalPhys) {
  return static_cast<std::int16_t>(std::round(totalPhys / 1048576.0));
}

namespace {

// The text "%.15G" makes of `x`: 15 significant digits, rounded half to
// even from x's exact binary value, trailing zeros and point dropped. For 0
// and 1 <= |x| < 2^52, the page-lock figure's range, where no exponent is
// ever written. Worked out here rather than by printf, whose MinGW form
// would bring some 100 KB of formatting code into the program for this alone.
std::string FifteenDigits(double x) {
  if (x == 0) return "0";
  int exponent = 0;
  const double fraction = std::frexp(std::fabs(x), &exponent);  // |x| = fraction * 2^exponent
  const int shift = 53 - exponent;                              // |x| = m / 2^shift exactly
  const auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const std::uint64_t mask = (std::uint64_t{1} << shift) - 1;
  std::string digits = std::to_string(m >> shift);
  std::size_t whole = digits.size();
  std::uint64_t rest = m & mask;
  while (digits.size() < 15) {
    rest *= 10;  // below 2^56: rest < 2^shift <= 2^52
    digits += static_cast<char>('0' + (rest >> shift));
    rest &= mask;
  }
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  if (rest > half || (rest == half && (digits.back() - '0') % 2 == 1)) {
    std::size_t at = digits.size();
    while (at > 0 && digits[at - 1] == '9') digits[--at] = '0';
    if (at > 0) {
      ++digits[at - 1];
    } else {
      digits.insert(digits.begin(), '1');  // 9.99... became 10.0...
      digits.pop_back();
      ++whole;
    }
  }
  std::string text = (x < 0 ? "-" : "") + digits.substr(0, whole);
  std::string decimals = digits.substr(whole);
  while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
  return decimals.empty() ? text : text + "." + decimals;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string PageLockFigure(std::int32_t totalPhys) {
  const double kilobytes = std::round(totalPhys / 1024.0);
  return FifteenDigits(kilobytes * 16384000.0 / 523220.0);
}

// [sign] digits [. digits], rounded on its decimal digits, exactly.
std::optional<std::int32_t> PageLockAsInteger(const std::string& pageLock) {
  std::size_t at = 0;
  const bool negative = !pageLock.empty() && pageLock[0] == '-';
  if (!pageLock.empty() && (pageLock[0] == '-' || pageLock[0] == '+')) ++at;
  const std::size_t digitsFrom = at;
  std::int64_t whole = 0;
  for (; at < pageLock.size() && IsDigit(pageLock[at]); ++at) {
    whole = whole * 10 + (pageLock[at] - '0');
    if (whole > std::int64_t{1} << 32) return std::nullopt;
  }
  bool anyDigit = at > digitsFrom;
  int firstDecimal = 0;
  bool moreAfterIt = false;
  if (at < pageLock.size() && pageLock[at] == '.') {
    for (std::size_t d = ++at; at < pageLock.size() && IsDigit(pageLock[at]); ++at) {
      if (at == d) firstDecimal = pageLock[at] - '0';
      if (at > d && pageLock[at] != '0') moreAfterIt = true;
      anyDigit = true;
    }
  }
  if (!anyDigit || at != pageLock.size()) return std::nullopt;
  if (firstDecimal > 5 || (firstDecimal == 5 && (moreAfterIt || whole % 2 == 1))) ++whole;
  if (negative) whole = -whole;
  if (whole < std::numeric_limits<std::int32_t>::min() ||
      whole > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(whole);
}

void memorycheck(WindowsApi& api, MEMORYSTATUS& record, MemoryFigures& figures) {
  record.dwLength = 32;
  api.GlobalMemoryStatus(&record);
  const auto total = static_cast<std::int32_t>(record.dwTotalPhys);
  figures.megabytes = MegabyteFigure(total);
  figures.pageLock = PageLockFigure(total);
}

}  // namespace ludora
