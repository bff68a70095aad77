#include "pno0001/level.h"

#include "pno0001/raycast.h"

namespace ludora::pno0001 {

namespace {

struct Theme {
  std::uint32_t seed;
  std::uint8_t wall, accent;    // most rooms, and every third one
  std::uint8_t floor, ceiling;  // surface textures
  int enemies, health, ammo, treasure;
};

// One row a level.
constexpr Theme kThemes[kLevelCount] = {
    {0x1D0B5EED, kStone, kWood, 0, 0, 6, 3, 4, 4},
    {0x2C0FFEE5, kBrick, kStone, 1, 1, 9, 4, 5, 5},
    {0x3BADCAFE, kMetal, kTech, 2, 2, 12, 4, 6, 6},
    {0x4DEADB0B, kTech, kMetal, 0, 2, 16, 5, 7, 8},
};

struct Room {
  int x, y, w, h;  // its open cells
  Vec Centre() const { return CellCentre(x + w / 2, y + h / 2); }
};

class Builder {
 public:
  Builder(Level& level, const Theme& theme) : level_(level), theme_(theme), random_(theme.seed) {}

  void Build() {
    level_.cells.fill(theme_.wall);
    PlaceRooms();
    for (int i = 1; i < roomCount_; ++i) JoinRooms(rooms_[i - 1], rooms_[i]);
    // A second way round in larger levels: the last room back to the middle one.
    if (roomCount_ > 4) JoinRooms(rooms_[roomCount_ - 1], rooms_[roomCount_ / 2]);
    AddPillars();
    level_.start = rooms_[0].Centre();
    level_.startAngle = OpenestDirection(level_.start);
    level_.exit = FarthestRoom().Centre();
    PlaceThings(Thing::Enemy, theme_.enemies, 1);
    PlaceThings(Thing::Health, theme_.health, 0);
    PlaceThings(Thing::Ammo, theme_.ammo, 0);
    PlaceThings(Thing::Treasure, theme_.treasure, 0);
  }

 private:
  static constexpr int kMostRooms = 10;

  void PlaceRooms() {
    for (int attempt = 0; attempt < 200 && roomCount_ < kMostRooms; ++attempt) {
      const Room room{0, 0, random_.Between(3, 7), random_.Between(3, 7)};
      const Room placed{random_.Between(1, kMapSize - 1 - room.w),
                        random_.Between(1, kMapSize - 1 - room.h), room.w, room.h};
      if (Overlaps(placed)) continue;
      const std::uint8_t wall = roomCount_ % 3 == 2 ? theme_.accent : theme_.wall;
      Carve(placed, wall);
      rooms_[roomCount_++] = placed;
    }
  }

  // Rooms keep a wall of at least one cell between them.
  bool Overlaps(const Room& room) const {
    for (int i = 0; i < roomCount_; ++i) {
      const Room& other = rooms_[i];
      if (room.x <= other.x + other.w && other.x <= room.x + room.w &&
          room.y <= other.y + other.h && other.y <= room.y + room.h)
        return true;
    }
    return false;
  }

  // Opens a room and gives the walls around it their texture.
  void Carve(const Room& room, std::uint8_t wall) {
    for (int y = room.y - 1; y <= room.y + room.h; ++y)
      for (int x = room.x - 1; x <= room.x + room.w; ++x) {
        const bool inside =
            x >= room.x && x < room.x + room.w && y >= room.y && y < room.y + room.h;
        Set(x, y, inside ? std::uint8_t{kOpen} : wall);
      }
  }

  void Set(int x, int y, std::uint8_t cell) {
    if (x > 0 && y > 0 && x < kMapSize - 1 && y < kMapSize - 1)
      level_.cells[y * kMapSize + x] = cell;
  }
  bool Open(int x, int y) const { return !level_.Solid(x, y); }

  // An L-shaped corridor between the rooms' middles, horizontal or vertical first.
  void JoinRooms(const Room& a, const Room& b) {
    const int ax = a.x + a.w / 2, ay = a.y + a.h / 2, bx = b.x + b.w / 2, by = b.y + b.h / 2;
    const bool horizontalFirst = random_.Next() & 1;
    const int cornerX = horizontalFirst ? bx : ax, cornerY = horizontalFirst ? ay : by;
    Dig(ax, ay, cornerX, cornerY);
    Dig(cornerX, cornerY, bx, by);
  }

