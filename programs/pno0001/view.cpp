#include "pno0001/view.h"

#include <algorithm>
#include <cstdlib>

#include "pno0001/raycast.h"

namespace ludora::pno0001 {

namespace {

constexpr Fixed kPlaneLength = Ratio(66, 100);  // a field of view of 66 degrees
constexpr Fixed kNearest = Ratio(1, 16);        // nothing is drawn closer than this

// A sprite to draw: what, where, how tall against a wall, and how lit.
struct Billboard {
  Sprite sprite;
  Vec position;
  Fixed size = kOne;
  bool floats = false;  // its middle at eye height, else standing on the floor
  bool glows = false;   // full light at any distance
  Fixed depth = 0, aside = 0;
};

// The light level at a distance: full close by, dimmer with every cell.
int LightAt(Fixed distance) {
  return std::clamp(
      kLightLevels - 1 - static_cast<int>((std::int64_t{distance} * 5 / 2) >> kFractionBits), 5,
      kLightLevels - 1);
}

Sprite EnemySprite(const Enemy& enemy) {
  switch (enemy.state) {
    case EnemyState::Dead:
      return kEnemyDead;
    case EnemyState::Pain:
      return kEnemyPain;
    case EnemyState::Aim:
      return kEnemyAim;
    default:
      return (enemy.walked / (kOne / 3)) % 2 ? kEnemyStep2 : kEnemyStep1;
  }
}

Sprite PickupSprite(Thing kind) {
  return kind == Thing::Health ? kHealthSprite
         : kind == Thing::Ammo ? kAmmoSprite
                               : kTreasureSprite;
}

}  // namespace

struct Renderer::Camera {
  Vec position, ahead, plane;
  // Pixels a wall one cell high spans one cell away.
  Fixed scale;
  int horizon;
};

void Renderer::DrawView(const World& world, Frame& frame) {
  if (frame.width > kMostWidth) return;
  Frame view{frame.pixels, frame.width, ViewHeight(frame.height)};
  const Player& player = world.player();
  Camera camera;
  camera.position = player.position;
  camera.ahead = Direction(player.angle);
  camera.plane = Scale({-camera.ahead.y, camera.ahead.x}, kPlaneLength);
  camera.scale = Div(ToFixed(view.width / 2), kPlaneLength);
  camera.horizon = view.height / 2;
  DrawSurfaces(camera, world.level(), view);
  DrawWalls(camera, world.level(), view);
  DrawThings(camera, world, view);
  DrawGun(player, view);
  // A hit reddens the view, a pick-up gilds it, for a moment; the exit's
  // light fills it once the level is done.
  if (player.hurt > 0 || player.glow > 0 || world.finished()) {
    const std::uint32_t tint = world.finished() ? 0x307080 : player.hurt > 0 ? 0x600000 : 0x403000;
    for (int y = 0; y < view.height; ++y)
      for (std::uint32_t *pixel = view.Row(y), *end = pixel + view.width; pixel != end; ++pixel)
        *pixel = ((*pixel >> 1) & 0x7F7F7F) + tint;
  }
}

// Each row below the horizon shows the floor at one distance, and the row as
// far above it the ceiling: stepped across from the left edge's ray to the right's.
void Renderer::DrawSurfaces(const Camera& camera, const Level& level, Frame& view) const {
  const Texture& floor = art_.floors[level.floor % kSurfaces];
  const Texture& ceiling = art_.ceilings[level.ceiling % kSurfaces];
  const Vec left = camera.ahead - camera.plane, right = camera.ahead + camera.plane;
  for (int y = camera.horizon; y < view.height; ++y) {
    const Fixed distance = Div(camera.scale / 2, ToFixed(y - camera.horizon) + kOne / 2);
    const auto& shades = art_.shaded[LightAt(distance)];
    Vec at = camera.position + Scale(left, distance);
    const Vec step{static_cast<Fixed>(std::int64_t{Mul(right.x - left.x, distance)} / view.width),
                   static_cast<Fixed>(std::int64_t{Mul(right.y - left.y, distance)} / view.width)};
    std::uint32_t* floorRow = view.Row(y);
    const int ceilingY = 2 * camera.horizon - 1 - y;
    std::uint32_t* ceilingRow = ceilingY >= 0 ? view.Row(ceilingY) : nullptr;
    for (int x = 0; x < view.width; ++x, at = at + step) {
      const int texel = (((at.x >> 10) & 63) << kTextureBits) | ((at.y >> 10) & 63);
      floorRow[x] = shades[floor[texel]];
      if (ceilingRow) ceilingRow[x] = shades[ceiling[texel]];
    }
  }
}

void Renderer::DrawWalls(const Camera& camera, const Level& level, Frame& view) {
  for (int x = 0; x < view.width; ++x) {
    // From -1 at the left edge to 1 at the right, through each pixel's middle.
    const Fixed across =
        static_cast<Fixed>((std::int64_t{2 * x + 1 - view.width} << kFractionBits) / view.width);
    const Vec ray = camera.ahead + Scale(camera.plane, across);
    const RayHit hit = CastRay(level, camera.position, ray);
    const Fixed distance = std::max(hit.distance, kNearest);
    depth_[x] = distance;
    // The wall's height on screen and its top, in 16.16 pixels.
    const std::int64_t height = (std::int64_t{camera.scale} << kFractionBits) / distance;
    if (height <= 0) continue;  // a view less than two pixels wide
    const std::int64_t top = (std::int64_t{camera.horizon} << kFractionBits) - height / 2;
    const int first =
        static_cast<int>(std::max<std::int64_t>(0, (top + kOne - 1) >> kFractionBits));
    const int last =
        static_cast<int>(std::min<std::int64_t>(view.height, (top + height) >> kFractionBits));
    int column = (hit.across >> (kFractionBits - kTextureBits)) & (kTextureSize - 1);
    if (hit.alongY ? ray.x > 0 : ray.y < 0) column = kTextureSize - 1 - column;
    const std::uint8_t* texels = art_.walls[hit.wall % kWallKinds].data() + column * kTextureSize;
    const auto& shades = art_.shaded[std::max(LightAt(distance) - (hit.alongY ? 0 : 3), 0)];
    // Texels a pixel, in 16.16, and where the first pixel's middle falls.
    const std::int64_t step = (std::int64_t{kTextureSize} << 32) / height;
    std::int64_t texel =
        (((std::int64_t{first} << kFractionBits) + kOne / 2 - top) * step) >> kFractionBits;
    std::uint32_t* pixel = view.pixels + first * view.width + x;
    for (int y = first; y < last; ++y, pixel += view.width, texel += step)
      *pixel = shades[texels[(texel >> kFractionBits) & (kTextureSize - 1)]];
  }
}

void Renderer::DrawThings(const Camera& camera, const World& world, Frame& view) const {
  constexpr int kMost = World::kMostEnemies + World::kMostPickups + World::kMostShots + 1;
  std::array<Billboard, kMost> things;
  int count = 0;
  if (!world.finished()) things[count++] = {kExitSprite, world.level().exit, kOne, false, true};
  for (int i = 0; i < world.enemyCount(); ++i)
    things[count++] = {EnemySprite(world.enemies()[i]), world.enemies()[i].position, Ratio(9, 10)};
  for (int i = 0; i < world.pickupCount(); ++i)
    if (!world.pickups()[i].taken)
      things[count++] = {PickupSprite(world.pickups()[i].kind), world.pickups()[i].position,
                         Ratio(3, 5)};
  for (int i = 0; i < world.shotCount(); ++i)
    things[count++] = {kShotSprite, world.shots()[i].position, Ratio(1, 2), true, true};
  // Into the view's frame: depth along the view, offset across it.
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    Billboard& thing = things[i];
    const Vec offset = thing.position - camera.position;
    thing.depth = Dot(offset, camera.ahead);
    thing.aside = Mul(offset.y, camera.ahead.x) - Mul(offset.x, camera.ahead.y);
    if (thing.depth >= Ratio(1, 5)) things[kept++] = thing;
  }
  // Farthest first, so nearer ones cover them.
  std::sort(things.begin(), things.begin() + kept,
            [](const Billboard& a, const Billboard& b) { return a.depth > b.depth; });
  for (int i = 0; i < kept; ++i) {
    const Billboard& thing = things[i];
    // On screen, in 16.16 pixels: a wall's height there, the sprite's size, its middle.
    const std::int64_t wall = (std::int64_t{camera.scale} << kFractionBits) / thing.depth;
    const std::int64_t size = (wall * thing.size) >> kFractionBits;
    if (size < kOne) continue;
    const std::int64_t middle = (std::int64_t{view.width / 2} << kFractionBits) +
                                ((std::int64_t{camera.scale} * thing.aside) / thing.depth);
    const std::int64_t bottom =
        (std::int64_t{camera.horizon} << kFractionBits) + (thing.floats ? size / 2 : wall / 2);
    const std::int64_t left = middle - size / 2, top = bottom - size;
    const int x0 = static_cast<int>(std::max<std::int64_t>(0, left >> kFractionBits));
    const int x1 =
        static_cast<int>(std::min<std::int64_t>(view.width, (left + size) >> kFractionBits));
    const int y0 = static_cast<int>(std::max<std::int64_t>(0, top >> kFractionBits));
    const int y1 = static_cast<int>(std::min<std::int64_t>(view.height, bottom >> kFractionBits));
    const std::int64_t step = (std::int64_t{kTextureSize} << 32) / size;
    const auto& shades = art_.shaded[thing.glows ? kLightLevels - 1 : LightAt(thing.depth)];
    const Texture& texture = art_.sprites[thing.sprite];
    for (int x = x0; x < x1; ++x) {
      if (depth_[x] <= thing.depth) continue;
      const std::int64_t u = (((std::int64_t{x} << kFractionBits) + kOne / 2 - left) * step) >> 32;
      const std::uint8_t* texels =
          texture.data() + std::clamp<std::int64_t>(u, 0, kTextureSize - 1) * kTextureSize;
      std::int64_t v =
          (((std::int64_t{y0} << kFractionBits) + kOne / 2 - top) * step) >> kFractionBits;
      std::uint32_t* pixel = view.pixels + y0 * view.width + x;
      for (int y = y0; y < y1; ++y, pixel += view.width, v += step) {
        const std::uint8_t texel =
            texels[std::clamp<std::int64_t>(v >> kFractionBits, 0, kTextureSize - 1)];
        if (texel) *pixel = shades[texel];
      }
    }
  }
}

