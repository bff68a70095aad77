#include "pno0001/art.h"

#include <algorithm>
#include <cstdlib>

namespace ludora::pno0001 {

namespace {

// The ramps' colours at their middle shade (11); darker shades fall to
// black, brighter ones rise towards white.
constexpr std::uint8_t kRampColours[16][3] = {
    {128, 128, 128}, {150, 140, 125}, {170, 70, 50},  {190, 180, 160},
    {140, 95, 55},   {90, 110, 150},  {40, 150, 120}, {80, 220, 255},
    {230, 190, 70},  {255, 130, 30},  {220, 30, 30},  {235, 235, 225},
    {130, 80, 160},  {110, 120, 70},  {60, 80, 90},   {200, 150, 120},
};

void MakePalette(Art& art) {
  for (int index = 0; index < 256; ++index) {
    const int shade = index % 16;
    std::uint32_t colour = 0;
    for (int part = 0; part < 3; ++part) {
      const int value =
          kRampColours[index / 16][part] * (shade + 1) / 12 + std::max(0, shade - 11) * 20;
      colour = (colour << 8) | static_cast<std::uint32_t>(std::min(value, 255));
    }
    art.palette[index] = colour;
  }
  for (int light = 0; light < kLightLevels; ++light)
    for (int index = 0; index < 256; ++index) {
      const std::uint32_t colour = art.palette[index];
      std::uint32_t shaded = 0;
      for (int shift = 16; shift >= 0; shift -= 8)
        shaded |=
            (((colour >> shift) & 0xFF) * static_cast<std::uint32_t>(light + 1) / kLightLevels)
            << shift;
      art.shaded[light][index] = shaded;
    }
}

std::uint32_t Hash(int x, int y, std::uint32_t seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                    static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

// Smooth noise, 0 to 255, that tiles across a texture: random values on a
// lattice `cellX` by `cellY` pixels apart (powers of two), blended between.
int Noise(int x, int y, int cellX, int cellY, std::uint32_t seed) {
  const int nx = kTextureSize / cellX, ny = kTextureSize / cellY;
  const int ix = x / cellX, iy = y / cellY;
  const auto ease = [](int t) { return t * t * (768 - 2 * t) / 65536; };  // t, result: 0..256
  const int fx = ease((x % cellX) * 256 / cellX), fy = ease((y % cellY) * 256 / cellY);
  const auto at = [&](int cx, int cy) {
    return static_cast<int>(Hash(cx % nx, cy % ny, seed) & 255);
  };
  const int top = at(ix, iy) * (256 - fx) + at(ix + 1, iy) * fx;
  const int bottom = at(ix, iy + 1) * (256 - fx) + at(ix + 1, iy + 1) * fx;
  return (top * (256 - fy) + bottom * fy) >> 16;
}

// Three octaves from `cell` down.
int Fractal(int x, int y, int cell, std::uint32_t seed) {
  return (Noise(x, y, cell, cell, seed) * 4 + Noise(x, y, cell / 2, cell / 2, seed + 1) * 2 +
          Noise(x, y, cell / 4, cell / 4, seed + 2)) /
         7;
}

template <typename Paint>
void Fill(Texture& texture, Paint&& paint) {
  for (int x = 0; x < kTextureSize; ++x)
    for (int y = 0; y < kTextureSize; ++y) texture[x * kTextureSize + y] = paint(x, y);
}

// ---- Walls.

std::uint8_t Brick(int x, int y) {
  const int row = y / 8, shifted = (x + (row % 2) * 8) % kTextureSize;
  const int grain = Noise(x, y, 4, 4, 11) / 64 - 2;
  if (y % 8 == 7 || shifted % 16 == 15) return Colour(kSand, 5 + grain / 2);
  int shade = 8 + static_cast<int>(Hash(shifted / 16, row, 3) % 4) + grain;
  if (y % 8 == 0 || shifted % 16 == 0) shade += 2;  // lit from above and the left
  if (y % 8 == 6 || shifted % 16 == 14) shade -= 2;
  return Colour(kBrickRed, shade);
}

std::uint8_t Stone(int x, int y) {
  const int row = y / 16, shifted = (x + (row % 2) * 16) % kTextureSize;
  if (y % 16 == 15 || shifted % 32 == 31) return Colour(kSlate, 3);
  int shade =
      6 + static_cast<int>(Hash(shifted / 32, row, 5) % 4) + (Fractal(x, y, 16, 21) - 128) / 40;
  if (y % 16 == 0 || shifted % 32 == 0) shade += 2;
  if (Noise(x, y, 2, 2, 77) > 220) shade -= 3;  // pits
  return Colour(kStoneRamp, shade);
}

std::uint8_t Metal(int x, int y) {
  const int px = x % 32, py = y % 32;
  if ((px == 5 || px == 26) && (py == 5 || py == 26)) return Colour(kSteel, 15);  // rivets
  if ((px == 6 || px == 27) && (py == 6 || py == 27)) return Colour(kSteel, 4);
  int shade = 8 + (Noise(x, y, 2, 32, 31) - 128) / 64;  // brushed, top to bottom
  if (px < 2 || py < 2) shade += 3;
  if (px > 29 || py > 29) shade -= 3;
  return Colour(kSteel, shade);
}

std::uint8_t Tech(int x, int y) {
  const int px = x % 16, py = y % 32;
  if (py >= 4 && py < 8 && px >= 5 && px < 11) {
    const Ramp light = (x / 16 + y / 32) % 2 ? kCyan : kTechGreen;
    return Colour(light, px == 5 || px == 10 ? 12 : 15);
  }
  if (py >= 12 && py < 16) return Colour(kSteel, py == 12 ? 12 : py == 15 ? 6 : 9);
  if (x % 32 >= 24 && x % 32 < 27 && py >= 16) return Colour(kTechGreen, 6 + x % 32 - 24);
  int shade = 5 + (Noise(x, y, 8, 8, 41) - 128) / 64;
  if (px == 0) shade -= 2;
  return Colour(kSlate, shade);
}

std::uint8_t Wood(int x, int y) {
  const int plank = x / 16, px = x % 16;
  if (px == 0) return Colour(kWoodBrown, 2);
  const int grain = Noise(x, (y + plank * 23) % kTextureSize, 2, 16, 51);
  int shade = 7 + static_cast<int>(Hash(plank, 0, 9) % 3) + (grain - 128) / 48;
  if (px == 1) shade += 2;
  if (px == 15) shade -= 2;
  const int kx = x - (plank * 16 + 8), ky = y - (plank * 17 + 9) % kTextureSize;
  if (kx * kx + ky * ky * 4 < 8) shade -= 3;  // a knot
  return Colour(kWoodBrown, shade);
}

// ---- Floors and ceilings.

std::uint8_t Tiles(int x, int y) {
  if (x % 16 == 0 || y % 16 == 0) return Colour(kSlate, 4);
  const bool dark = (x / 16 + y / 16) % 2;
  return Colour(kSand, (dark ? 6 : 9) + (Fractal(x, y, 16, 61) - 128) / 50);
}

std::uint8_t Grate(int x, int y) {
  const int gx = x % 8, gy = y % 8;
  if (gx >= 2 && gx <= 5 && gy >= 2 && gy <= 5) return Colour(kSlate, 1);
  int shade = 7 + (Noise(x, y, 8, 8, 71) - 128) / 64;
  if (gx == 1 || gy == 1) shade += 2;
  if (gx == 6 || gy == 6) shade -= 2;
  return Colour(kSteel, shade);
}

std::uint8_t Slabs(int x, int y) {
  if (x % 32 == 0 || y % 32 == 0) return Colour(kSlate, 2);
  return Colour(kStoneRamp, 5 + (Fractal(x, y, 32, 81) - 128) / 40);
}

std::uint8_t Beams(int x, int y) {
  const int py = y % 32;
  if (py < 10)
    return Colour(kWoodBrown, py == 0 ? 7 : py == 9 ? 2 : 5 + (Noise(x, y, 16, 2, 91) - 128) / 64);
  return Colour(kSand, 6 + (Noise(x, y, 8, 8, 93) - 128) / 64);
}

std::uint8_t LitPanel(int x, int y) {
  const int px = x % 32, py = y % 32;
  if (px >= 10 && px < 22 && py >= 12 && py < 20)
    return px == 10 || px == 21 || py == 12 || py == 19 ? Colour(kGrey, 12) : Colour(kWhite, 15);
  return Colour(kSteel, px == 0 || py == 0 ? 3 : 6);
}

// ---- Sprites: shapes painted on a clear texture.

class Canvas {
 public:
  explicit Canvas(Texture& texture) : texture_(texture) { texture_.fill(0); }

  void Dot(int x, int y, std::uint8_t colour) {
    if (x >= 0 && y >= 0 && x < kTextureSize && y < kTextureSize)
      texture_[x * kTextureSize + y] = colour;
  }
  void Rect(int x0, int y0, int x1, int y1, std::uint8_t colour) {
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y) Dot(x, y, colour);
  }
  // A lit ellipsoid: brightest up and to the left of its middle.
  void Ball(int cx, int cy, int rx, int ry, Ramp ramp) {
    for (int y = cy - ry; y <= cy + ry; ++y)
      for (int x = cx - rx; x <= cx + rx; ++x) {
        const int dx = (x - cx) * 64 / rx, dy = (y - cy) * 64 / ry;
        if (dx * dx + dy * dy > 64 * 64) continue;
        const int hx = dx + 21, hy = dy + 21;  // from the highlight
        const int shade =
            15 - static_cast<int>(SquareRoot(static_cast<std::uint64_t>(hx * hx + hy * hy))) / 9;
        Dot(x, y, Colour(ramp, std::max(shade, 3)));
      }
  }

 private:
  Texture& texture_;
};

// The sentry: legs (one lifted, by `stride`), arms, a round body, one eye.
void Sentry(Texture& texture, int stride, Ramp body, Ramp eye, int eyeSize) {
  Canvas canvas(texture);
  for (int side = -1; side <= 1; side += 2) {
    const int x = 32 + side * 9, lift = side == stride ? 3 : 0;
    canvas.Rect(x - 2, 44, x + 2, 60 - lift, Colour(kSteel, 5));
    canvas.Rect(x - 4, 59 - lift, x + 4, 62 - lift, Colour(kSlate, 7));
    canvas.Rect(side < 0 ? 9 : 49, 26, side < 0 ? 15 : 55, 36, Colour(kSlate, 8));
    canvas.Rect(side < 0 ? 10 : 50, 37, side < 0 ? 14 : 54, 40, Colour(kSlate, 3));
  }
  canvas.Ball(32, 30, 17, 17, body);
  canvas.Rect(19, 24, 45, 32, Colour(kSlate, 3));
  canvas.Ball(32, 28, eyeSize, eyeSize, eye);
  canvas.Rect(31, 5, 32, 13, Colour(kGrey, 10));
  canvas.Ball(32, 4, 2, 2, kRed);
}

void Wreck(Texture& texture) {
  Canvas canvas(texture);
  canvas.Ball(32, 58, 22, 7, kSteel);
  canvas.Ball(20, 60, 6, 3, kSlate);
  canvas.Ball(45, 56, 4, 4, kSlate);
  canvas.Rect(44, 61, 60, 62, Colour(kGrey, 9));  // the antenna, fallen
  for (int i = 0; i < 6; ++i) canvas.Dot(22 + i * 4, 52 + (i * 5) % 4, Colour(kOrange, 15));
}

void Health(Texture& texture) {
  Canvas canvas(texture);
  canvas.Rect(20, 46, 44, 62, Colour(kWhite, 12));
  canvas.Rect(20, 46, 44, 47, Colour(kWhite, 15));
  canvas.Rect(20, 61, 44, 62, Colour(kWhite, 8));
  canvas.Rect(30, 49, 34, 59, Colour(kRed, 12));
  canvas.Rect(25, 52, 39, 56, Colour(kRed, 12));
}

void Ammo(Texture& texture) {
  Canvas canvas(texture);
  for (int i = 0; i < 4; ++i) {
    canvas.Rect(24 + i * 5, 42, 26 + i * 5, 49, Colour(kBrass, 12));
    canvas.Rect(24 + i * 5, 42, 26 + i * 5, 43, Colour(kBrass, 15));
  }
  canvas.Rect(22, 50, 42, 62, Colour(kOlive, 8));
  canvas.Rect(22, 50, 42, 50, Colour(kOlive, 11));
  canvas.Rect(22, 55, 42, 56, Colour(kOlive, 4));
}

void Treasure(Texture& texture) {
  Canvas canvas(texture);
  for (int y = 36; y <= 62; ++y)
    for (int x = 20; x <= 44; ++x) {
      if (std::abs(x - 32) * 12 + std::abs(y - 49) * 10 > 130) continue;
      const int facet = (x < 32 ? 0 : 1) + (y < 49 ? 0 : 2);
      canvas.Dot(x, y, Colour(kCyan, 15 - facet * 3));
    }
  canvas.Dot(28, 44, Colour(kWhite, 15));
}

void Plasma(Texture& texture) {
  Canvas canvas(texture);
  canvas.Ball(32, 32, 10, 10, kOrange);
  canvas.Ball(31, 31, 4, 4, kWhite);
}

// The exit: a ring of light on the floor and a beam above it, streaked,
// narrowing and fading upwards.
void Exit(Texture& texture) {
  Canvas canvas(texture);
  for (int y = 6; y <= 58; ++y) {
    const int half = 8 + (y - 6) * 14 / 52;
    for (int x = 32 - half; x <= 32 + half; ++x) {
      const int streak = static_cast<int>(Hash(x, 0, 17) % 6);
      if ((y + streak * 5) % 9 < 4 + (y - 6) / 13)
        canvas.Dot(x, y, Colour(kCyan, 6 + streak + (y - 6) / 12));
    }
  }
  for (int y = 50; y <= 63; ++y)
    for (int x = 6; x <= 58; ++x) {
      const int dx = (x - 32) * 100 / 26, dy = (y - 57) * 100 / 6, r = dx * dx + dy * dy;
      if (r <= 10000) canvas.Dot(x, y, r >= 5500 ? Colour(kCyan, 15) : Colour(kSteel, 10));
    }
}

// The gun, seen from behind: a body widening towards the player, a round
// barrel with glowing rings, an energy cell.
void Gun(Texture& texture) {
  Canvas canvas(texture);
  for (int y = 34; y <= 63; ++y) {
    const int half = 8 + (y - 34) * 10 / 29;
    for (int dx = -half; dx <= half; ++dx)
      canvas.Dot(32 + dx, y,
                 Colour(kSlate, dx < 2 - half   ? 11
                                : dx > half - 3 ? 3
                                                : 7 - dx * 2 / half));
  }
  for (int y = 5; y <= 40; ++y) {
    const int half = 4 + (y - 5) / 12;
    const bool ring = y % 8 == 6;
    for (int dx = -half; dx <= half; ++dx) {
      const int lit =
          (dx + half / 2) * (dx + half / 2) * 9 / (half * half);  // a cylinder lit from the left
      canvas.Dot(32 + dx, y, ring ? Colour(kCyan, 14 - lit / 2) : Colour(kSteel, 14 - lit));
    }
  }
  canvas.Rect(29, 3, 35, 5, Colour(kSlate, 2));  // the muzzle
  canvas.Rect(27, 46, 37, 53, Colour(kCyan, 12));
  canvas.Rect(28, 47, 31, 49, Colour(kCyan, 15));
}

void Flash(Texture& texture) {
  Canvas canvas(texture);
  for (int y = 10; y <= 54; ++y)
    for (int x = 10; x <= 54; ++x) {
      const int dx = std::abs(x - 32), dy = std::abs(y - 32);
      const int ray = dx < 3 || dy < 3 || std::abs(dx - dy) < 3 ? 8 : 0;
      const int strength =
          22 - static_cast<int>(SquareRoot(static_cast<std::uint64_t>(dx * dx + dy * dy))) + ray;
      if (strength >= 6)
        canvas.Dot(x, y, strength > 16 ? Colour(kWhite, 15) : Colour(kBrass, strength - 1));
    }
}

}  // namespace

void MakeArt(Art& art) {
  MakePalette(art);
  Fill(art.walls[kBrick], Brick);
  Fill(art.walls[kStone], Stone);
  Fill(art.walls[kMetal], Metal);
  Fill(art.walls[kTech], Tech);
  Fill(art.walls[kWood], Wood);
  Fill(art.floors[0], Tiles);
  Fill(art.floors[1], [](int x, int y) { return Wood(y, x); });
  Fill(art.floors[2], Grate);
  Fill(art.ceilings[0], Slabs);
  Fill(art.ceilings[1], Beams);
  Fill(art.ceilings[2], LitPanel);
  Sentry(art.sprites[kEnemyStep1], -1, kSteel, kRed, 6);
  Sentry(art.sprites[kEnemyStep2], 1, kSteel, kRed, 6);
  Sentry(art.sprites[kEnemyAim], 0, kSteel, kOrange, 8);
  Sentry(art.sprites[kEnemyPain], 0, kWhite, kRed, 5);
  Wreck(art.sprites[kEnemyDead]);
  Health(art.sprites[kHealthSprite]);
  Ammo(art.sprites[kAmmoSprite]);
  Treasure(art.sprites[kTreasureSprite]);
  Plasma(art.sprites[kShotSprite]);
  Exit(art.sprites[kExitSprite]);
  Gun(art.sprites[kGunSprite]);
  Flash(art.sprites[kFlashSprite]);
}

}  // namespace ludora::pno0001
