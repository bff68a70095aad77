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

constexpr DWORD kNotImplemented = 120, kPathNotFound = 3;

// Renames `from` over `to`; on Windows 98, which cannot, the old file goes first.
bool Replace(WindowsApi& api, const std::string& from, const std::string& to) {
  if (api.MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING)) return true;
  if (api.GetLastError() != kNotImplemented) return false;
  api.DeleteFileA(to);
  return api.MoveFileA(from, to) != 0;
}

// The library in the file, read a piece at a time (ReadSettingsFile's whole
// read would take its 16 MB bound in memory at once); nothing when there is
// no file. A file that is there and cannot be read, or not to its end, reads
// as unreadable: taken for missing, it would be written over.
std::optional<Library> Read(WindowsApi& api, const std::string& path) {
  const ScopedFile file(api, api.CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, 0));
  Library unread;
  if (!file) {
    const DWORD error = api.GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == kPathNotFound) return std::nullopt;
    unread.unreadable = error;
    return unread;
  }
  LibraryReader reader;
  char piece[16 * 1024];
  DWORD read = 0;
  while (!reader.Full()) {
    if (!api.ReadFile(file.get(), piece, sizeof piece, &read, nullptr)) {
      unread.unreadable = api.GetLastError();
      return unread;
    }
    if (read == 0) break;
    reader.Feed({piece, read});
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
  if (library && library->unreadable) return std::move(*library);
  if (!library) {
    // A replacement cut short left only the new file (as ReadSettingsFile
    // reads it). Sound, it is the library, and a rename puts it in the old
    // one's place: writing it again would put the only copy at stake.
    library = Read(api, path + ".new");
    if (library && library->unreadable) return std::move(*library);  // the only copy, perhaps
    if (!library || library->damaged) return Library{};
    Replace(api, path + ".new", path);
    return std::move(*library);
  }
  if (library->damaged) Replace(api, path, path + " damaged.txt");
  return std::move(*library);
}

bool SaveLibraryFile(WindowsApi& api, const std::string& path, const Library& library) {
  return WriteSettingsFile(api, path, LibraryText(library));
}

std::int64_t UnixNow(WindowsApi& api) {
  FILETIME now;
  api.GetSystemTimeAsFileTime(&now);
  const std::uint64_t ticks = std::uint64_t{now.dwHighDateTime} << 32 | now.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10000000) - 11644473600;
}

}  // namespace ludora::parlour
