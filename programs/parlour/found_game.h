// A program found on the machine that may be a game, and the rules that
// decide what is a game, what is left out, and when two finds are one.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ludora::parlour {

// Where a program was found, in the order of trust: a find of an earlier
// source wins over the same program found by a later one.
enum class Source { GamesFolder, Windows, StartMenu, Installed, AppPaths, User };

struct FoundGame {
  FoundGame() = default;
  FoundGame(std::string name, std::string program, Source source = Source::User, bool known = false)
      : name(std::move(name)), program(std::move(program)), source(source), known(known) {}

  std::string name;
  std::string program;  // full path
  std::string arguments;
  std::string folder;  // where it runs
  std::string icon;    // "<file>,<index>"; empty: the program's own
  Source source = Source::User;
  bool known = false;  // a game for sure: imported without asking
};

// Text as the library keeps it: at most `limit` bytes, control characters
// as blanks, no blanks at the ends.
std::string Clean(std::string_view text, std::size_t limit = 260);
std::string Lower(std::string_view text);

// A file Windows starts as a program: .exe, .com, .bat, .cmd, .pif.
bool IsProgramFile(std::string_view path);
// Uninstallers, set-up and configuration programs, read-me files, help,
// web sites, updates, redistributables: by a word of the name, or of the
// program's file name.
bool IsNotAGame(std::string_view name, std::string_view program);
// A path through a place where games live: a folder named for games
// ("Games", "EA GAMES", "steamapps", ...) or for a games maker.
bool InGamesPlace(std::string_view path);
// A part of Windows rather than a program of the player's: in the Windows
// folder (`windowsFolder`, lower case) or a folder of Windows' own programs
// (Internet Explorer, Outlook Express, ...). Windows' games come from a
// source of their own.
bool IsPartOfWindows(std::string_view program, std::string_view windowsFolder);
// The file name without its folder and extension.
std::string Stem(std::string_view path);

// One entry per program (by its path, case aside): the find of the most
// trusted source stays, a game for sure if any of the finds was, and takes
// the arguments, folder and icon the others knew where it had none.
std::vector<FoundGame> MergeFinds(std::vector<FoundGame> finds);

}  // namespace ludora::parlour
