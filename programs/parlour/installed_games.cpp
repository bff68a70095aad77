#include "parlour/installed_games.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "parlour/file_bytes.h"
#include "parlour/shortcut_games.h"
#include "platform/paths.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora::parlour {

namespace {

constexpr DWORD kKeyRead = 0x20019;  // KEY_READ
constexpr DWORD kMaxText = 2048;
constexpr std::size_t kMaxPath = 260;  // with its NUL: no program of a longer path starts

std::string Unquoted(std::string text) {
  if (text.size() >= 2 && text.front() == '"') text = text.substr(1, text.find('"', 1) - 1);
  while (text.size() > 3 && (text.back() == '\\' || text.back() == ' ')) text.pop_back();
  return text;
}

// Calls `visit` with each key below `path` of `root`, opened, and its name.
template <typename Visit>
void ForEachSubkey(WindowsApi& api, HKEY root, const std::string& path, std::size_t& budget,
                   Visit&& visit) {
  ScopedKey parent(api);
  if (api.RegOpenKeyExA(root, path, 0, kKeyRead, parent.out()) != ERROR_SUCCESS) return;
  for (DWORD index = 0; budget > 0; ++index, --budget) {
    char name[256];
    DWORD size = sizeof name;
    const LONG status =
        api.RegEnumKeyExA(parent.get(), index, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) continue;  // no key of a program has such a name
    if (status != ERROR_SUCCESS) return;
    const std::string subkey(name, std::min<std::size_t>(size, sizeof name - 1));
    ScopedKey key(api);
    if (api.RegOpenKeyExA(parent.get(), subkey, 0, kKeyRead, key.out()) == ERROR_SUCCESS)
      visit(key.get(), subkey);
  }
}

bool HasValue(WindowsApi& api, HKEY key, const std::string& name) {
  return api.RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// A part of another program, kept out of Add or Remove Programs: a
// SystemComponent but 0, which installers write for those they show.
bool IsSystemComponent(WindowsApi& api, HKEY key) {
  DWORD value = 0, type = 0, size = sizeof value;
  const LONG status = api.RegQueryValueExA(key, "SystemComponent", nullptr, &type,
                                           reinterpret_cast<BYTE*>(&value), &size);
  return status == ERROR_MORE_DATA || (status == ERROR_SUCCESS && (type != REG_DWORD || value));
}

// The one program a folder holds at its top that may be a game; empty when
// it holds none, or several.
std::string OnlyProgramIn(WindowsApi& api, const std::string& folder, std::size_t& budget) {
  std::string only;
  int count = 0;
  WalkFiles(api, folder, 0, budget, [&](const std::string& path, const std::string& name) {
    if (Lower(name).ends_with(".exe") && !IsNotAGame("", path) && count++ == 0) only = path;
  });
  return count == 1 ? only : std::string();
}

// The folder of an uninstaller that lives with its program ("C:\Games\X\unins000.exe").
std::string UninstallerFolder(WindowsApi& api, HKEY key, const std::string& windowsFolder) {
  const std::string command = RegText(api, key, "UninstallString").value_or("");
  const auto exe = Lower(command).find(".exe");
  const std::string program = command.starts_with("\"")  ? Unquoted(command)
                              : exe == std::string::npos ? std::string()
                                                         : command.substr(0, exe + 4);
  return IsProgramFile(program) && !IsPartOfWindows(program, windowsFolder) ? FolderOf(program)
                                                                            : std::string();
}

int IconIndex(const char* number) {
  return static_cast<int>(std::clamp(std::strtol(number, nullptr, 10), -65535L, 65535L));
}

}  // namespace

IconPlace ParseIconPlace(const std::string& text) {
  IconPlace place;
  if (text.starts_with("\"")) {
    const auto close = text.find('"', 1);
    place.file = text.substr(1, close - 1);
    const auto comma = close == std::string::npos ? close : text.find(',', close);
    if (comma != std::string::npos) place.index = IconIndex(text.c_str() + comma + 1);
    return place;
  }
  place.file = text;
  const auto comma = text.find_last_of(',');
  if (comma == std::string::npos) return place;
  const char* number = text.c_str() + comma + 1;
  char* end = nullptr;
  std::strtol(number, &end, 10);
  if (end != number && *end == '\0') {
    place.file = text.substr(0, comma);
    place.index = IconIndex(number);
  }
  return place;
}

std::optional<std::string> RegText(WindowsApi& api, HKEY key, const std::string& name) {
  char data[kMaxText];
  DWORD type = 0, size = sizeof data;
  if (api.RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ) || size > sizeof data) {
    return std::nullopt;
  }
  std::string text(data, strnlen(data, size));
  return type == REG_EXPAND_SZ ? Expanded(api, text) : text;
}

