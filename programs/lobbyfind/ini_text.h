// The INI files lobbyfind reads and writes: the table of games and the
// user's settings. Read from bytes, so a file of any content reads to a
// bounded result: sections in order, each a list of key and value in
// order (a key may come again, as the favourites' do).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ludora::lobbyfind {

struct IniSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> entries;
  // The first value of `key` (no case), or `otherwise`.
  std::string Get(std::string_view key, std::string_view otherwise = {}) const;
};
using IniFile = std::vector<IniSection>;

// Lines ending in CR LF or LF; ';' starts a comment line; blanks around
// names and values dropped; lines before the first section and lines that
// are neither ignored. At most kMaxIniLines lines are read.
inline constexpr std::size_t kMaxIniLines = 20000;
IniFile ParseIni(std::string_view text);
std::string WriteIni(const IniFile& file);  // CR LF lines, a blank line between sections

bool SameText(std::string_view a, std::string_view b);  // ASCII, without case

}  // namespace ludora::lobbyfind
