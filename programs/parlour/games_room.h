// The games room's state and what the player does with it, apart from the
// window: the library and its file, the room's view, the finds offered,
// the games started and their play time. Owned by WinMain.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "parlour/found_game.h"
#include "parlour/library.h"
#include "parlour/play_tracker.h"
#include "parlour/room.h"
#include "platform/windows_api.h"

namespace ludora::parlour {

// "45 min", "2 h 05 min".
std::string PlayTime(std::uint64_t seconds);
// "Not played yet", or "Played 2 h 05 min, last yesterday".
std::string PlayedText(const Game& game, std::int64_t now);

// What the player may change of a game in its properties.
struct GameEdit {
  std::string name, arguments, folder, category, picture;
};

class GamesRoom {
 public:
  GamesRoom(WindowsApi& api, std::string appFolder, std::string libraryPath);

  Library& library() { return library_; }
  Room& room() { return room_; }
  const std::string& appFolder() const { return appFolder_; }
  // A line for the player about what just happened; empty when nothing did.
  const std::string& notice() const { return notice_; }
  void Quiet();  // the player moved on

  // The library from its file; a damaged one is written back sound at once
  // (the file itself was set aside). One that could not be read is never
  // written: the player is told, and whatever changes stays in memory.
  void Load();
  bool Save();

  // The finds of a search: games for sure are imported, other programs new
  // to the library are kept to be offered. How many were imported; the
  // player is told, and when `asked` also of nothing new.
  std::size_t TakeFinds(std::vector<FoundGame> finds, bool asked = false);
  const std::vector<FoundGame>& Offers() const { return offers_; }
  // The player's answer: the chosen ones imported, the others not offered again.
  void AnswerOffers(const std::vector<bool>& chosen);
  // A program the player picked: added even when once left out.
  bool Add(FoundGame find);

  // Starts the selected game (never a missing one); whether it started.
  bool Play(DWORD now);
  // Looks at what runs: the plays that ended go to the library. Whether any did.
  bool Follow(DWORD now);
  bool EndPlays();  // the session ends: every play counts as far as it went
  bool Playing() const { return !tracker_.Idle(); }

  void ToggleFavourite();
  void ToggleHidden();
  // The selected game leaves the room, and is not found again by a search.
  void Remove();
  void Edit(int game, const GameEdit& edit);

 private:
  void Changed();  // saved, and the view follows
  bool Record(const std::vector<FinishedPlay>& finished);

  WindowsApi& api_;
  std::string appFolder_, libraryPath_, windowsFolder_;
  Library library_;
  Room room_{library_};
  PlayTracker tracker_;
  std::vector<FoundGame> offers_;
  std::string notice_;
};

}  // namespace ludora::parlour
