#include "parlour/discovery.h"

#include "parlour/installed_games.h"
#include "parlour/shortcut_games.h"
#include "parlour/windows_games.h"

namespace ludora::parlour {

Discovery DiscoverGames(WindowsApi& api, const std::string& gamesFolder) {
  std::size_t budget = kDiscoveryBudget;
  const WindowsFolders folders = FindWindowsFolders(api);
  const std::string windows = Lower(folders.windows);
  std::vector<FoundGame> finds = GamesFolderGames(api, gamesFolder);
  for (auto& more : {WindowsGames(api, folders), StartMenuGames(api, windows, budget)})
    finds.insert(finds.end(), more.begin(), more.end());
  for (auto& more :
       {InstalledGames(api, finds, windows, budget), AppPathGames(api, windows, budget)})
    finds.insert(finds.end(), more.begin(), more.end());
  Discovery discovery;
  for (const FoundGame& find : finds) ++discovery.bySource[static_cast<std::size_t>(find.source)];
  discovery.games = MergeFinds(std::move(finds));
  return discovery;
}

std::string DescribeFinds(const Discovery& discovery) {
  static constexpr const char* kNames[] = {"games folder", "Windows", "Start menu", "installed",
                                           "App Paths"};
  std::string text;
  for (std::size_t i = 0; i < discovery.bySource.size(); ++i)
    text += (i ? ", " : "") + std::string(kNames[i]) + " " + std::to_string(discovery.bySource[i]);
  return text;
}

}  // namespace ludora::parlour
