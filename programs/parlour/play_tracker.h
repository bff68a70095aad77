// A game's play time: from its start to the end of its last process. The
// process the room starts is the launcher (sparkrun.exe), which starts the
// game and ends, and a game's own launcher may do the same; so a start is
// followed through the processes it makes (by their parent, which a
// process keeps naming after it ended), and through the processes that
// start from the game's folder after it, until none of them runs. A
// launcher may start the game elsewhere and end between two looks, never
// seen: in a start's first seconds, a process whose parent came and went
// unseen is taken as handed on. Pure decisions: the room hands in what
// runs, and when.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace ludora::parlour {

// A running process: its id, its parent's, and its program's file name
// (what the NT family's snapshot gives; 98 gives the full path).
struct RunningProcess {
  DWORD pid = 0;
  DWORD parent = 0;
  std::string exe;
};

// The full path of a process's program, asked only of processes that came
// after a start; empty when it cannot be told.
using ProgramPathOf = std::function<std::string(DWORD pid)>;

struct FinishedPlay {
  std::string program, arguments;  // the game, as the library names it
  std::uint64_t seconds = 0;
};

class PlayTracker {
 public:
  // After the last process of a game is gone, this long passes with none
  // started from its folder before the play counts as ended.
  static constexpr DWORD kGraceMs = 4000;
  // The first seconds of a start, when launchers hand on and end.
  static constexpr DWORD kHandOnMs = 8000;

  // A game was started as process `pid` at `now`; `before` is what ran just
  // before. `folder` is followed unless empty (Windows' own folders, where
  // everything runs from).
  void Start(const std::string& program, const std::string& arguments, const std::string& folder,
             DWORD pid, DWORD now, const std::vector<RunningProcess>& before);
  // What runs at `now`: the plays that ended.
  std::vector<FinishedPlay> Update(const std::vector<RunningProcess>& running, DWORD now,
                                   const ProgramPathOf& pathOf);
  // Every play ends now, as far as it was seen (the session ends).
  std::vector<FinishedPlay> EndAll();
  bool Idle() const { return plays_.empty(); }

 private:
  struct Play {
    FinishedPlay game;
    std::string folder;  // lower case, with its final backslash
    DWORD started = 0, lastSeen = 0;
    std::set<DWORD> before;                 // running at the start: never followed
    std::set<DWORD> looked;                 // seen at a look in the first seconds
    std::map<DWORD, std::string> followed;  // running, by id, with their program's name
    std::set<DWORD> ever;                   // every process followed, ended ones too
    std::set<DWORD> strangers;              // looked at and not the game's
    std::map<DWORD, int> unknown;           // asked for their program's path, in vain
  };
  enum class Verdict { Game, Stranger, Unknown };
  static constexpr int kAsks = 5;
  static bool HandedOn(const Play& play, const RunningProcess& process,
                       const std::set<DWORD>& running, DWORD now, bool newest);
  Verdict InFolder(Play& play, const RunningProcess& process, const ProgramPathOf& pathOf) const;

  std::vector<Play> plays_;
};

}  // namespace ludora::parlour
