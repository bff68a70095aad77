#include "platform/settings_file.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/paths.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora {

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
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

std::optional<std::string> ReadSettingsFile(WindowsApi& api, const std::string& path,
                                            std::size_t limit) {
  if (auto text = ReadFileStart(api, path, limit)) return text;
  return ReadFileStart(api, path + ".new", limit);
}

bool WriteSettingsFile(WindowsApi& api, const std::string& path, std::string_view content) {
  const std::string fresh = path + ".new";
  if (!ReadFileStart(api, path, 0)) {
    // A crash left the new file in the old one's place: it becomes the file.
    api.MoveFileA(fresh, path);
  }
  api.DeleteFileA(fresh);
  {
    ScopedFile file(api, api.CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, 0));
    DWORD written = 0;
    if (!file ||
        !api.WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                       nullptr) ||
        written != content.size()) {
      file.reset();
      api.DeleteFileA(fresh);
      return false;
    }
  }
  if (api.MoveFileExA(fresh, path, MOVEFILE_REPLACE_EXISTING)) return true;
  // Until the rename, a read finds the new file in the old one's place.
  api.DeleteFileA(path);
  return api.MoveFileA(fresh, path) != 0;
}

std::string IniSection::Get(std::string_view key, std::string_view otherwise) const {
  for (const auto& [name, value] : entries) {
    if (SameText(name, key)) return value;
  }
  return std::string(otherwise);
}

IniFile ParseIni(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  IniFile file;
  for (std::size_t lines = 0; !text.empty() && lines < kMaxIniLines; ++lines) {
    std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = Trimmed(text.substr(0, end));
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[') {  // a line without its ']' ends the section before
      const std::size_t close = line.find(']');
      file.push_back(
          {close == std::string_view::npos ? "[" : std::string(Trimmed(line.substr(1, close - 1))),
           {}});
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

std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key) {
  for (const IniSection& read : ParseIni(text)) {
    if (!SameText(read.name, section)) continue;
    for (const auto& [name, value] : read.entries) {
      if (SameText(name, key)) return value;
    }
  }
  return std::nullopt;
}

std::string SpecialFolderPath(WindowsApi& api, int csidl) {
  ScopedPidl pidl(api);
  char path[260] = {};
  if (api.SHGetSpecialFolderLocation(0, csidl, pidl.out()) != 0 || !pidl ||
      !api.SHGetPathFromIDListA(pidl.get(), path)) {
    return {};
  }
  std::string folder(path, strnlen(path, sizeof path));
  while (folder.ends_with('\\')) folder.pop_back();
  return folder;
}

std::string UserSettingsFolder(WindowsApi& api) {
  const std::string appData = SpecialFolderPath(api, kCsidlAppData);
  return appData.empty() ? std::string() : appData + "\\" + kUserFolderName;
}

void MakeSettingsFolder(WindowsApi& api, const std::string& folder) {
  if (folder.empty()) return;
  // A part that is there already is no failure; what cannot be made shows
  // when the file in it is written.
  api.CreateDirectoryA(FolderOf(folder), nullptr);
  api.CreateDirectoryA(folder, nullptr);
}

std::string MakeUserSettingsFolder(WindowsApi& api) {
  std::string folder = UserSettingsFolder(api);
  MakeSettingsFolder(api, folder);
  return folder;
}

}  // namespace ludora
