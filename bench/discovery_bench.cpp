// parlour_bench: the games room's full search for games against a bare walk
// of the same folders and keys, in one process.
//   parlour_bench [--reps N] GAMESFOLDER
// The bare walk lists every folder the search lists (the games folder, the
// Start menu's programs of the machine and of the user, to the same depth)
// and opens every key it opens (the Uninstall keys of the machine and the
// user, App Paths), reading nothing; the search also reads each shortcut
// and the values of each key, and decides. Both print the median of N runs.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "parlour/discovery.h"
#include "parlour/file_bytes.h"
#include "parlour/installed_games.h"
#include "parlour/shortcut_games.h"
#include "parlour/windows_games.h"
#include "platform/scoped.h"
#include "timing.h"
#include "win32/real_windows_api.h"

namespace {

std::size_t BareFolders(ludora::WindowsApi& api, const std::string& folder) {
  std::size_t budget = ludora::parlour::kDiscoveryBudget, files = 0;
  ludora::parlour::WalkFiles(api, folder, 8, budget,
                             [&](const std::string&, const std::string&) { ++files; });
  return files;
}

std::size_t BareKeys(ludora::WindowsApi& api, ludora::HKEY root, const char* path) {
  ludora::ScopedKey parent(api);
  if (api.RegOpenKeyExA(root, path, 0, KEY_READ, parent.out()) != ERROR_SUCCESS) return 0;
  std::size_t keys = 0;
  for (ludora::DWORD index = 0;; ++index) {
    char name[256];
    ludora::DWORD size = sizeof name;
    if (api.RegEnumKeyExA(parent.get(), index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      return keys;
    ludora::ScopedKey key(api);
    keys += api.RegOpenKeyExA(parent.get(), name, 0, KEY_READ, key.out()) == ERROR_SUCCESS;
  }
}

}  // namespace

int main(int argc, char** argv) {
  int repetitions = 5;
  std::string games;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--reps" && i + 1 < argc) {
      repetitions = std::max(1, std::atoi(argv[++i]));
    } else {
      games = arg;
    }
  }
  if (games.empty()) {
    std::fprintf(stderr, "usage: parlour_bench [--reps N] GAMESFOLDER\n");
    return 2;
  }
  ludora::RealWindowsApi api;
  ludora::bench::Samples bare, search;
  std::size_t files = 0, keys = 0, found = 0;
  ludora::parlour::Discovery discovery;
  for (int run = -1; run < repetitions; ++run) {  // the first run warms the caches, not counted
    double start = ludora::bench::SecondsNow();
    files = BareFolders(api, games);
    for (const int csidl : {23, 2})
      files += BareFolders(api, ludora::parlour::SpecialFolder(api, csidl));
    keys = BareKeys(api, 0x80000002u, ludora::parlour::kUninstallKey) +
           BareKeys(api, 0x80000001u, ludora::parlour::kUninstallKey) +
           BareKeys(api, 0x80000002u, ludora::parlour::kAppPathsKey);
    if (run >= 0) bare.Add(ludora::bench::SecondsNow() - start);
    start = ludora::bench::SecondsNow();
    discovery = ludora::parlour::DiscoverGames(api, games);
    if (run >= 0) search.Add(ludora::bench::SecondsNow() - start);
    found = discovery.games.size();
  }
  std::printf("search for games (median of %d): %zu files and %zu keys walked\n", repetitions,
              files, keys);
  std::printf("  %-34s %8.0f ms\n", "bare walk of the folders and keys", bare.Median() * 1000);
  std::printf("  %-34s %8.0f ms   ratio %.2f\n", "full search", search.Median() * 1000,
              search.Median() / (bare.Median() > 0 ? bare.Median() : 1));
  std::printf("  found %zu games (%s)\n", found, ludora::parlour::DescribeFinds(discovery).c_str());
  // Where the search's time goes, one source after the other (one run).
  namespace parlour = ludora::parlour;
  std::size_t budget = parlour::kDiscoveryBudget;
  const parlour::WindowsFolders folders = parlour::FindWindowsFolders(api);
  const std::string windows = parlour::Lower(folders.windows);
  std::vector<parlour::FoundGame> shortcuts;
  const auto timed = [](const char* what, auto&& step) {
    const double start = ludora::bench::SecondsNow();
    const std::size_t count = step();
    std::printf("    %-30s %8.0f ms  %zu found\n", what,
                (ludora::bench::SecondsNow() - start) * 1000, count);
  };
  timed("games folder", [&] { return parlour::GamesFolderGames(api, games).size(); });
  timed("Windows' own games", [&] { return parlour::WindowsGames(api, folders).size(); });
  timed("Start menu",
        [&] { return (shortcuts = parlour::StartMenuGames(api, windows, budget)).size(); });
  timed("installed programs",
        [&] { return parlour::InstalledGames(api, shortcuts, windows, budget).size(); });
  timed("App Paths", [&] { return parlour::AppPathGames(api, windows, budget).size(); });
  std::fflush(stdout);
  return 0;
}
