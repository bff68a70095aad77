// Everything the game shows, made by code at start: a palette of colour
// ramps, its shades by light, the wall, floor and ceiling textures, and the
// sprites. Textures are 64 x 64 palette indices, column by column (the
// renderer draws walls and sprites a column at a time); in sprites index 0
// is clear.
#pragma once

#include <array>
#include <cstdint>

#include "pno0001/level.h"

namespace ludora::pno0001 {

inline constexpr int kTextureBits = 6;
inline constexpr int kTextureSize = 1 << kTextureBits;
using Texture = std::array<std::uint8_t, kTextureSize * kTextureSize>;

inline constexpr int kLightLevels = 32;  // 0 darkest, 31 full light
inline constexpr int kSurfaces = 3;      // floor and ceiling textures a kind

// The palette: 16 ramps of 16 shades, dark to bright; a colour is ramp * 16 + shade.
enum Ramp : std::uint8_t {
  kGrey,
  kStoneRamp,
  kBrickRed,
  kSand,
  kWoodBrown,
  kSteel,
  kTechGreen,
  kCyan,
  kBrass,
  kOrange,
  kRed,
  kWhite,
  kPurple,
  kOlive,
  kSlate,
  kTan,
};
constexpr std::uint8_t Colour(Ramp ramp, int shade) {
  return static_cast<std::uint8_t>(ramp * 16 + (shade < 0 ? 0 : shade > 15 ? 15 : shade));
}

enum Sprite : std::uint8_t {
  kEnemyStep1,
  kEnemyStep2,
  kEnemyAim,
  kEnemyPain,
  kEnemyDead,
  kHealthSprite,
  kAmmoSprite,
  kTreasureSprite,
  kShotSprite,
  kExitSprite,
  kGunSprite,
  kFlashSprite,
  kSpriteCount,
};

struct Art {
  std::array<std::uint32_t, 256> palette{};
  // Each palette colour at each light level, ready to store.
  std::array<std::array<std::uint32_t, 256>, kLightLevels> shaded{};
  std::array<Texture, kWallKinds> walls{};  // by Wall; walls[kOpen] unused
  std::array<Texture, kSurfaces> floors{}, ceilings{};
  std::array<Texture, kSpriteCount> sprites{};
};

// Fills `art` (some 160 KB: keep it off the stack). The same every time.
void MakeArt(Art& art);

}  // namespace ludora::pno0001
