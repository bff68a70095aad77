#include "parlour/library_file.h"

#include <utility>
#include <vector>

#include "parlour/file_bytes.h"
#include "parlour/shortcut_games.h"
#include "platform/scoped.h"
#include "platform/settings_file.h"
#include "platform/win_constants.h"

namespace ludora::parlour {

namespace {

constexpr DWORD kCreateAlways = 2, kAttributeNormal = 0x80;
constexpr DWORD kReplaceExisting = 0x1, kWriteThrough = 0x8, kNotImplemented = 120;

std::string NewFileOf(const std::string& path) {
  return path + ".new";
}

// Renames `from` over `to`. Windows 98 has no such rename: there the old
// file goes first, and a new file left alone is what the next load reads.
bool Replace(WindowsApi& api, const std::string& from, const std::string& to) {
  if (api.MoveFileExA(from, to, kReplaceExisting | kWriteThrough)) return true;
  if (api.GetLastError() != kNotImplemented) return false;
  api.DeleteFileA(to);
  return api.MoveFileA(from, to) != 0;
}

// The library in the file; a file that cannot be opened reads as nothing.
std::optional<Library> Read(WindowsApi& api, const std::string& path) {
  const ScopedFile file(api, api.CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, 0));
  if (!file) return std::nullopt;
  LibraryReader reader;
  std::vector<char> piece(64 * 1024);
  DWORD read = 0;
  while (!reader.Full() &&
         api.ReadFile(file.get(), piece.data(), static_cast<DWORD>(piece.size()), &read, nullptr) &&
         read > 0) {
    reader.Feed({piece.data(), read});
  }
  return reader.Finish();
}

}  // namespace

std::string LibraryPath(WindowsApi& api, const std::string& programFolder) {
  // 2000 and XP name the folder in the environment, which spares the room
  // loading the shell before it shows; 98 has only the shell to ask.
  std::string appData = Expanded(api, "%APPDATA%");
  if (appData.find('%') != std::string::npos) appData = SpecialFolder(api, kCsidlAppData);
  if (appData.empty()) return programFolder + "\\Games Room.txt";
  // The one folder of the user's that every program of Ludora's writes to.
  const std::string folder = appData + "\\" + kUserFolderName;
  if (!Exists(api, folder)) MakeSettingsFolder(api, folder);
  return folder + "\\Games Room.txt";
}

Library LoadLibraryFile(WindowsApi& api, const std::string& path) {
  std::optional<Library> library = Read(api, path);
  if (!library) {
    // A replacement cut short between its two steps left only the new file.
    library = Read(api, NewFileOf(path));
    if (library && !library->damaged && Replace(api, NewFileOf(path), path))
      return std::move(*library);
    return Library{};
  }
  if (library->damaged) Replace(api, path, path + " damaged.txt");
  return std::move(*library);
}

bool SaveLibraryFile(WindowsApi& api, const std::string& path, const Library& library) {
  const std::string text = LibraryText(library);
  const std::string next = NewFileOf(path);
  {
    const ScopedFile file(
        api, api.CreateFileA(next, GENERIC_WRITE, 0, nullptr, kCreateAlways, kAttributeNormal, 0));
    if (!file) return false;
    DWORD written = 0;
    if (!api.WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                       nullptr) ||
        written != text.size()) {
      return false;
    }
  }
  return Replace(api, next, path);
}

std::int64_t UnixNow(WindowsApi& api) {
  FILETIME now;
  api.GetSystemTimeAsFileTime(&now);
  const std::uint64_t ticks = std::uint64_t{now.dwHighDateTime} << 32 | now.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10000000) - 11644473600;
}

}  // namespace ludora::parlour