  void Dig(int x0, int y0, int x1, int y1) {
    const int dx = x1 > x0 ? 1 : x1 < x0 ? -1 : 0, dy = y1 > y0 ? 1 : y1 < y0 ? -1 : 0;
    for (int x = x0, y = y0;; x += dx, y += dy) {
      Set(x, y, kOpen);
      if (x == x1 && y == y1) break;
    }
  }

  // A pillar in the middle of rooms large enough to walk round it.
  void AddPillars() {
    for (int i = 1; i < roomCount_; ++i) {
      const Room& room = rooms_[i];
      if (room.w < 5 || room.h < 5) continue;
      const int x = room.x + room.w / 2, y = room.y + room.h / 2;
      // A corner of the middle cell: off the corridors, which end in the middle.
      Set(x + ((random_.Next() & 2) ? 1 : -1), y + ((random_.Next() & 2) ? 1 : -1), theme_.accent);
    }
  }

  // The room the longest walk from the start: the exit's.
  const Room& FarthestRoom() const {
    StepMap steps;
    CountSteps(level_, CellOf(level_.start.x), CellOf(level_.start.y), steps);
    int farthest = roomCount_ - 1, most = 0;
    for (int i = 1; i < roomCount_; ++i) {
      const Vec middle = rooms_[i].Centre();
      const std::uint16_t walk = steps[CellOf(middle.y) * kMapSize + CellOf(middle.x)];
      if (walk != kUnreachable && walk > most) most = walk, farthest = i;
    }
    return rooms_[farthest];
  }

  // Of the four main directions, the one with the longest view.
  int OpenestDirection(Vec from) const {
    int best = 0;
    Fixed longest = 0;
    for (int angle = 0; angle < kFullTurn; angle += kFullTurn / 4) {
      const Fixed distance = CastRay(level_, from, Direction(angle)).distance;
      if (distance > longest) longest = distance, best = angle;
    }
    return best;
  }

  // `count` things on open cells of the rooms from `firstRoom`, never on the
  // start, the exit, a pillar or another thing.
  void PlaceThings(Thing thing, int count, int firstRoom) {
    if (firstRoom >= roomCount_) return;
    for (int placed = 0, attempt = 0; placed < count && attempt < 400; ++attempt) {
      if (level_.placementCount == Level::kMostPlacements) return;
      const Room& room = rooms_[random_.Between(firstRoom, roomCount_ - 1)];
      const int x = room.x + random_.Between(0, room.w - 1),
                y = room.y + random_.Between(0, room.h - 1);
      const Vec at = CellCentre(x, y);
      if (!Open(x, y) || Taken(at)) continue;
      level_.placements[level_.placementCount++] = {thing, at};
      ++placed;
    }
  }

  bool Taken(Vec at) const {
    if (at == level_.start || at == level_.exit) return true;
    for (int i = 0; i < level_.placementCount; ++i)
      if (level_.placements[i].position == at) return true;
    return false;
  }

  Level& level_;
  const Theme& theme_;
  Random random_;
  Room rooms_[kMostRooms] = {};
  int roomCount_ = 0;
};

}  // namespace

void CountSteps(const Level& level, int x, int y, StepMap& steps) {
  steps.fill(kUnreachable);
  if (level.Solid(x, y)) return;
  std::array<std::int16_t, kMapSize * kMapSize> queue;
  int head = 0, tail = 0;
  steps[y * kMapSize + x] = 0;
  queue[tail++] = static_cast<std::int16_t>(y * kMapSize + x);
  while (head < tail) {
    const int cell = queue[head++], cx = cell % kMapSize, cy = cell / kMapSize;
    for (const auto& [dx, dy] : kNeighbours) {
      const int next = (cy + dy) * kMapSize + cx + dx;
      // The level's edge is wall, so an open cell's neighbours are on the map.
      if (level.Solid(cx + dx, cy + dy) || steps[next] != kUnreachable) continue;
      steps[next] = static_cast<std::uint16_t>(steps[cell] + 1);
      queue[tail++] = static_cast<std::int16_t>(next);
    }
  }
}

Level MakeLevel(int number) {
  Level level;
  level.number = number >= 0 && number < kLevelCount ? number : 0;
  const Theme& theme = kThemes[level.number];
  level.floor = theme.floor;
  level.ceiling = theme.ceiling;
  Builder(level, theme).Build();
  return level;
}

}  // namespace ludora::pno0001
