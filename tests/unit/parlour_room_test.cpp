// parlour.exe, the games room: the library's file, the room's view and its
// keys, the gamepad, starting a game and following its play time.
#include <gtest/gtest.h>

#include <ctime>

#include "fake/test_support.h"
#include "parlour/game_start.h"
#include "parlour/games_room.h"
#include "parlour/gamepad.h"
#include "parlour/library_file.h"
#include "parlour/room.h"
#include "parlour/tile_picture.h"

namespace ludora::parlour {
namespace {

using namespace testing;

const std::string kFile = "C:\\Data\\Games Room.txt";
const std::string kHeader = "Corvane Ludora games room 1\r\n";

Game Make(const std::string& name, const std::string& program, std::uint64_t seconds = 0,
          std::int64_t last = 0) {
  Game game;
  game.name = name, game.program = program, game.playSeconds = seconds, game.lastPlayed = last;
  return game;
}

TEST(LibraryFile, RoundTripsAndKeepsWhatItCannotRead) {
  Library library;
  library.games = {Make("Doom\t2: \xC9 \"Hell\"", "C:\\Games\\doom2.exe", 3600, 1700000000)};
  Game& odd = library.games.emplace_back(Make("X", "C:\\x.exe"));
  odd.arguments = "-a \"b c\"", odd.category = "Shooters", odd.favourite = odd.hidden = true;
  odd.source = Source::StartMenu, odd.icon = "C:\\x.exe,-3", odd.picture = "C:\\x.jpg";
  library.ignored = {"c:\\tools\\paint.exe"};
  const std::string text = LibraryText(library);
  EXPECT_EQ(
      text,
      kHeader +
          "game\tDoom 2: \xC9 \"Hell\"\tC:\\Games\\doom2.exe\t\t\t\t\t\t-\t3600\t1700000000\t5\r\n"
          "game\tX\tC:\\x.exe\t-a \"b c\"\t\tC:\\x.exe,-3\tC:\\x.jpg\tShooters\tFH\t0\t0\t2\r\n"
          "ignore\tc:\\tools\\paint.exe\r\nend\t3\r\n");
  library.games[0].name = "Doom 2: \xC9 \"Hell\"";
  Library read = ParseLibrary(text);
  EXPECT_TRUE(read.games == library.games && read.ignored == library.ignored && !read.damaged);
  // In any pieces, LF line ends too.
  LibraryReader pieces;
  for (const char c : text) pieces.Feed(std::string(1, c));
  EXPECT_EQ(pieces.Finish().games, library.games);
  // Damage: each bad line goes alone, the others stay; a file cut short or miscounted is damaged.
  const std::string good = "game\tA\tC:\\a.exe\t\t\t\t\t\t-\t1\t2\t0\r\n";
  const std::pair<std::string, std::size_t> damaged[] = {
      {kHeader + good + "game\tB\tC:\\b.exe\t\t\t\t\t\tQ\t1\t2\t0\r\n" + good + "end\t3\r\n", 2},
      {kHeader + good + "game\tB\tC:\\b.exe\t\t\t\t\t\t-\t-1\t2\t0\r\n" + "end\t2\r\n", 1},
      {kHeader + good + "game\tB\t\t\t\t\t\t\t-\t1\t2\t0\r\n" + "end\t2\r\n", 1},
      {kHeader + good + std::string(20000, 'x') + "\r\n" + good + "end\t3\r\n", 2},
      {kHeader + good + good, 2},
      {kHeader + good + "end\t7\r\n", 1},
      {kHeader + good + "end\t1\r\n" + good, 1},
      {good + "end\t1\r\n", 1},
      {std::string("\0\xFF\r\n", 4) + good, 1},
  };
  for (const auto& [bytes, count] : damaged) {
    const Library got = ParseLibrary(bytes);
    EXPECT_TRUE(got.damaged && got.games.size() == count) << bytes.substr(0, 200);
  }
  // A huge file: read up to the limit, no further.
  std::string huge = kHeader;
  for (std::size_t i = 0; i <= kMaxGames + 5; ++i) huge += good;
  const Library big = ParseLibrary(huge);
  EXPECT_TRUE(big.damaged && big.games.size() == kMaxGames);
}

TEST(LibraryFile, WrittenAsANewFileRenamedOverTheOldAndDamageSetAside) {
  for (const DWORD platform : {VER_PLATFORM_WIN32_NT, DWORD{1}}) {
    FakeWindows api;
    api.platformId = platform;
    Library library;
    library.games = {Make("A", "C:\\a.exe")};
    api.AddFile(kFile, "old");
    ASSERT_TRUE(SaveLibraryFile(api, kFile, library));
    EXPECT_EQ(LoadLibraryFile(api, kFile).games, library.games);
    // The shared write looks for the old file and clears a stale new one first.
    const Log nt = {"file-open " + kFile, "file-delete " + kFile + ".new",
                    "file-open " + kFile + ".new", "file-replace " + kFile + ".new -> " + kFile};
    const Log w98 = {nt[0],
                     nt[1],
                     nt[2],
                     nt[3],
                     "file-delete " + kFile,
                     "file-move " + kFile + ".new -> " + kFile};
    Log expected = platform == 1 ? w98 : nt;
    expected.push_back("file-open " + kFile);
    EXPECT_EQ(api.Effects("file-"), expected);
  }
  // 98 stopped between its two steps: the new file is read, and takes the old
  // one's place; where it cannot, it is still the library, and stays.
  const std::string one = kHeader + "game\tA\tC:\\a.exe\t\t\t\t\t\t-\t1\t2\t0\r\nend\t1\r\n";
  FakeWindows api;
  api.AddFile(kFile + ".new", one);
  api.failing = {Op::MoveFileExA, Op::MoveFileA};
  EXPECT_EQ(LoadLibraryFile(api, kFile).games.size(), 1u);
  api.failing = {};
  EXPECT_EQ(LoadLibraryFile(api, kFile).games.size(), 1u);
  EXPECT_TRUE(api.GetFileAttributesA(kFile) != 0xFFFFFFFF &&
              api.GetFileAttributesA(kFile + ".new") == 0xFFFFFFFF);
  // A damaged file is kept whole beside the sound part; a write that fails leaves the old file.
  const std::string damaged = kHeader + "game\tA\tC:\\a.exe\t\t\t\t\t\t-\t1\t2\t0\r\nrubbish\r\n";
  api.RemoveFile(kFile), api.AddFile(kFile, damaged);
  EXPECT_EQ(LoadLibraryFile(api, kFile).games.size(), 1u);
  EXPECT_EQ(api.files.back().path, kFile + " damaged.txt");
  EXPECT_EQ(api.files.back().content, damaged);
  api.AddFile(kFile, "sound");
  api.failing = {Op::WriteFile};
  EXPECT_FALSE(SaveLibraryFile(api, kFile, Library{}));
  api.failing = {};
  EXPECT_TRUE(std::any_of(api.files.begin(), api.files.end(),
                          [&](auto& f) { return f.path == kFile && f.content == "sound"; }));
}

TEST(LibraryFile, OneThereButUnreadableIsNeverWrittenOverAndThePlayerIsTold) {
  const std::string one = kHeader + "game\tA\tC:\\a.exe\t\t\t\t\t\t-\t3600\t2\t0\r\nend\t1\r\n";
  const FoundGame quake{"Quake", "C:\\Games\\quake.exe", Source::StartMenu, true};
  // Held by another program at the start (a sharing violation), or failing half way.
  for (const bool halfWay : {false, true}) {
    FakeWindows api;
    api.AddFile(kFile, one);
    api.readPiece = 16;
    if (halfWay)
      api.failingCall = {Op::ReadFile, 2};
    else
      api.failing = {Op::CreateFileA};
    GamesRoom room(api, kApp, kFile);
    room.Load();
    api.failing = {};
    EXPECT_EQ(room.TakeFinds({quake}), 1u);  // the search's finds show all the same
    room.Quiet();
    const std::string why = halfWay ? "(Windows error 6)" : "(another program has it open)";
    EXPECT_NE(room.notice().find("could not be read " + why), std::string::npos) << room.notice();
    ASSERT_EQ(api.files.size(), 1u);
    EXPECT_EQ(api.files[0].content, one);
  }
}

TEST(GamesRoom, ALargeLibraryIsReadShownAndMetBySearchesInLinearTime) {
  // 5,000 games each in a category of its own and 5,000 programs left out, then 5,000 finds:
  // a look through the library for each game or find took half a minute.
  constexpr int kCount = 5000;
  std::string text = kHeader;
  std::vector<FoundGame> finds;
  for (int i = 0; i < kCount; ++i) {
    const std::string n = std::to_string(i);
    text += "game\tG" + n + "\tC:\\g" + n + ".exe\t\t\t\t\tKind " + n + "\t-\t0\t" + n + "\t3\r\n";
    text += "ignore\tc:\\x" + n + ".exe\r\n";
    finds.push_back({"F" + n, "C:\\f" + n + ".exe", Source::StartMenu, false});
  }
  FakeWindows api;
  api.AddFile(kFile, text + "end\t" + std::to_string(2 * kCount) + "\r\n");
  const std::clock_t start = std::clock();  // the processor's time, whatever else runs
  GamesRoom room(api, kApp, kFile);
  room.Load();
  room.TakeFinds(finds);
  room.AnswerOffers(std::vector<bool>(kCount, true));
  EXPECT_LT(std::clock() - start, 3 * CLOCKS_PER_SEC);
  EXPECT_EQ(room.room().Categories().size(), 3u + kCount);
  EXPECT_EQ(room.library().games.size(), 2u * kCount);
  room.room().SelectCategory(2);  // the recently played: the last first, so many and no more
  EXPECT_TRUE(room.room().Shown().size() == kRecentCount && room.room().Shown()[0] == kCount - 1);
}

TEST(Room, CategoriesSearchSortAndKeys) {
  Library library;
  for (int i = 0; i < 10; ++i)
    library.games.push_back(Make("Game " + std::to_string(i), "C:\\g" + std::to_string(i)));
  library.games[3].favourite = library.games[7].favourite = true;
  library.games[2].lastPlayed = 50, library.games[5].lastPlayed = 90,
  library.games[5].playSeconds = 9;
  library.games[4].category = "Racing", library.games[6].category = "arcade",
  library.games[8].category = "Arcade";
  library.games[9].hidden = true, library.games[9].category = "Puzzle";
  Room room(library);
  room.SetGrid(4, 2);
  EXPECT_EQ(room.Categories(),
            (std::vector<std::string>{kAll, kFavourites, kRecent, "arcade", "Racing"}));
  EXPECT_EQ(room.Shown(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));  // the hidden one not
  // Arrows, by rows of four; past the last row stays; the view follows the selection.
  room.Move(1, 0), room.Move(0, 1);
  EXPECT_EQ(room.Selection(), 5);
  room.Move(0, 1);
  EXPECT_TRUE(room.Selection() == 8 && room.TopRow() == 1);
  room.Move(0, 1), room.Move(1, 0);
  EXPECT_EQ(room.Selection(), 8);
  room.Page(-1);
  EXPECT_TRUE(room.Selection() == 0 && room.TopRow() == 0);
  // Type-ahead, case aside; Escape clears it, then goes back to All, then closes.
  for (const char c : std::string("ME 7")) room.Type(c);
  EXPECT_EQ(room.Shown(), std::vector<int>{7});
  room.Erase(), room.Erase();
  EXPECT_EQ(room.Shown().size(), 9u);
  room.ChangeCategory(-2);
  EXPECT_EQ(room.Shown(), (std::vector<int>{6, 8}));
  room.ChangeCategory(-1);
  EXPECT_EQ(room.Shown(), (std::vector<int>{5, 2}));  // recent: the last played first
  room.SetSort(Sort::PlayTime), room.SelectCategory(0), room.Select(3);
  EXPECT_EQ(room.Shown()[0], 5);
  EXPECT_EQ(room.SelectedGame(), 2);
  room.Type('x');
  EXPECT_TRUE(room.Shown().empty() && room.SelectedGame() == -1);
  EXPECT_TRUE(room.Back() && room.SelectedGame() == 5 && !room.Back());
  room.SelectCategory(1);
  EXPECT_TRUE(room.Back() && room.Category() == 0);
  // The library changes under the room: the selected game stays selected.
  room.Select(4);
  const int selected = room.SelectedGame();
  library.games.push_back(Make("AAA", "C:\\a"));
  room.Refresh();
  EXPECT_TRUE(room.SelectedGame() == selected && room.Selection() == 5);
  room.ShowHidden(true);
  EXPECT_TRUE(room.Shown().size() == 11u && room.Categories().size() == 6u);
  // Tiles lie where a click finds them again.
  const Layout layout{800, 600};
  for (int position : {0, 7, 9}) {
    const RECT tile = layout.Tile(position, 1);
    EXPECT_EQ(layout.HitTile(tile.left + 1, tile.top + 1, 1, 11),
              tile.top >= Layout::kHeader ? position : -1);
  }
  EXPECT_EQ(layout.HitTile(2, 2, 0, 11), -1);
}

TEST(Gamepad, DirectionsRepeatWhileHeldAndButtonsActOnce) {
  Gamepad pad;
  using C = std::vector<PadCommand>;
  EXPECT_EQ(pad.Read({32767, 32767, 0xFFFF, 0}, 0), C{});
  EXPECT_EQ(pad.Read({65535, 30000, 0xFFFF, 0}, 10), C{PadCommand::Right});
  EXPECT_EQ(pad.Read({65535, 30000, 0xFFFF, 0}, 400), C{});
  EXPECT_EQ(pad.Read({65535, 30000, 0xFFFF, 0}, 410), C{PadCommand::Right});
  EXPECT_EQ(pad.Read({65535, 30000, 0xFFFF, 0}, 540), C{PadCommand::Right});
  EXPECT_EQ(pad.Read({32767, 32767, 18000, 0b1}, 550), (C{PadCommand::Down, PadCommand::Play}));
  EXPECT_EQ(pad.Read({32767, 32767, 27000, 0b11}, 560), (C{PadCommand::Left, PadCommand::Back}));
  EXPECT_EQ(pad.Read({0, 32767, 0xFFFF, 0b110010}, 570),
            (C{PadCommand::PreviousCategory, PadCommand::NextCategory}));
  EXPECT_EQ(pad.Read({20000, 0, 0xFFFF, 0}, 580),
            C{PadCommand::Up});  // the axis pushed further wins
}

struct Playing : ::testing::Test {
  std::vector<RunningProcess> Run(std::initializer_list<RunningProcess> more) {
    std::vector<RunningProcess> all = {{4, 0, "System"}, {300, 4, "ludora.exe"}};
    all.insert(all.end(), more);
    return all;
  }
  std::vector<FinishedPlay> At(DWORD ms, std::initializer_list<RunningProcess> running) {
    return tracker.Update(Run(running), ms, [&](DWORD pid) {
      ++asked;
      return paths[pid];
    });
  }
  PlayTracker tracker;
  std::map<DWORD, std::string> paths;
  int asked = 0;
};

TEST_F(Playing, ALauncherThatEndsAtOnceHandsOnToItsGame) {
  tracker.Start("C:\\Games\\Q\\launch.exe", "-x", "C:\\Games\\Q", 10, 0, Run({}));
  EXPECT_TRUE(At(1000, {{10, 300, "sparkrun.exe"}}).empty());
  // The launcher started the game and ended between two looks: its child is followed all the same.
  EXPECT_TRUE(At(2000, {{11, 10, "launch.exe"}, {50, 300, "notepad.exe"}}).empty());
  EXPECT_TRUE(At(3000, {{12, 11, "quake.exe"}}).empty());
  // A process from the game's folder, whoever started it, is the game's too; its path asked
  // again while Windows cannot tell it (it is just starting).
  paths = {{50, "C:\\WINDOWS\\notepad.exe"}, {14, "C:\\WINDOWS\\other.exe"}};
  EXPECT_TRUE(At(6000, {{13, 4, "server.exe"}}).empty());
  paths[13] = "C:\\GAMES\\Q\\server.exe";
  EXPECT_TRUE(At(7000, {{13, 4, "server.exe"}}).empty());
  EXPECT_TRUE(At(12000, {{13, 4, "server.exe"}, {14, 4, "other.exe"}}).empty());
  EXPECT_TRUE(At(13000, {}).empty());
  EXPECT_TRUE(At(14000, {{14, 13, "helper.exe"}}).empty());  // the stranger's id, now the game's
  const auto done = At(18000, {});                           // the grace after the last one ended
  ASSERT_EQ(done.size(), 1u);
  EXPECT_TRUE(done[0].program == "C:\\Games\\Q\\launch.exe" && done[0].arguments == "-x" &&
              done[0].seconds == 14);
  EXPECT_EQ(asked, 4);  // 13 twice, 14 once, and 50 (asked before its path was given) once
  EXPECT_TRUE(tracker.Idle());
}

TEST_F(Playing, AGameElsewhereHandedOnByALauncherNeverSeenIsFollowed) {
  // sparkrun (10) started the launcher (11), which started the game (12) in another folder and
  // ended: both gone at the first look, where the game's children are listed before it.
  tracker.Start("C:\\Games\\Q\\launch.exe", "", "C:\\Games\\Q", 10, 0, Run({}));
  paths = {{12, "C:\\Other\\quake.exe"},
           {13, "C:\\Other\\server.exe"},
           {14, "C:\\Other\\voice.exe"},
           {61, "C:\\b.exe"}};
  const RunningProcess voice{14, 13, "voice.exe"}, server{13, 12, "server.exe"},
      quake{12, 11, "quake.exe"}, b{61, 60, "b.exe"}, c{62, 59, "c.exe"};
  EXPECT_TRUE(At(250, {voice, server, quake, {60, 4, "a.exe"}}).empty());
  // Not handed on: a child of one seen at a look, and after the first seconds one of one unseen.
  EXPECT_TRUE(At(1000, {voice, server, quake, b}).empty());
  EXPECT_TRUE(At(9000, {voice, b, c}).empty());
  EXPECT_TRUE(At(30000, {voice, b, c}).empty());
  const auto done = At(34000, {b, c});
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0].seconds, 30u);
}

