// Games found in the registry: the installed programs of the machine and
// of the user (the Uninstall keys) and the programs of App Paths.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "parlour/found_game.h"
#include "platform/windows_api.h"

namespace ludora::parlour {

inline constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr char kAppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// A file and its icon's index as DisplayIcon holds them: `"C:\x.exe",0`,
// `C:\x.exe,-101`, `C:\x.ico`.
struct IconPlace {
  std::string file;
  int index = 0;
};
IconPlace ParseIconPlace(const std::string& text);

// A text value (REG_SZ, or REG_EXPAND_SZ expanded) of an open key; nothing
// when absent, of another type, or longer than a path or command line.
std::optional<std::string> RegText(WindowsApi& api, HKEY key, const std::string& name);

// The installed programs that start a game: DisplayName, the program of
// DisplayIcon, else of a shortcut in `shortcuts` that lies in the
// InstallLocation (or the uninstaller's folder), else the one program
// there. Updates, Windows' own parts and what is no game are left out. A
// key's values are read only as far as they are needed.
std::vector<FoundGame> InstalledGames(WindowsApi& api, const std::vector<FoundGame>& shortcuts,
                                      const std::string& windowsFolder, std::size_t& budget);

// The programs of App Paths: the default value of each key.
std::vector<FoundGame> AppPathGames(WindowsApi& api, const std::string& windowsFolder,
                                    std::size_t& budget);

}  // namespace ludora::parlour
