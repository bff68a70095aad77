// The game's numbers: 16.16 fixed point for lengths (a map cell is 1.0),
// angles in 4096ths of a turn. Integer arithmetic only, so the simulation
// comes out the same to the bit on every processor and compiler: a recorded
// run replays exactly.
#pragma once

#include <cstdint>

namespace ludora::pno0001 {

using Fixed = std::int32_t;
inline constexpr int kFractionBits = 16;
inline constexpr Fixed kOne = 1 << kFractionBits;

constexpr Fixed ToFixed(int whole) {
  return static_cast<Fixed>(whole * kOne);
}
// `numerator / denominator` as a fixed-point constant.
constexpr Fixed Ratio(int numerator, int denominator) {
  return static_cast<Fixed>(static_cast<std::int64_t>(numerator) * kOne / denominator);
}
constexpr Fixed Mul(Fixed a, Fixed b) {
  return static_cast<Fixed>((static_cast<std::int64_t>(a) * b) >> kFractionBits);
}
// a / b for b != 0.
constexpr Fixed Div(Fixed a, Fixed b) {
  return static_cast<Fixed>((static_cast<std::int64_t>(a) << kFractionBits) / b);
}
// The cell a coordinate lies in (rounding down, also below zero).
constexpr int CellOf(Fixed coordinate) {
  return coordinate >> kFractionBits;
}

struct Vec {
  Fixed x = 0;
  Fixed y = 0;
  friend constexpr bool operator==(Vec, Vec) = default;
};
constexpr Vec operator+(Vec a, Vec b) {
  return {a.x + b.x, a.y + b.y};
}
constexpr Vec operator-(Vec a, Vec b) {
  return {a.x - b.x, a.y - b.y};
}
constexpr Vec Scale(Vec v, Fixed factor) {
  return {Mul(v.x, factor), Mul(v.y, factor)};
}
constexpr Fixed Dot(Vec a, Vec b) {
  return Mul(a.x, b.x) + Mul(a.y, b.y);
}
// The middle of a cell.
constexpr Vec CellCentre(int x, int y) {
  return {ToFixed(x) + kOne / 2, ToFixed(y) + kOne / 2};
}

// Angles: 0 looks along +x (east), a quarter turn (1024) along +y (south,
// down the map), so increasing angles turn right.
inline constexpr int kFullTurn = 4096;
constexpr int WrapAngle(int angle) {
  return angle & (kFullTurn - 1);
}
Fixed Sin(int angle);
Fixed Cos(int angle);
// The unit vector of an angle.
inline Vec Direction(int angle) {
  return {Cos(angle), Sin(angle)};
}

std::uint32_t SquareRoot(std::uint64_t value);  // rounded down
// |v|, and v scaled to `length` (zero stays zero).
Fixed Length(Vec v);
Vec WithLength(Vec v, Fixed length);

// A small fast generator (xorshift32), the one source of chance in the game.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // A whole number in [low, high].
  int Between(int low, int high) {
    return low + static_cast<int>(Next() % static_cast<std::uint32_t>(high - low + 1));
  }
  std::uint32_t state() const { return state_; }

 private:
  std::uint32_t state_;
};

}  // namespace ludora::pno0001
