// The small INI files of the browser, read and written whole: Internet
// Explorer's shortcuts (.url: "[InternetShortcut]" "URL=...") and the
// settings file. Read in bounded memory; written as a new file that then
// takes the old one's place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/windows_api.h"

namespace ludora::wayview {

// A file's first `limit` bytes at most; nothing when it cannot be opened.
std::optional<std::string> ReadFileStart(WindowsApi& api, const std::string& path,
                                         std::size_t limit);

// The value of `key` in `section` (names compared without case) of INI
// text: the first such line, blanks around the value trimmed; lines end at
// CR LF, LF or CR; a NUL ends the text, as Windows reads it. Nothing when
// the section or key is not there.
std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key);

// Writes `content` to `path`: first to path + ".new", which then takes the
// place of the old file, so a crash leaves the old file or the new one
// whole. Windows 98 has no call that replaces a file in one step: the old
// file goes, then the new one is renamed, and ReadFileStart's callers look
// for path + ".new" when `path` is missing. Whether it was written.
bool ReplaceFile(WindowsApi& api, const std::string& path, std::string_view content);

// `path`'s text, or that of the new file a crash left in its place.
std::optional<std::string> ReadReplacedFile(WindowsApi& api, const std::string& path,
                                            std::size_t limit);

}  // namespace ludora::wayview
