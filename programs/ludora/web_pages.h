// The two web pages the quick menu opens. Both are pages of our own in the
// application folder, installed with the shell: no address on a domain we
// do not own, and they open without a connection.
#pragma once

#include <string_view>

namespace ludora::web_pages {

inline constexpr std::string_view kWebGames = "webgames.html";  // names outside web-game sites
inline constexpr std::string_view kTurbolia = "turbolia.html";  // the maker's product page

}  // namespace ludora::web_pages
