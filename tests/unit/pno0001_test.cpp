// pno0001.exe, the quick menu's shooter: its numbers, rays, movement,
// levels, rules, replays, the game's course, the clock, the player's file
// and the mixer. Distances and positions below are worked out by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "pno0001/art.h"
#include "pno0001/motion.h"
#include "pno0001/raycast.h"
#include "pno0001/replay.h"
#include "pno0001/session.h"
#include "pno0001/settings_file.h"
#include "pno0001/sound.h"
#include "pno0001/status.h"
#include "pno0001/view.h"

namespace ludora::pno0001 {
namespace {

constexpr Fixed kTiny = 1;  // 1/65536: what keeps a body off a wall's face

Vec At(double x, double y) {
  return {static_cast<Fixed>(x * kOne), static_cast<Fixed>(y * kOne)};
}

// A level drawn in text from the top-left corner ('#' wall, '@' the start
// facing east, 'X' the exit, 'E' 'H' 'A' 'T' an enemy, health, ammunition,
// treasure); the rest of the grid is wall.
Level Drawn(std::initializer_list<const char*> rows) {
  Level level;
  level.cells.fill(kStone);
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; row[x]; ++x) {
      level.cells[y * kMapSize + x] = row[x] == '#' ? kStone : kOpen;
      const Vec middle = CellCentre(x, y);
      if (row[x] == '@') level.start = middle;
      if (row[x] == 'X') level.exit = middle;
      if (const char* thing = std::strchr("EHAT", row[x]); thing && row[x])
        level.placements[level.placementCount++] = {static_cast<Thing>(thing - "EHAT"), middle};
    }
    ++y;
  }
  if (level.exit == Vec{}) level.exit = CellCentre(kMapSize - 1, kMapSize - 1);  // out of reach
  return level;
}

// Whether a square of half-width `radius` round `centre` touches a wall.
bool Blocked(const Level& level, Vec centre, Fixed radius) {
  for (int y = CellOf(centre.y - radius); y <= CellOf(centre.y + radius); ++y)
    for (int x = CellOf(centre.x - radius); x <= CellOf(centre.x + radius); ++x)
      if (level.Solid(x, y)) return true;
  return false;
}

const std::initializer_list<const char*> kRoom = {
    "########",  //
    "#......#",  //
    "#......#",  //
    "#......#",  //
    "#..#...#",  // a pillar at 3,4
    "#......#",  //
    "#......#",  //
    "########",
};

TEST(Pno0001Numbers, SinesAndSquareRootsAgainstTheirTables) {
  // angle (4096ths of a turn), sin in 16.16: 0, 22.5, 45, 90, 180, 270 degrees
  const std::pair<int, Fixed> kSines[] = {{0, 0},         {256, 25080},       {512, 46341},
                                          {1024, kOne},   {2048, 0},          {3072, -kOne},
                                          {3584, -46341}, {4096 + 256, 25080}};
  for (const auto& [angle, sine] : kSines) EXPECT_EQ(Sin(angle), sine) << angle;
  EXPECT_EQ(Cos(0), kOne);
  EXPECT_EQ(Cos(2048), -kOne);
  EXPECT_EQ(Cos(1536), -46341);  // 135 degrees
  EXPECT_EQ(SquareRoot(0), 0u);
  EXPECT_EQ(SquareRoot(144), 12u);
  EXPECT_EQ(SquareRoot(143), 11u);  // rounded down
  EXPECT_EQ(SquareRoot(0xFFFFFFFE00000001ull), 0xFFFFFFFFu);
  EXPECT_EQ(Length(At(3, 4)), ToFixed(5));
}

