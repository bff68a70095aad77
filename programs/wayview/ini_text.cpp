#include "wayview/ini_text.h"

#include <algorithm>
#include <cctype>

#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora::wayview {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<std::string> ReadFileStart(WindowsApi& api, const std::string& path,
                                         std::size_t limit) {
  ScopedFile file(api, api.CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_SEQUENTIAL_SCAN, 0));
  if (!file) return std::nullopt;
  std::string text(limit, '\0');
  std::size_t have = 0;
  DWORD read = 0;
  while (have < limit &&
         api.ReadFile(file.get(), text.data() + have, static_cast<DWORD>(limit - have), &read,
                      nullptr) &&
         read > 0) {
    have += read;
  }
  text.resize(have);
  return text;
}

std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key) {
  text = text.substr(0, text.find('\0'));
  bool inSection = false;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.starts_with('[')) {
      const std::size_t close = line.find(']');
      inSection = close != std::string_view::npos &&
                  EqualNoCase(Trimmed(line.substr(1, close - 1)), section);
    } else if (const std::size_t equals = line.find('=');
               inSection && equals != std::string_view::npos &&
               EqualNoCase(Trimmed(line.substr(0, equals)), key)) {
      return std::string(Trimmed(line.substr(equals + 1)));
    }
  }
  return std::nullopt;
}

bool ReplaceFile(WindowsApi& api, const std::string& path, std::string_view content) {
  const std::string fresh = path + ".new";
  api.DeleteFileA(fresh);  // what an earlier crash left
  {
    ScopedFile file(api, api.CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, 0));
    if (!file) return false;
    DWORD written = 0;
    if (!api.WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                       nullptr) ||
        written != content.size()) {
      file.reset();
      api.DeleteFileA(fresh);
      return false;
    }
  }
  api.DeleteFileA(path);
  return api.MoveFileA(fresh, path) != 0;
}

std::optional<std::string> ReadReplacedFile(WindowsApi& api, const std::string& path,
                                            std::size_t limit) {
  if (auto text = ReadFileStart(api, path, limit)) return text;
  return ReadFileStart(api, path + ".new", limit);
}

}  // namespace ludora::wayview
