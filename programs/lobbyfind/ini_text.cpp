#include "lobbyfind/ini_text.h"

#include <algorithm>
#include <cctype>

namespace ludora::lobbyfind {

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

bool SameText(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::string IniSection::Get(std::string_view key, std::string_view otherwise) const {
  for (const auto& [name, value] : entries) {
    if (SameText(name, key)) return value;
  }
  return std::string(otherwise);
}

IniFile ParseIni(std::string_view text) {
  IniFile file;
  for (std::size_t lines = 0; !text.empty() && lines < kMaxIniLines; ++lines) {
    const auto end = std::min(text.find('\n'), text.size());
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      file.push_back({std::string(Trimmed(line.substr(1, line.size() - 2))), {}});
      continue;
    }
    const auto equals = line.find('=');
    if (file.empty() || equals == std::string_view::npos || equals == 0) continue;
    file.back().entries.emplace_back(std::string(Trimmed(line.substr(0, equals))),
                                     std::string(Trimmed(line.substr(equals + 1))));
  }
  return file;
}

std::string WriteIni(const IniFile& file) {
  std::string text;
  for (const IniSection& section : file) {
    if (!text.empty()) text += "\r\n";
    text += '[' + section.name + "]\r\n";
    for (const auto& [key, value] : section.entries) text += key + '=' + value + "\r\n";
  }
  return text;
}

}  // namespace ludora::lobbyfind