TEST(Pno0001Rays, DistancesCellsAndFacesWorkedOutByHand) {
  const Level room = Drawn(kRoom);
  struct Case {
    Vec origin, direction;
    double distance;
    int cellX, cellY;
    bool alongY;
    double across;
  } const kCases[] = {
      // Straight east along row 1: x edges at 2..7, the wall at 7.
      {At(1.5, 1.5), At(1, 0), 5.5, 7, 1, true, 0.5},
      // North: y edges at 3, 2, 1; the wall row 0 above.
      {At(2.25, 3.5), At(0, -1), 2.5, 2, 0, false, 0.25},
      // Slanted: x edges at t = 0.5, 1.5 ..., y edges at t = 1, 3, 5; past the
      // pillar to the east wall at t = 5.5, y = 4.25.
      {At(1.5, 1.5), At(1, 0.5), 5.5, 7, 4, true, 0.25},
      // A view column's ray: the distance is along the view, whatever the slant.
      {At(1.5, 2.5), At(1, 0.25), 5.5, 7, 3, true, 0.875},
      {At(1.5, 2.5), At(1, -0.25), 5.5, 7, 1, true, 0.125},
  };
  for (const Case& c : kCases) {
    const RayHit hit = CastRay(room, c.origin, c.direction);
    EXPECT_EQ(hit.distance, static_cast<Fixed>(c.distance * kOne)) << c.distance;
    EXPECT_EQ(hit.cellX, c.cellX);
    EXPECT_EQ(hit.cellY, c.cellY);
    EXPECT_EQ(hit.alongY, c.alongY);
    EXPECT_EQ(hit.across, static_cast<Fixed>(c.across * kOne));
    EXPECT_EQ(hit.wall, kStone);
  }
  EXPECT_FALSE(ClearLine(room, At(1.5, 4.5), At(5.5, 4.5)));  // through the pillar
  EXPECT_TRUE(ClearLine(room, At(1.5, 5.5), At(5.5, 5.5)));
  // With no wall on the grid at all, the world ends at the grid's edge.
  Level open;
  open.cells.fill(kOpen);
  EXPECT_EQ(CastRay(open, At(1.5, 1.5), At(-1, 0)).distance, ToFixed(1) + kOne / 2);
  EXPECT_EQ(CastRay(open, At(1.5, 1.5), At(-1, 0)).cellX, -1);
}

TEST(Pno0001Movement, StopsAtWallsSlidesAlongThemAndNeverPassesThrough) {
  const Level room = Drawn(kRoom);
  const Fixed r = kPlayerRadius;
  // Into the east wall: flush against its face, and no farther.
  EXPECT_EQ(MoveBody(room, At(5.5, 1.5), At(3, 0), r), (Vec{ToFixed(7) - r - kTiny, At(0, 1.5).y}));
  // Diagonally into it: the part along the wall is kept whole.
  EXPECT_EQ(MoveBody(room, At(6.5, 2.5), At(0.5, 0.5), r),
            (Vec{ToFixed(7) - r - kTiny, ToFixed(3)}));
  // West into the pillar's east face, and up against the north wall.
  EXPECT_EQ(MoveBody(room, At(5.5, 4.5), At(-3, 0), r).x, ToFixed(4) + r);
  EXPECT_EQ(MoveBody(room, At(2.5, 2.5), At(0, -2), r).y, ToFixed(1) + r);
  // A wall one cell thick against a move of four cells in one step.
  const Level thin = Drawn({"#######", "#..#..#", "#######"});
  EXPECT_EQ(MoveBody(thin, At(1.5, 1.5), At(4, 0), r).x, ToFixed(3) - r - kTiny);

  // Thousands of random moves through every level: the body is never in a wall.
  Random random(12345);
  for (int number = 0; number < kLevelCount; ++number) {
    const Level level = MakeLevel(number);
    Vec at = level.start;
    Fixed travelled = 0;
    for (int i = 0; i < 5000; ++i) {
      const Vec step =
          Scale(Direction(random.Between(0, kFullTurn - 1)), random.Between(0, 2 * kOne));
      const Vec next = MoveBody(level, at, step, r);
      ASSERT_FALSE(Blocked(level, next, r)) << "level " << number << " move " << i;
      travelled += Length(next - at);
      at = next;
    }
    EXPECT_GT(travelled, ToFixed(500)) << "level " << number << " stuck";
  }
}

