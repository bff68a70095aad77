#include "parlour/windows_games.h"

#include "parlour/file_bytes.h"
#include "parlour/installed_games.h"
#include "parlour/shortcut_games.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora::parlour {

namespace {

enum class Base { Windows, ProgramFiles };

struct WindowsGame {
  const char* name;
  Base base;
  const char* places;  // below the base, tried in turn, separated by '|'
};

constexpr WindowsGame kWindowsGames[] = {
    {"Solitaire", Base::Windows, "system32\\sol.exe|sol.exe"},
    {"FreeCell", Base::Windows, "system32\\freecell.exe|freecell.exe"},
    {"Spider Solitaire", Base::Windows, "system32\\spider.exe"},
    {"Hearts", Base::Windows, "system32\\mshearts.exe|mshearts.exe"},
    {"Minesweeper", Base::Windows, "system32\\winmine.exe|winmine.exe|system32\\winemine.exe"},
    {"Pinball", Base::ProgramFiles, "Windows NT\\Pinball\\pinball.exe"},
    {"Internet Backgammon", Base::ProgramFiles, "MSN Gaming Zone\\Windows\\bckgzm.exe"},
    {"Internet Checkers", Base::ProgramFiles, "MSN Gaming Zone\\Windows\\chkrzm.exe"},
    {"Internet Hearts", Base::ProgramFiles, "MSN Gaming Zone\\Windows\\hrtzzm.exe"},
    {"Internet Reversi", Base::ProgramFiles, "MSN Gaming Zone\\Windows\\rvsezm.exe"},
    {"Internet Spades", Base::ProgramFiles, "MSN Gaming Zone\\Windows\\shvlzm.exe"},
};

}  // namespace

WindowsFolders FindWindowsFolders(WindowsApi& api) {
  WindowsFolders folders;
  folders.windows = Expanded(api, "%windir%");
  if (folders.windows.find('%') != std::string::npos) folders.windows.clear();
  ScopedKey key(api);
  if (api.RegOpenKeyExA(HKLM, "Software\\Microsoft\\Windows\\CurrentVersion", 0, 0x20019,
                        key.out()) == ERROR_SUCCESS)
    folders.programFiles = RegText(api, key.get(), "ProgramFilesDir").value_or("");
  return folders;
}

std::vector<FoundGame> WindowsGames(WindowsApi& api, const WindowsFolders& folders) {
  std::vector<FoundGame> games;
  for (const WindowsGame& row : kWindowsGames) {
    const std::string& base = row.base == Base::Windows ? folders.windows : folders.programFiles;
    if (base.empty()) continue;
    const std::string places = row.places;
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
      end = places.find('|', start);
      const std::string program = base + "\\" + places.substr(start, end - start);
      if (!Exists(api, program)) continue;
      FoundGame game{row.name, program};
      game.source = Source::Windows;
      game.known = true;
      games.push_back(std::move(game));
      break;
    }
  }
  return games;
}

}  // namespace ludora::parlour
