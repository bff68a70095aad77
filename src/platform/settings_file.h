// The programs' small settings files, read and written whole: a bounded read,
// INI text read into sections and keys and written back, and a safe write
// (the whole text to "<name>.new" first, which then takes the old file's
// place, so that a crash leaves the old file or the new one whole and the
// next read finds it). And the user's own folder for them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/windows_api.h"

namespace ludora {

bool SameText(std::string_view a, std::string_view b);  // ASCII, without case

// A file's first `limit` bytes at most; nothing when it cannot be opened.
std::optional<std::string> ReadFileStart(WindowsApi& api, const std::string& path,
                                         std::size_t limit);

// `path`'s text, or, when it is missing, that of the new file a crash left
// before it took the old one's place.
std::optional<std::string> ReadSettingsFile(WindowsApi& api, const std::string& path,
                                            std::size_t limit);

// Writes `content` to path + ".new", which then replaces `path`: in one step
// where Windows has MoveFileExA, else the old file goes and the new one is
// renamed (Windows 98). Whether it was written.
bool WriteSettingsFile(WindowsApi& api, const std::string& path, std::string_view content);

// INI text: sections in order, each a list of key and value in order (a key
// may come again). Lines end at CR LF, LF or CR, a NUL ends the text as
// Windows reads it; ';' starts a comment line; blanks around names and
// values are dropped; lines before the first section and lines that are
// neither are ignored. At most kMaxIniLines lines are read.
struct IniSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> entries;
  // The first value of `key` (no case), or `otherwise`.
  std::string Get(std::string_view key, std::string_view otherwise = {}) const;
};
using IniFile = std::vector<IniSection>;
inline constexpr std::size_t kMaxIniLines = 20000;
IniFile ParseIni(std::string_view text);
std::string WriteIni(const IniFile& file);  // CR LF lines, a blank line between sections
// The first value of `key` in a section named `section` (names without case).
std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key);

// The file-system path of a special folder (a CSIDL), without a trailing
// "\"; empty when the shell cannot name it.
std::string SpecialFolderPath(WindowsApi& api, int csidl);
inline constexpr int kCsidlAppData = 0x1A;
// The user's folder for the programs' settings, <Application Data>\Corvane\Ludora;
// empty where Windows names no Application Data folder (98 without the
// desktop update). The Windows part makes it when missing.
inline constexpr char kUserFolderName[] = "Corvane\\Ludora";
std::string UserSettingsFolder(WindowsApi& api);
// Makes `folder` and the folder it is in where they are missing.
void MakeSettingsFolder(WindowsApi& api, const std::string& folder);
// UserSettingsFolder, made where missing.
std::string MakeUserSettingsFolder(WindowsApi& api);

}  // namespace ludora