TEST(Pno0001Levels, WalledRoundConnectedAndTheSameEveryTime) {
  for (int number = 0; number < kLevelCount; ++number) {
    const Level level = MakeLevel(number);
    const Level again = MakeLevel(number);
    EXPECT_EQ(level.cells, again.cells);
    EXPECT_EQ(level.exit, again.exit);
    for (int i = 0; i < kMapSize; ++i)
      ASSERT_TRUE(level.Solid(i, 0) && level.Solid(i, kMapSize - 1) && level.Solid(0, i) &&
                  level.Solid(kMapSize - 1, i))
          << "level " << number << " open at its edge, " << i;
    // Every open cell the player can reach, by a flood from the start.
    std::vector<bool> reached(kMapSize * kMapSize);
    std::vector<int> todo = {CellOf(level.start.y) * kMapSize + CellOf(level.start.x)};
    while (!todo.empty()) {
      const int cell = todo.back();
      todo.pop_back();
      const int x = cell % kMapSize, y = cell / kMapSize;
      if (level.Solid(x, y) || reached[cell]) continue;
      reached[cell] = true;
      todo.insert(todo.end(), {cell + 1, cell - 1, cell + kMapSize, cell - kMapSize});
    }
    const auto reachable = [&](Vec at) { return reached[CellOf(at.y) * kMapSize + CellOf(at.x)]; };
    EXPECT_TRUE(reachable(level.exit)) << "level " << number;
    EXPECT_GT(Length(level.exit - level.start), ToFixed(8)) << "level " << number;
    EXPECT_FALSE(Blocked(level, level.start, kPlayerRadius));
    int enemies = 0;
    for (int i = 0; i < level.placementCount; ++i) {
      EXPECT_TRUE(reachable(level.placements[i].position)) << "level " << number << " thing " << i;
      enemies += level.placements[i].thing == Thing::Enemy;
    }
    EXPECT_GE(enemies, 6 + 3 * number);
  }
}

// Ticks the world with one input until an event shows, at most `limit` ticks.
unsigned Until(World& world, TickInput input, unsigned event, int limit) {
  unsigned seen = 0;
  for (int i = 0; i < limit && !(seen & event); ++i) seen |= world.Tick(input);
  return seen;
}

TEST(Pno0001Play, TheGunHitsWhatItFacesAndNotThroughWalls) {
  World open(Drawn({"#########", "#@..E...#", "#########"}), Carry{});
  unsigned events = open.Tick({kFire, 0});
  EXPECT_EQ(events, kShotFired | kEnemyHit);
  EXPECT_EQ(open.player().carry.ammo, 29);
  EXPECT_EQ(Until(open, {kFire, 0}, kEnemyDied, 60) & kEnemyDied,
            kEnemyDied);  // 40 health, 15 to 25 a shot
  EXPECT_EQ(open.player().carry.score, 100);
  EXPECT_EQ(open.enemies()[0].state, EnemyState::Dead);

  // Of two in line, the nearer takes the shot.
  World two(Drawn({"#########", "#@.E.E..#", "#########"}), Carry{});
  EXPECT_EQ(two.Tick({kFire, 0}), kShotFired | kEnemyHit);
  EXPECT_TRUE(two.enemies()[0].health < 40 && two.enemies()[1].health == 40);

  World walled(Drawn({"#########", "#@.#E...#", "#########"}), Carry{});
  EXPECT_EQ(walled.Tick({kFire, 0}), kShotFired);
  EXPECT_EQ(walled.enemies()[0].health, 40);
  // Facing away, or with nothing to fire, no hit either.
  World away(Drawn({"#########", "#.E.@...#", "#########"}), Carry{});
  EXPECT_EQ(away.Tick({kFire, 0}), kShotFired);
  World empty(Drawn({"#########", "#@..E...#", "#########"}), Carry{100, 0, 0});
  EXPECT_EQ(empty.Tick({kFire, 0}), kEmptyClick);
  EXPECT_EQ(empty.enemies()[0].health, 40);
}

TEST(Pno0001Play, PickupsTheExitAndWhatThePlayerCarries) {
  // Full health leaves the medical kit lying; ammunition and treasure are taken.
  World full(Drawn({"##########", "#@H.A.T.X#", "##########"}), Carry{100, 95, 0});
  EXPECT_EQ(Until(full, {kForward, 0}, kLevelDone, 200) & kLevelDone, kLevelDone);
  EXPECT_EQ(full.player().carry.health, 100);
  EXPECT_EQ(full.player().carry.ammo, kMostAmmo);
  EXPECT_EQ(full.player().carry.score, 250 + 1000);
  EXPECT_FALSE(full.pickups()[0].taken);
  EXPECT_TRUE(full.finished());
  EXPECT_EQ(full.Tick({kForward, 0}), 0u);  // a finished level stands still

  World hurt(Drawn({"##########", "#@H......#", "##########"}), Carry{90, 10, 0});
  EXPECT_EQ(Until(hurt, {kForward, 0}, kPickedUp, 100), kPickedUp);
  EXPECT_EQ(hurt.player().carry.health, kMostHealth);
}

