// Windows' own games, wherever the Windows at hand keeps them: the card
// games and Minesweeper in the Windows or system folder (98 keeps them in
// the Windows folder itself), Pinball and XP's Internet games under Program
// Files, and the Minesweeper Wine ships.
#pragma once

#include <string>
#include <vector>

#include "parlour/found_game.h"
#include "platform/windows_api.h"

namespace ludora::parlour {

struct WindowsFolders {
  std::string windows;       // %windir%
  std::string programFiles;  // ProgramFilesDir of HKLM\...\CurrentVersion
};
WindowsFolders FindWindowsFolders(WindowsApi& api);

std::vector<FoundGame> WindowsGames(WindowsApi& api, const WindowsFolders& folders);

}  // namespace ludora::parlour
