#include "parlour/games_room.h"

#include <algorithm>
#include <unordered_set>

#include "parlour/file_bytes.h"
#include "parlour/game_start.h"
#include "parlour/library_file.h"
#include "parlour/shortcut_games.h"
#include "platform/paths.h"
#include "platform/win_constants.h"

namespace ludora::parlour {

namespace {

std::string Ago(std::int64_t seconds) {
  const std::int64_t days = seconds / 86400;
  if (days <= 0) return "today";
  if (days == 1) return "yesterday";
  if (days < 14) return std::to_string(days) + " days ago";
  if (days < 60) return std::to_string(days / 7) + " weeks ago";
  return std::to_string(days / 30) + " months ago";
}

// What the player is told while the library's file cannot be read.
std::string UnreadableText(const std::string& path, DWORD error) {
  constexpr DWORD kLockViolation = 33;
  const std::string why = error == ERROR_SHARING_VIOLATION || error == kLockViolation
                              ? "another program has it open"
                          : error == ERROR_ACCESS_DENIED ? "Windows denies access to it"
                                                         : "Windows error " + std::to_string(error);
  return "The games library could not be read (" + why +
         "); it is kept as it was, and nothing is saved to it until the room starts again: \"" +
         path + "\"";
}

}  // namespace

std::string PlayTime(std::uint64_t seconds) {
  const std::uint64_t minutes = (seconds + 30) / 60;
  if (minutes < 60) return std::to_string(minutes) + " min";
  const std::string rest = std::to_string(100 + minutes % 60).substr(1);
  return std::to_string(minutes / 60) + " h " + rest + " min";
}

std::string PlayedText(const Game& game, std::int64_t now) {
  if (game.lastPlayed == 0) return "Not played yet";
  return "Played " + PlayTime(game.playSeconds) + ", last " + Ago(now - game.lastPlayed);
}

GamesRoom::GamesRoom(WindowsApi& api, std::string appFolder, std::string libraryPath)
    : api_(api),
      appFolder_(std::move(appFolder)),
      libraryPath_(std::move(libraryPath)),
      windowsFolder_(Lower(Expanded(api, "%windir%"))) {}

void GamesRoom::Quiet() {
  notice_ = library_.unreadable ? UnreadableText(libraryPath_, *library_.unreadable) : "";
}

void GamesRoom::Load() {
  library_ = LoadLibraryFile(api_, libraryPath_);
  if (library_.unreadable) {
    Quiet();
  } else if (library_.damaged) {
    library_.damaged = false;
    Save();
    notice_ = "Part of the games library could not be read; the file was kept as \"" +
              libraryPath_ + " damaged.txt\".";
  }
  room_.Refresh();
}

bool GamesRoom::Save() {
  return !library_.unreadable && SaveLibraryFile(api_, libraryPath_, library_);
}

void GamesRoom::Changed() {
  if (library_.unreadable)
    Quiet();
  else if (!Save())
    notice_ = "The games library could not be saved to \"" + libraryPath_ + "\".";
  room_.Refresh();
}

std::size_t GamesRoom::TakeFinds(std::vector<FoundGame> finds, bool asked) {
  std::size_t imported = 0;
  offers_.clear();
  std::unordered_set<std::string> programs = library_.Programs();
  for (FoundGame& find : finds) {
    if (programs.contains(Lower(find.program))) continue;
    if (!find.known) {
      offers_.push_back(std::move(find));
    } else if (library_.Import(find, &programs)) {
      ++imported;
    }
  }
  if (library_.unreadable) offers_.clear();  // the player's answer could not be kept
  if (imported > 0) {
    notice_ = std::to_string(imported) + (imported == 1 ? " game" : " games") + " joined the room.";
    Changed();
  } else if (asked && offers_.empty() && !library_.unreadable) {
    notice_ = "No new games were found.";
  }
  return imported;
}

void GamesRoom::AnswerOffers(const std::vector<bool>& chosen) {
  std::unordered_set<std::string> programs = library_.Programs();
  for (std::size_t i = 0; i < offers_.size(); ++i) {
    if (i < chosen.size() && chosen[i]) {
      library_.Import(offers_[i], &programs);
    } else if (library_.ignored.size() < kMaxIgnored) {
      library_.ignored.push_back(Lower(offers_[i].program));
    }
  }
  offers_.clear();
  Changed();
}

bool GamesRoom::Add(FoundGame find) {
  std::erase(library_.ignored, Lower(find.program));
  find.source = Source::User;
  if (!library_.Import(find)) return false;
  Changed();
  const auto& shown = room_.Shown();
  const auto at =
      std::find(shown.begin(), shown.end(), static_cast<int>(library_.games.size()) - 1);
  if (at != shown.end()) room_.Select(static_cast<int>(at - shown.begin()));
  return true;
}

bool GamesRoom::Play(DWORD now) {
  const int index = room_.SelectedGame();
  if (index < 0) return false;
  Game& game = library_.games[index];
  const std::vector<RunningProcess> before = RunningProcesses(api_);
  const std::optional<DWORD> pid = StartGame(api_, appFolder_, game);
  if (!pid) {
    notice_ = Exists(api_, game.program) ? "\"" + game.name + "\" could not be started."
                                         : "\"" + game.name + "\" is missing: " + game.program;
    return false;
  }
  // Windows' own folders run everything: there a game is followed by its processes alone.
  const std::string folder = game.folder.empty() ? FolderOf(game.program) : game.folder;
  tracker_.Start(game.program, game.arguments,
                 IsPartOfWindows(folder + "\\", windowsFolder_) ? "" : folder, *pid, now, before);
  game.lastPlayed = UnixNow(api_);
  notice_ = "Playing \"" + game.name + "\".";
  Changed();
  return true;
}

bool GamesRoom::Record(const std::vector<FinishedPlay>& finished) {
  for (const FinishedPlay& play : finished) {
    const int index = library_.Find(play.program, play.arguments);
    if (index >= 0) library_.games[index].playSeconds += play.seconds;
  }
  if (finished.empty()) return false;
  notice_.clear();
  Changed();
  return true;
}

bool GamesRoom::Follow(DWORD now) {
  if (tracker_.Idle()) return false;
  return Record(tracker_.Update(RunningProcesses(api_), now,
                                [&](DWORD pid) { return ProgramPathOfProcess(api_, pid); }));
}

bool GamesRoom::EndPlays() {
  return Record(tracker_.EndAll());
}

void GamesRoom::ToggleFavourite() {
  if (const int index = room_.SelectedGame(); index >= 0) {
    library_.games[index].favourite = !library_.games[index].favourite;
    Changed();
  }
}

void GamesRoom::ToggleHidden() {
  if (const int index = room_.SelectedGame(); index >= 0) {
    library_.games[index].hidden = !library_.games[index].hidden;
    Changed();
  }
}

void GamesRoom::Remove() {
  const int index = room_.SelectedGame();
  if (index < 0) return;
  if (library_.ignored.size() < kMaxIgnored)
    library_.ignored.push_back(Lower(library_.games[index].program));
  library_.games.erase(library_.games.begin() + index);
  const int position = room_.Selection();
  room_.Refresh();
  room_.Select(position);
  Changed();
}

void GamesRoom::Edit(int index, const GameEdit& edit) {
  if (index < 0 || index >= static_cast<int>(library_.games.size())) return;
  Game& game = library_.games[index];
  if (const std::string name = Clean(edit.name); !name.empty()) game.name = name;
  game.arguments = Clean(edit.arguments, 1024);
  game.folder = Clean(edit.folder);
  game.category = Clean(edit.category, 64);
  game.picture = Clean(edit.picture);
  Changed();
}

}  // namespace ludora::parlour