TEST(Pno0001Play, AnEnemyThatHearsTheGunComesRoundTheCornerAndFires) {
  World world(Drawn({"#######", "#@....#", "#####.#", "#####.#", "#####.#", "#####E#"}), Carry{});
  world.Tick({kFire, 0});  // heard 5.7 cells away, out of sight
  const unsigned events = Until(world, {}, kPlayerHurt, 900);
  EXPECT_EQ(events & kPlayerHurt, kPlayerHurt);
  EXPECT_EQ(events & kEnemyFired, kEnemyFired);
  EXPECT_LT(world.player().carry.health, 100);
  EXPECT_LT(world.enemies()[0].position.y, ToFixed(3));  // it left the side passage
}

TEST(Pno0001Play, ARecordedRunReplaysToTheSameStateEveryTime) {
  // Inputs recorded as runs, against the same inputs fed one by one.
  Random random(99);
  std::vector<InputRun> recorded;
  for (int i = 0; i < 300; ++i)
    recorded.push_back({static_cast<std::uint8_t>(random.Next()),
                        static_cast<std::int8_t>(random.Between(-4, 4)),
                        static_cast<std::uint8_t>(random.Between(1, 5))});
  World fed(MakeLevel(1), Carry{}), replayed(MakeLevel(1), Carry{});
  Replay replay(recorded.data(), static_cast<int>(recorded.size()));
  for (const InputRun& run : recorded)
    for (int tick = 0; tick < run.ticks; ++tick) {
      fed.Tick({run.buttons, static_cast<std::int16_t>(run.turn * 16)});
      replayed.Tick(replay.Next());
      ASSERT_EQ(fed.Fingerprint(), replayed.Fingerprint()) << "tick " << fed.ticks();
    }
  EXPECT_TRUE(replay.Finished());
  EXPECT_EQ(replay.Next(), TickInput{});

  // The benchmark's run, twice: the same game to the tick, and a game with
  // something in it (the first level cleared, enemies destroyed on the way).
  const auto play = [](std::vector<std::uint32_t>& fingerprints) {
    auto session = std::make_unique<Session>(0);
    session->NewGame();
    Replay run = BenchRun();
    unsigned events = 0;
    for (int tick = 0; tick < 1800; ++tick) {
      events |= session->Tick(run.Next());
      fingerprints.push_back(session->world().Fingerprint());
    }
    EXPECT_EQ(events & (kEnemyDied | kLevelDone), kEnemyDied | kLevelDone);
    EXPECT_EQ(session->world().level().number, 1);
    return session->score();
  };
  std::vector<std::uint32_t> first, second;
  EXPECT_GE(play(first), 1000 + 3 * 100);
  play(second);
  EXPECT_EQ(first, second);
}

TEST(Pno0001Session, LevelsFollowOnDeathEndsTheGameAndTheBestIsKept) {
  auto session = std::make_unique<Session>(1000);
  session->NewGame();
  Replay run = BenchRun();
  int ticks = 0;
  while (session->screen() == Screen::Playing && ticks++ < 2000) session->Tick(run.Next());
  ASSERT_EQ(session->screen(), Screen::LevelDone);
  const Carry carried = session->world().player().carry;
  EXPECT_EQ(session->best(), carried.score);  // beat the 1000 read at start
  EXPECT_TRUE(session->UnsavedBest());
  session->MarkSaved();
  EXPECT_FALSE(session->UnsavedBest());
  for (int i = 0; i < 2 * kTicksPerSecond; ++i) session->Tick({});
  ASSERT_EQ(session->screen(), Screen::Playing);
  EXPECT_EQ(session->world().level().number, 1);
  EXPECT_EQ(session->world().player().carry.score, carried.score);
  EXPECT_EQ(session->world().player().carry.ammo, carried.ammo);

  // Paused, nothing moves; the menu starts on Resume and wraps round.
  const std::uint32_t before = session->world().Fingerprint();
  session->Pause();
  EXPECT_EQ(session->selected(), MenuItem::Resume);
  session->MoveSelection(-1);
  EXPECT_EQ(session->selected(), MenuItem::Quit);
  session->MoveSelection(1);
  EXPECT_EQ(session->selected(), MenuItem::Resume);
  for (int i = 0; i < 100; ++i) session->Tick({kForward | kFire, 0});
  EXPECT_EQ(session->world().Fingerprint(), before);
  session->Resume();

  // The last level with one point of health, firing where the enemies hear
  // it: the end, and a new game only for a shot fired after a moment.
  session->Start(3, Carry{1, 30, 0});
  for (ticks = 0; session->screen() == Screen::Playing && ticks < 2000; ++ticks)
    session->Tick({kFire, 0});
  ASSERT_EQ(session->screen(), Screen::GameOver);
  session->Tick({kFire, 0});
  EXPECT_EQ(session->screen(), Screen::GameOver);
  for (int i = 0; i < 2 * kTicksPerSecond; ++i) session->Tick({});
  session->Tick({kFire, 0});
  EXPECT_EQ(session->screen(), Screen::Playing);
  EXPECT_EQ(session->score(), 0);
  EXPECT_EQ(session->best(), carried.score);
}

