// The whole search for games: every source in turn, the finds merged.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "parlour/found_game.h"
#include "platform/windows_api.h"

namespace ludora::parlour {

// Files and keys looked at, at most, in one search: a machine of ten
// thousand installed programs is read whole.
inline constexpr std::size_t kDiscoveryBudget = 200000;

struct Discovery {
  std::vector<FoundGame> games;              // merged, one per program
  std::array<std::size_t, 5> bySource = {};  // finds before merging, by Source
};

Discovery DiscoverGames(WindowsApi& api, const std::string& gamesFolder);

// "games folder 2, Windows 1, Start menu 5, installed 3, App Paths 0".
std::string DescribeFinds(const Discovery& discovery);

}  // namespace ludora::parlour