TEST_F(Playing, WhatRanBeforeAndIdsTakenByOthersAreNeverTheGames) {
  paths = {{20, "C:\\Games\\Q\\quake.exe"}};
  tracker.Start("C:\\Games\\Q\\quake.exe", "", "C:\\Games\\Q", 10, 0, Run({{20, 4, "quake.exe"}}));
  EXPECT_TRUE(At(1000, {{10, 300, "quake.exe"}, {20, 4, "quake.exe"}}).empty());
  // The game ended and its id went to another program.
  EXPECT_TRUE(At(2000, {{10, 300, "calc.exe"}, {20, 4, "quake.exe"}}).empty());
  const auto done = At(6000, {{10, 300, "calc.exe"}, {20, 4, "quake.exe"}});
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0].seconds, 1u);
}

TEST(GameStart, ThroughTheLauncherInItsFolderAndNeverWhenMissing) {
  FakeWindows api;
  api.AddFile("C:\\Games\\Q\\quake.exe");
  Game game = Make("Quake", "C:\\Games\\Q\\quake.exe");
  game.arguments = "+map e1m1";
  EXPECT_TRUE(StartGame(api, kApp, game));
  game.folder = "C:\\Games\\Q\\id1";  // a shortcut's own working folder
  EXPECT_TRUE(StartGame(api, kApp, game));
  game.program = "C:\\Games\\gone.exe";
  EXPECT_FALSE(StartGame(api, kApp, game));
  EXPECT_EQ(
      api.Effects("run"),
      (Log{"run \"" + kApp +
               "\\sparkrun.exe\" \"C:\\Games\\Q\\quake.exe\" +map e1m1 show=1 dir=C:\\Games\\Q",
           "run \"C:\\Games\\Q\\quake.exe\" +map e1m1 show=1 dir=C:\\Games\\Q\\id1"}));
  EXPECT_EQ(api.Live(Kind::Process) + api.Live(Kind::Thread), 0);
  // What runs: names on XP, paths on 98; a program's path from its modules.
  api.processes = {{7, 1, "C:\\Games\\Q\\quake.exe"}};
  EXPECT_EQ(RunningProcesses(api)[0].exe, "quake.exe");
  EXPECT_EQ(ProgramPathOfProcess(api, 7), "C:\\Games\\Q\\quake.exe");
  api.platformId = 1;
  EXPECT_EQ(RunningProcesses(api)[0].exe, "C:\\Games\\Q\\quake.exe");
  EXPECT_EQ(api.Live(Kind::Snapshot), 0);
}