TEST(Pno0001Session, TheClockGivesSixtyTicksASecondWhateverTheSteps) {
  TickClock clock;
  clock.Restart(5);
  EXPECT_EQ(clock.UntilNext(), 17u);  // 16.7 ms a tick
  int ticks = 0;
  for (std::uint32_t now = 12; now <= 1005; now += 7) ticks += clock.Due(now);
  ticks += clock.Due(1005);
  EXPECT_EQ(ticks, 60);
  EXPECT_EQ(clock.Due(1021), 0);  // 16 ms
  EXPECT_EQ(clock.Due(1022), 1);
  // A stall gives a few ticks, not the second's sixty; the counter may wrap.
  EXPECT_EQ(clock.Due(2022), TickClock::kMostAtOnce);
  clock.Restart(0xFFFFFFF0u);
  EXPECT_EQ(clock.Due(0x0000000Cu), 1);  // 28 ms
  EXPECT_EQ(clock.UntilNext(), 6u);      // 5.3 ms to the second tick
}

TEST(Pno0001View, AWallAtAKnownDistanceAndNoPixelOutsideTheFrame) {
  auto art = std::make_unique<Art>();
  MakeArt(*art);
  auto renderer = std::make_unique<Renderer>(*art);
  // East from 1.5, 3.5 the wall is 5.5 cells away. At 640 x 480 the view is
  // 420 high (horizon 210) and a cell one cell away 320 / 0.66 = 484.85 pixels
  // tall: 88.15 here, rows 165.9 to 254.1, so 166 to 253 are brick.
  Level room = Drawn(kRoom);
  for (int y = 0; y < 8; ++y) room.cells[y * kMapSize + 7] = kBrick;
  room.start = At(1.5, 3.5);
  std::vector<std::uint32_t> pixels(640 * 480);
  Frame frame{pixels.data(), 640, 480};
  renderer->DrawView(World(room, Carry{}), frame);
  const auto brick = [&](int y) {
    const auto& shades = art->shaded[kLightLevels - 1 - 13];  // 5.5 cells: 13 levels down
    for (const std::uint8_t texel : art->walls[kBrick])
      if (shades[texel] == frame.Row(y)[320]) return true;
    return false;
  };
  EXPECT_FALSE(brick(165));
  EXPECT_TRUE(brick(166));
  EXPECT_TRUE(brick(253));
  EXPECT_FALSE(brick(254));

  // Any size up to the widest, from anywhere, with everything in sight drawn,
  // the status bar and the menu too: nothing is written outside the frame.
  // A view wider than that is not drawn at all.
  auto session = std::make_unique<Session>(0);
  session->NewGame();
  Replay run = BenchRun();
  constexpr std::uint32_t kGuard = 0xDEADBEEF;
  Random random(7);
  for (const auto& [width, height] : {std::pair{1, 1},
                                      {7, 5},
                                      {320, 240},
                                      {640, 480},
                                      {kMostWidth, 768},
                                      {kMostWidth + 1, 600}}) {
    std::vector<std::uint32_t> guarded(width * height + 2048, kGuard);
    Frame inside{guarded.data() + 1024, width, height};
    for (int i = 0; i < 40; ++i) {
      for (int tick = random.Between(0, 40); tick > 0; --tick) session->Tick(run.Next());
      renderer->DrawView(session->world(), inside);
      if (width > kMostWidth) continue;
      if (i % 8 == 0) session->Pause();
      DrawStatus(*session, inside);
      session->Resume();
    }
    for (int i = 0; i < 1024; ++i)
      ASSERT_TRUE(guarded[i] == kGuard && guarded[guarded.size() - 1 - i] == kGuard)
          << width << "x" << height;
    if (width > kMostWidth) {
      EXPECT_EQ(std::count(guarded.begin(), guarded.end(), kGuard), std::ssize(guarded));
    }
  }
}

