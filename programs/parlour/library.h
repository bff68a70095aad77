// The player's games library: what the room shows, one entry per game, and
// the programs the player said are no games. Kept in a text file of the
// player's own, a line an entry, fields between tabs:
//
//   Corvane Ludora games room 1
//   game <name> <program> <arguments> <folder> <icon> <picture> <category>
//        <flags: F favourite, H hidden, - neither> <play seconds> <last played> <source>
//   ignore <program>
//   end <number of game and ignore lines>
//
// "last played" is in seconds since 1970 (UTC), 0 for never. A line that
// cannot be read is left out and the file counts as damaged; so does a file
// without its end line (cut short) or beyond the limits below.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "parlour/found_game.h"
#include "platform/win_types.h"

namespace ludora::parlour {

struct Game {
  std::string name, program, arguments, folder, icon, picture, category;
  bool favourite = false, hidden = false;
  std::uint64_t playSeconds = 0;
  std::int64_t lastPlayed = 0;
  Source source = Source::User;
  bool operator==(const Game&) const = default;
};

inline constexpr std::size_t kMaxGames = 10000;
inline constexpr std::size_t kMaxIgnored = 10000;
inline constexpr std::size_t kMaxLineBytes = 8192;
inline constexpr std::size_t kMaxLibraryBytes = 16 * 1024 * 1024;

struct Library {
  // A deque, which grows a block at a time: a vector of 2,000 games doubled
  // its way there and left half a megabyte of freed blocks in the heap.
  std::deque<Game> games;
  std::vector<std::string> ignored;  // programs, in lower case
  bool damaged = false;
  // Windows' error when the file is there but could not be read (another
  // program holding it, access refused): nothing of it is known, and it is
  // not to be written over.
  std::optional<DWORD> unreadable;

  // The game a program with these arguments is, case aside; -1 if none.
  int Find(std::string_view program, std::string_view arguments) const;
  bool Has(std::string_view program) const;  // with any arguments, or ignored
  // The programs Has knows, in lower case: one look-up a find where a
  // search's thousands of finds meet a library of thousands of games.
  std::unordered_set<std::string> Programs() const;
  // Adds a find as a game (not when the library holds it, or ignores it);
  // whether it was added. `programs`, where given, is Programs(), asked
  // instead of Has and kept up to date.
  bool Import(const FoundGame& find, std::unordered_set<std::string>* programs = nullptr);
};

// Reads a library file piece by piece, whatever the pieces: memory grows
// with the games read, never with the file.
class LibraryReader {
 public:
  void Feed(std::string_view piece);
  // The library read; damaged when the end line was not its last.
  Library Finish();
  bool Full() const { return full_; }  // the limits are reached: nothing more is read

 private:
  void Line(std::string_view line);

  Library library_;
  std::string partial_;
  std::size_t lines_ = 0, bytes_ = 0;
  bool header_ = false, ended_ = false, skipping_ = false, full_ = false;
};

Library ParseLibrary(std::string_view text);
std::string LibraryText(const Library& library);

}  // namespace ludora::parlour