namespace {

// A sprite drawn flat on the screen, `size` pixels square, its top left at x, y.
void DrawFlat(Frame& view, const Texture& texture, const std::array<std::uint32_t, 256>& shades,
              int x, int y, int size) {
  if (size <= 0) return;
  for (int column = std::max(x, 0); column < std::min(x + size, view.width); ++column) {
    const std::uint8_t* texels = texture.data() + (column - x) * kTextureSize / size * kTextureSize;
    for (int row = std::max(y, 0); row < std::min(y + size, view.height); ++row) {
      const std::uint8_t texel = texels[(row - y) * kTextureSize / size];
      if (texel) view.Row(row)[column] = shades[texel];
    }
  }
}

}  // namespace

// The gun at the bottom of the view, swaying as the player walks, its
// muzzle flashing as it fires.
void Renderer::DrawGun(const Player& player, Frame& view) const {
  const int size = view.height / 2;
  const int phase = player.walked >> 5;  // half a sway a cell
  const int swayX = Mul(Sin(phase), ToFixed(size / 16)) >> kFractionBits;
  const int swayY = std::abs(Mul(Cos(phase), ToFixed(size / 24)) >> kFractionBits);
  const int x = view.width / 2 - size / 2 + swayX, y = view.height - size + size / 8 + swayY;
  if (player.flash > 0) {
    const int flash = size * 2 / 3;
    DrawFlat(view, art_.sprites[kFlashSprite], art_.shaded[kLightLevels - 1],
             view.width / 2 - flash / 2 + swayX, y + size / 8 - flash / 2, flash);
  }
  DrawFlat(view, art_.sprites[kGunSprite], art_.shaded[kLightLevels - 4], x, y, size);
}

}  // namespace ludora::pno0001