Settings Read(const std::string& text) {
  return ReadSettings(text.data(), text.size());
}

TEST(Pno0001Settings, ThePlayersFileAndEveryWayItCanBeDamaged) {
  Settings read = Read("[pno0001]\r\nbest=12345\r\nfullscreen=1\r\n");
  EXPECT_EQ(read.best, 12345);
  EXPECT_TRUE(read.fullScreen);
  read = Read("\n\n[pno0001]\ncolour=red\nbest=999999999  \nfullscreen=0");  // LF, no end, blanks
  EXPECT_EQ(read.best, 999999999);
  EXPECT_FALSE(read.fullScreen);
  EXPECT_EQ(Read("[pno0001]\r\nbest=7\r\n[other]\r\nbest=8\r\n").best, 7);
  EXPECT_EQ(Read("[pno0001]\r\nbest=7\r\nbest=9\r\n").best, 9);  // the last one stands
  // Not ours, or damaged: the defaults, or the default of the value damaged.
  for (const char* damaged : {"", "best=5\r\n[pno0001]\r\n", "[PNO0001]\r\nbest=5",
                              "[pno0001]\r\nbest=1234567890", "[pno0001]\r\nbest=-5",
                              "[pno0001]\r\nbest=12a", "[pno0001]\r\nbest=", "[pno0001]\r\nbest 5",
                              "[pno0001]\r\nbest=0x10", "\xEF\xBB\xBF[pno0001]\r\nbest=5"}) {
    EXPECT_EQ(Read(damaged).best, 0) << damaged;
  }
  EXPECT_FALSE(Read("[pno0001]\r\nfullscreen=2").fullScreen);
  EXPECT_EQ(Read("[pno0001]\r\nfullscreen=yes\r\nbest=3").best, 3);
  const std::string binary("[pno0001]\r\nbest=4\0\x01\xFF\r\n", 22);
  EXPECT_EQ(Read(binary).best, 0);
  EXPECT_EQ(Read("[pno0001]\r\nbest=4\r\n" + std::string(kMostSettingsBytes, ' ')).best,
            0);  // too long

  char text[64];
  const std::size_t length = WriteSettings({2147, true}, text);
  EXPECT_EQ(std::string(text, length), "[pno0001]\r\nbest=2147\r\nfullscreen=1\r\n");
}

TEST(Pno0001Sound, VoicesAddUpClipAndGiveWay) {
  auto mixer = std::make_unique<Mixer>();
  const int gun = mixer->Length(kGunSound);
  EXPECT_EQ(gun, kSampleRate * 180 / 1000);
  std::vector<std::int16_t> out(gun + 100);
  mixer->Play(kGunSound);
  mixer->Play(kGunSound);
  mixer->Mix(out.data(), static_cast<int>(out.size()));
  for (int i = 0; i < gun; ++i)
    ASSERT_EQ(out[i], std::clamp(2 * mixer->Samples(kGunSound)[i], -32768, 32767)) << i;
  for (int i = gun; i < gun + 100; ++i) ASSERT_EQ(out[i], 0) << "after the end, " << i;
  // Nine at once: the first gives way to the ninth, and the rest play on.
  for (int i = 0; i < Mixer::kVoices; ++i) mixer->Play(kLevelSound);
  mixer->Play(kClickSound);
  mixer->Mix(out.data(), 200);
  for (int i = 0; i < 200; ++i) {
    const int sum =
        (Mixer::kVoices - 1) * mixer->Samples(kLevelSound)[i] + mixer->Samples(kClickSound)[i];
    ASSERT_EQ(out[i], std::clamp(sum, -32768, 32767)) << i;
  }
  SoundId sounds[kSoundCount];
  ASSERT_EQ(SoundsFor(kShotFired | kEnemyDied | kLevelDone, sounds), 3);
  EXPECT_EQ(sounds[0], kGunSound);
  EXPECT_EQ(sounds[1], kEnemyDeathSound);
  EXPECT_EQ(sounds[2], kLevelSound);
}

}  // namespace
}  // namespace ludora::pno0001
