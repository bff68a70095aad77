#include "pno0001/fixed.h"

namespace ludora::pno0001 {

namespace {

// Series in 2.30 fixed point, for |x| <= pi/4, where the terms up to x^9
// leave an error far below the 16.16 result's last bit.
constexpr std::int64_t kQ30 = std::int64_t{1} << 30;
constexpr std::int64_t kPiQ30 = 3373259426;  // pi * 2^30

std::int64_t MulQ30(std::int64_t a, std::int64_t b) {
  return (a * b) / kQ30;
}

std::int64_t SinSeries(std::int64_t x) {
  const std::int64_t x2 = MulQ30(x, x);
  std::int64_t term = x, sum = x;
  for (int n = 2; n <= 8; n += 2) {
    term = -MulQ30(term, x2) / (n * (n + 1));
    sum += term;
  }
  return sum;
}

std::int64_t CosSeries(std::int64_t x) {
  const std::int64_t x2 = MulQ30(x, x);
  std::int64_t term = kQ30, sum = kQ30;
  for (int n = 1; n <= 7; n += 2) {
    term = -MulQ30(term, x2) / (n * (n + 1));
    sum += term;
  }
  return sum;
}

}  // namespace

Fixed Sin(int angle) {
  angle = WrapAngle(angle);
  const bool negative = angle >= kFullTurn / 2;
  if (negative) angle -= kFullTurn / 2;
  if (angle > kFullTurn / 4) angle = kFullTurn / 2 - angle;  // sin(pi - a) = sin(a)
  // Now 0 <= angle <= a quarter turn; past an eighth, sin(a) = cos(pi/2 - a).
  const bool nearQuarter = angle > kFullTurn / 8;
  const int reduced = nearQuarter ? kFullTurn / 4 - angle : angle;
  const std::int64_t x = kPiQ30 * reduced / (kFullTurn / 2);
  const std::int64_t value = nearQuarter ? CosSeries(x) : SinSeries(x);
  const auto result = static_cast<Fixed>((value + (std::int64_t{1} << 13)) >> 14);
  return negative ? -result : result;
}

Fixed Cos(int angle) {
  return Sin(angle + kFullTurn / 4);
}

std::uint32_t SquareRoot(std::uint64_t value) {
  std::uint64_t root = 0, bit = std::uint64_t{1} << 62;
  while (bit > value) bit >>= 2;
  while (bit != 0) {
    if (value >= root + bit) {
      value -= root + bit;
      root = (root >> 1) + bit;
    } else {
      root >>= 1;
    }
    bit >>= 2;
  }
  return static_cast<std::uint32_t>(root);
}

Fixed Length(Vec v) {
  const std::int64_t x = v.x, y = v.y;
  return static_cast<Fixed>(SquareRoot(static_cast<std::uint64_t>(x * x + y * y)));
}

Vec WithLength(Vec v, Fixed length) {
  const Fixed current = Length(v);
  if (current == 0) return {};
  return {static_cast<Fixed>(static_cast<std::int64_t>(v.x) * length / current),
          static_cast<Fixed>(static_cast<std::int64_t>(v.y) * length / current)};
}

}  // namespace ludora::pno0001