std::vector<FoundGame> InstalledGames(WindowsApi& api, const std::vector<FoundGame>& shortcuts,
                                      const std::string& windowsFolder, std::size_t& budget) {
  // The shortcuts' programs in order, to find those inside a folder at once.
  std::vector<std::pair<std::string, std::size_t>> byProgram;
  for (std::size_t i = 0; i < shortcuts.size(); ++i)
    byProgram.emplace_back(Lower(shortcuts[i].program), i);
  std::sort(byProgram.begin(), byProgram.end());
  std::vector<FoundGame> games;
  for (const HKEY root : {HKLM, HKCU}) {
    ForEachSubkey(api, root, kUninstallKey, budget, [&](HKEY key, const std::string&) {
      const std::string name = Clean(RegText(api, key, "DisplayName").value_or(""));
      if (name.empty() || IsNotAGame(name, "") || HasValue(api, key, "ParentKeyName") ||
          HasValue(api, key, "ReleaseType") || IsSystemComponent(api, key))
        return;
      const IconPlace icon = ParseIconPlace(RegText(api, key, "DisplayIcon").value_or(""));
      FoundGame game(name, "");
      std::string location;
      if (IsProgramFile(icon.file) && !IsNotAGame("", icon.file)) {
        game.program = icon.file;
        game.icon = icon.file + "," + std::to_string(icon.index);
      } else {
        location = Unquoted(RegText(api, key, "InstallLocation").value_or(""));
        if (location.empty()) location = UninstallerFolder(api, key, windowsFolder);
        if (location.empty()) return;
        const std::string inside = Lower(location) + "\\";
        const auto first =
            std::lower_bound(byProgram.begin(), byProgram.end(), std::pair{inside, std::size_t{0}});
        if (first != byProgram.end() && first->first.starts_with(inside)) {
          game = shortcuts[first->second];
          game.name = name;
        } else {
          game.program = OnlyProgramIn(api, location, budget);
        }
      }
      if (game.program.size() >= kMaxPath) return;  // cut short, it would name another file
      game.program = Clean(game.program);
      if (game.program.empty() || IsPartOfWindows(game.program, windowsFolder)) return;
      game.source = Source::Installed;
      game.known = InGamesPlace(location + "\\") || InGamesPlace(game.program);
      games.push_back(std::move(game));
    });
  }
  return games;
}

std::vector<FoundGame> AppPathGames(WindowsApi& api, const std::string& windowsFolder,
                                    std::size_t& budget) {
  std::vector<FoundGame> games;
  ForEachSubkey(api, HKLM, kAppPathsKey, budget, [&](HKEY key, const std::string& subkey) {
    const std::string program = Unquoted(RegText(api, key, "").value_or(""));
    FoundGame game{Clean(Stem(subkey)), Clean(program)};
    if (game.name.empty() || program.size() >= kMaxPath || !IsProgramFile(game.program) ||
        IsNotAGame(game.name, game.program) || IsPartOfWindows(game.program, windowsFolder))
      return;  // a key named ".exe" names no game
    game.source = Source::AppPaths;
    game.known = InGamesPlace(game.program);
    games.push_back(std::move(game));
  });
  return games;
}

}  // namespace ludora::parlour
