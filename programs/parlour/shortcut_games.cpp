#include "parlour/shortcut_games.h"

#include "parlour/file_bytes.h"
#include "platform/paths.h"

namespace ludora::parlour {

namespace {

constexpr int kCsidlPrograms = 2, kCsidlCommonPrograms = 23;
constexpr int kDepth = 8;  // folders below the Start menu's programs, and the games folder
constexpr UINT kAnsiCodePage = 0;

bool HasExtension(const std::string& path, const char* extension) {
  return Lower(path).ends_with(extension);
}

}  // namespace

std::string Expanded(WindowsApi& api, const std::string& text) {
  if (text.find('%') == std::string::npos) return text;
  char buffer[1024];
  const DWORD length = api.ExpandEnvironmentStringsA(text, buffer, sizeof buffer);
  return length == 0 || length > sizeof buffer ? text : std::string(buffer, length - 1);
}

std::optional<std::string> AnsiText(WindowsApi& api, const LinkText& text) {
  if (!text.wide) return text.ansi;
  if (text.utf16.empty()) return std::string();
  const int count = static_cast<int>(text.utf16.size());
  std::string ansi(static_cast<std::size_t>(count) * 2, '\0');
  BOOL lost = 0;
  const int length = api.WideCharToMultiByte(kAnsiCodePage, 0, text.utf16.data(), count,
                                             ansi.data(), count * 2, nullptr, &lost);
  if (length <= 0 || lost) return std::nullopt;
  ansi.resize(static_cast<std::size_t>(length));
  return ansi;
}

std::string Resolved(const std::string& folder, const std::string& relative) {
  if (relative.size() > 1 && (relative[1] == ':' || relative[0] == '\\')) return relative;
  std::vector<std::string> steps;
  for (const std::string& part : {folder, relative}) {
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
      end = part.find('\\', start);
      const std::string step = part.substr(start, end - start);
      if (step == "..") {
        if (steps.size() > 1) steps.pop_back();  // never above the drive
      } else if (!step.empty() && step != ".") {
        steps.push_back(step);
      }
    }
  }
  std::string joined;
  for (const std::string& step : steps) joined += (joined.empty() ? "" : "\\") + step;
  return joined;
}

std::optional<FoundGame> GameFromShortcut(WindowsApi& api, const std::string& path) {
  const auto bytes = ReadFileBytes(api, path, kMaxShellLinkBytes);
  const std::optional<ShellLink> link = bytes ? ParseShellLink(*bytes) : std::nullopt;
  if (!link) return std::nullopt;
  std::optional<std::string> target = AnsiText(api, link->expandedTarget);
  if (target && !target->empty()) {
    target = Expanded(api, *target);
  } else if (!link->target.empty()) {
    target = link->target;
  } else if (const auto relative = AnsiText(api, link->relativePath);
             relative && !relative->empty()) {
    target = Resolved(FolderOf(path), *relative);
  } else {
    return std::nullopt;
  }
  FoundGame game;
  game.name = Clean(Stem(path));
  game.program = Clean(*target);
  game.arguments = Clean(AnsiText(api, link->arguments).value_or(""), 1024);
  game.folder = Clean(Expanded(api, AnsiText(api, link->workingDir).value_or("")));
  const std::string icon = Clean(Expanded(api, AnsiText(api, link->iconLocation).value_or("")));
  if (!icon.empty()) game.icon = icon + "," + std::to_string(link->iconIndex);
  if (game.program.empty() || game.name.empty()) return std::nullopt;
  return game;
}

std::vector<FoundGame> GamesFolderGames(WindowsApi& api, const std::string& gamesFolder) {
  std::vector<FoundGame> games;
  std::size_t budget = 20000;
  WalkFiles(api, gamesFolder, kDepth, budget, [&](const std::string& path, const std::string&) {
    std::optional<FoundGame> game;
    if (HasExtension(path, ".lnk")) {
      game = GameFromShortcut(api, path);
      // A shortcut that names no program is started as itself, by the shell.
      if (!game) game = FoundGame{Clean(Stem(path)), path};
    } else if (IsProgramFile(path)) {
      game = FoundGame{Clean(Stem(path)), path};
    }
    if (!game || game->name.empty()) return;
    game->source = Source::GamesFolder;
    game->known = true;
    games.push_back(std::move(*game));
  });
  return games;
}

std::vector<FoundGame> StartMenuGames(WindowsApi& api, const std::string& windowsFolder,
                                      std::size_t& budget) {
  std::vector<FoundGame> games;
  for (const int csidl : {kCsidlCommonPrograms, kCsidlPrograms}) {
    const std::string root = SpecialFolder(api, csidl);
    if (root.empty()) continue;
    WalkFiles(api, root, kDepth, budget, [&](const std::string& path, const std::string&) {
      const std::string place = Lower(path.substr(root.size()));  // "\games\quake.lnk"
      if (!HasExtension(path, ".lnk") || place.starts_with("\\startup\\")) return;
      std::optional<FoundGame> game = GameFromShortcut(api, path);
      if (!game || !IsProgramFile(game->program) || IsNotAGame(game->name, game->program)) return;
      if (IsPartOfWindows(game->program, windowsFolder)) return;
      game->source = Source::StartMenu;
      game->known = InGamesPlace(place) || InGamesPlace(game->program);
      games.push_back(std::move(*game));
    });
  }
  return games;
}

}  // namespace ludora::parlour
