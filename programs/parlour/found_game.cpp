#include "parlour/found_game.h"

#include <algorithm>
#include <iterator>
#include <cctype>
#include <map>

#include "platform/paths.h"

namespace ludora::parlour {

namespace {

bool IsWordCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// Whether a word of `text` starts with `stem` ("uninst" finds "Uninstall").
bool HasWordStarting(std::string_view text, std::string_view stem) {
  for (std::size_t at = text.find(stem); at != std::string_view::npos;
       at = text.find(stem, at + 1)) {
    if (at == 0 || !IsWordCharacter(text[at - 1])) return true;
  }
  return false;
}

// The beginnings of words that mark what is not a game, and two-word ones.
constexpr std::string_view kNotGameWords[] = {
    "uninst",   "unins0",  "deinst",       "setup",         "install",      "config",   "settings",
    "readme",   "read me", "manual",       "help",          "website",      "web site", "homepage",
    "regist",   "update",  "patch",        "support",       "licen",        "faq",      "redist",
    "vcredist", "directx", "troubleshoot", "documentation", "release notes"};

// Folders of games, and of those who make them, in lower case; a folder
// whose name holds "game" counts too.
constexpr std::string_view kGamesPlaces[] = {"steamapps",
                                             "spiele",
                                             "jeux",
                                             "juegos",
                                             "giochi",
                                             "id software",
                                             "3d realms",
                                             "blizzard entertainment",
                                             "valve",
                                             "sierra",
                                             "sierra on-line",
                                             "lucasarts",
                                             "westwood",
                                             "interplay",
                                             "bethesda softworks",
                                             "ubisoft",
                                             "activision",
                                             "electronic arts",
                                             "eidos",
                                             "atari",
                                             "thq",
                                             "codemasters",
                                             "novalogic",
                                             "sega",
                                             "capcom",
                                             "konami",
                                             "bioware",
                                             "black isle",
                                             "maxis",
                                             "microprose",
                                             "3do",
                                             "epic megagames"};

// Folders of Program Files that Windows itself fills.
constexpr std::string_view kWindowsProgramFolders[] = {
    "\\internet explorer\\", "\\outlook express\\", "\\windows media player\\", "\\windows nt\\",
    "\\netmeeting\\",        "\\messenger\\",       "\\movie maker\\",          "\\common files\\",
    "\\windows update\\",    "\\online services\\"};

}  // namespace

std::string Clean(std::string_view text, std::size_t limit) {
  // Made in one piece: the library's 2,000 games pass through here at start.
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; };
  text = text.substr(0, std::min(text.size(), limit));
  std::size_t first = 0, end = text.size();
  while (first < end && blank(text[first])) ++first;
  while (end > first && blank(text[end - 1])) --end;
  std::string clean(text.substr(first, end - first));
  for (char& c : clean)
    if (blank(c)) c = ' ';
  return clean;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

bool IsProgramFile(std::string_view path) {
  const std::string lower = Lower(path);
  const auto dot = lower.find_last_of(".\\");
  if (dot == std::string::npos || lower[dot] != '.') return false;
  const std::string_view extension = std::string_view(lower).substr(dot);
  return extension == ".exe" || extension == ".com" || extension == ".bat" || extension == ".cmd" ||
         extension == ".pif";
}

std::string Stem(std::string_view path) {
  const std::string_view name = path.substr(path.find_last_of("\\/") + 1);
  return std::string(name.substr(0, std::min(name.size(), name.find_last_of('.'))));
}

bool IsNotAGame(std::string_view name, std::string_view program) {
  const std::string text = Lower(name) + "|" + Lower(Stem(program));
  return std::any_of(std::begin(kNotGameWords), std::end(kNotGameWords),
                     [&](std::string_view word) { return HasWordStarting(text, word); });
}

bool InGamesPlace(std::string_view path) {
  const std::string lower = Lower(path);
  std::size_t start = 0;
  for (std::size_t end = 0; end != std::string::npos; start = end + 1) {
    end = lower.find('\\', start);
    const std::string_view folder = std::string_view(lower).substr(start, end - start);
    if (end == std::string::npos) break;  // the file's own name is not a folder
    if (folder.find("game") != std::string_view::npos ||
        std::find(std::begin(kGamesPlaces), std::end(kGamesPlaces), folder) !=
            std::end(kGamesPlaces))
      return true;
  }
  return false;
}

bool IsPartOfWindows(std::string_view program, std::string_view windowsFolder) {
  const std::string lower = Lower(program);
  if (!windowsFolder.empty() && lower.size() > windowsFolder.size() &&
      lower.starts_with(windowsFolder) && lower[windowsFolder.size()] == '\\')
    return true;
  return std::any_of(
      std::begin(kWindowsProgramFolders), std::end(kWindowsProgramFolders),
      [&](std::string_view folder) { return lower.find(folder) != std::string::npos; });
}

std::vector<FoundGame> MergeFinds(std::vector<FoundGame> finds) {
  // In the order of trust, the finds of one source in the order found.
  std::vector<std::size_t> order(finds.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return finds[a].source != finds[b].source ? finds[a].source < finds[b].source : a < b;
  });
  std::vector<FoundGame> merged;
  std::map<std::string, std::size_t> byProgram;
  for (const std::size_t i : order) {
    FoundGame& find = finds[i];
    const auto [at, isNew] = byProgram.emplace(Lower(find.program), merged.size());
    if (isNew) {
      merged.push_back(std::move(find));
      continue;
    }
    FoundGame& kept = merged[at->second];
    kept.known = kept.known || find.known;
    for (auto field : {&FoundGame::arguments, &FoundGame::folder, &FoundGame::icon})
      if ((kept.*field).empty()) kept.*field = find.*field;
  }
  for (FoundGame& game : merged)
    if (game.folder.empty()) game.folder = AsWorkingFolder(FolderOf(game.program));
  return merged;
}

}  // namespace ludora::parlour
