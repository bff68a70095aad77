// The two web pages the quick menu opens.
#pragma once

#include <string_view>

namespace ludora::web_pages {

inline constexpr std::string_view kWebGame = "http://www.corvane.com/ludora/webgames/alienhominid/";
inline constexpr std::string_view kTurbolia = "http://www.corvane.com/turbolia/";

}  // namespace ludora::web_pages
