// Starting a game, and the processes that then run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "parlour/library.h"
#include "parlour/play_tracker.h"
#include "platform/windows_api.h"

namespace ludora::parlour {

// What runs now, from a toolhelp snapshot; empty when Windows cannot say.
std::vector<RunningProcess> RunningProcesses(WindowsApi& api);
// The full path of a process's program: the first module of its snapshot.
std::string ProgramPathOfProcess(WindowsApi& api, DWORD pid);

// Starts `game` in its folder with its arguments, as the bar's games menu
// starts games: through the companion launcher, `"<app>\sparkrun.exe"
// "<program>" <arguments>`, which starts it at high priority in the
// program's folder. A game whose folder is another (a shortcut's working
// folder) is started by itself there; so is every game when the launcher
// is missing. A missing program is never started. The id of the process
// started; nothing when none was.
std::optional<DWORD> StartGame(WindowsApi& api, const std::string& appFolder, const Game& game);

}  // namespace ludora::parlour