TEST(GamesRoom, GamesForSureJoinOffersWaitAndPlayTimeIsKept) {
  FakeWindows api;
  api.environment = {{"APPDATA", "C:\\Users\\P\\AppData"}, {"WINDIR", "C:\\WINDOWS"}};
  api.AddFolder("C:\\Users\\P\\AppData");
  const std::string path = LibraryPath(api, kApp);
  EXPECT_EQ(path, "C:\\Users\\P\\AppData\\Corvane\\Ludora\\Games Room.txt");
  EXPECT_EQ(api.Effects("mkdir"), (Log{"mkdir C:\\Users\\P\\AppData\\Corvane",
                                       "mkdir C:\\Users\\P\\AppData\\Corvane\\Ludora"}));
  GamesRoom room(api, kApp, path);
  room.Load();
  std::vector<FoundGame> finds = {{"Quake", "C:\\Games\\quake.exe", Source::StartMenu, true},
                                  {"Paint", "C:\\Tools\\paint.exe", Source::StartMenu, false},
                                  {"Chat", "C:\\Tools\\chat.exe", Source::Installed, false}};
  EXPECT_EQ(room.TakeFinds(finds), 1u);
  ASSERT_EQ(room.Offers().size(), 2u);
  room.AnswerOffers({false, true});  // Paint is no game: never offered again
  EXPECT_EQ(room.TakeFinds(finds), 0u);
  EXPECT_TRUE(room.Offers().empty() && room.library().games.size() == 2);
  // Played: started through the launcher, its time recorded when it ends, and kept on disk.
  api.AddFile("C:\\Games\\quake.exe");
  api.SetUnixTime(1700000000);
  room.room().Select(1);  // Chat, Quake by name
  ASSERT_EQ(room.library().games[room.room().SelectedGame()].name, "Quake");
  room.library().games[room.room().SelectedGame()].playSeconds = 600;  // played before
  api.processes = {{1, 0, "C:\\WINDOWS\\explorer.exe"}};
  ASSERT_TRUE(room.Play(1000));
  api.processes = {{7, 1, "C:\\Program Files\\Corvane Ludora\\sparkrun.exe"},
                   {9, 7, "C:\\Games\\quake.exe"}};
  EXPECT_FALSE(room.Follow(2000));
  api.processes = {{9, 7, "C:\\Games\\quake.exe"}};
  EXPECT_FALSE(room.Follow(61000));
  api.processes = {{1, 0, "C:\\WINDOWS\\explorer.exe"}};
  EXPECT_TRUE(room.Follow(66000) && !room.Playing());
  const Library saved = LoadLibraryFile(api, path);
  const Game& quake = saved.games[saved.Find("C:\\GAMES\\quake.exe", "")];
  EXPECT_TRUE(quake.playSeconds == 660 && quake.lastPlayed == 1700000000);
  EXPECT_EQ(PlayedText(quake, 1700000000 + 3 * 86400), "Played 11 min, last 3 days ago");
  // Windows' own games run where everything runs: one is followed by its processes alone.
  api.AddFile("C:\\WINDOWS\\system32\\sol.exe");
  ASSERT_TRUE(room.Add({"Solitaire", "C:\\WINDOWS\\system32\\sol.exe"}) && room.Play(100000));
  api.processes.push_back({9, 7, "C:\\WINDOWS\\system32\\sol.exe"});
  api.processes.push_back({12, 1, "C:\\WINDOWS\\system32\\notepad.exe"});
  EXPECT_FALSE(room.Follow(101000));
  api.processes.erase(api.processes.begin() + 1);
  EXPECT_TRUE(room.Follow(106000) && !room.Playing());
  // Removed: gone, and a search does not bring it back; the player may add it again.
  room.room().Select(1);
  room.Remove();
  EXPECT_EQ(room.TakeFinds(finds), 0u);
  EXPECT_TRUE(room.Add(finds[0]) && room.library().games.size() == 3);
  room.room().Select(0);
  api.RemoveFile("C:\\Games\\quake.exe");
  EXPECT_FALSE(room.Play(70000));  // missing: never started
  EXPECT_EQ(room.notice(), "\"Chat\" is missing: C:\\Tools\\chat.exe");
}

TEST(TilePicture, ScaledOnceToTheBoxKeepingItsShape) {
  Picture picture{
      4, 2, {0xFF0000, 0xFF0000, 0x0000FF, 0x0000FF, 0xFF0000, 0xFF0000, 0x0000FF, 0x0000FF}};
  const Picture half = ScaledToFit(picture, 2, 2);
  EXPECT_TRUE(half.width == 2 && half.height == 1 &&
              half.pixels == (std::vector<std::uint32_t>{0xFF0000, 0x0000FF}));
  const Picture mixed = ScaledToFit(picture, 1, 1);
  EXPECT_EQ(mixed.pixels, std::vector<std::uint32_t>{0x800080});
  EXPECT_EQ(ScaledToFit(picture, 8, 8).pixels.size(), 32u);  // up to 8 x 4, each pixel doubled
  FakeWindows api;
  api.AddFile("C:\\G\\folder.jpg", "not a picture");
  EXPECT_FALSE(TilePicture(api, Make("G", "C:\\G\\g.exe"), 96, 72));
  EXPECT_EQ(PictureFile(api, Make("G", "C:\\G\\g.exe")), "C:\\G\\folder.jpg");
}

}  // namespace
}  // namespace ludora::parlour
