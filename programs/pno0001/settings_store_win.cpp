#include "pno0001/settings_store_win.h"

#include <windows.h>

#include <cstring>

namespace ludora::pno0001 {

namespace {

// The user's Application Data folder: from shell32 where it can say (Windows
// 98 with its own shell32 and later; looked up, not imported), else where
// the system keeps it, else the Windows folder's.
bool ApplicationData(char (&folder)[260]) {
  using GetFolder = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
  constexpr int kAppData = 0x1A;  // CSIDL_APPDATA
  if (const HMODULE shell = ::LoadLibraryA("shell32.dll")) {
    const auto get = reinterpret_cast<GetFolder>(
        reinterpret_cast<void*>(::GetProcAddress(shell, "SHGetSpecialFolderPathA")));
    if (get && get(nullptr, folder, kAppData, TRUE)) return true;
  }
  const DWORD length = ::GetEnvironmentVariableA("APPDATA", folder, sizeof folder);
  if (length > 0 && length < sizeof folder) return true;
  const UINT windows = ::GetWindowsDirectoryA(folder, 200);
  if (windows == 0 || windows >= 200) return false;
  std::strcat(folder, "\\Application Data");
  ::CreateDirectoryA(folder, nullptr);
  return true;
}

}  // namespace

SettingsStore::SettingsStore() {
  if (!ApplicationData(folder_)) return;
  // Made step by step; a part that exists already is no failure.
  const char* const parts[] = {"\\Corvane", "\\Ludora"};
  for (const char* part : parts) {
    if (std::strlen(folder_) + std::strlen(part) + 16 >= sizeof folder_) return;
    std::strcat(folder_, part);
    ::CreateDirectoryA(folder_, nullptr);
  }
  std::strcpy(path_, folder_);
  std::strcat(path_, "\\pno0001.ini");
}

Settings SettingsStore::Load() const {
  if (!path_[0]) return {};
  const HANDLE file =
      ::CreateFileA(path_, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  // One byte past the most a sound file holds tells a longer one.
  char bytes[kMostSettingsBytes + 1];
  DWORD read = 0;
  const BOOL ok = ::ReadFile(file, bytes, sizeof bytes, &read, nullptr);
  ::CloseHandle(file);
  return ok ? ReadSettings(bytes, read) : Settings{};
}

bool SettingsStore::Save(const Settings& settings) const {
  if (!path_[0]) return false;
  char fresh[sizeof path_ + 4];
  std::strcpy(fresh, path_);
  std::strcat(fresh, ".new");
  char text[64];
  const auto length = static_cast<DWORD>(WriteSettings(settings, text));
  const HANDLE file = ::CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole = ::WriteFile(file, text, length, &written, nullptr) && written == length;
  ::CloseHandle(file);
  if (!whole) {
    ::DeleteFileA(fresh);
    return false;
  }
  // Windows 98 has no working MoveFileEx (looked up, as it may lack the name
  // too): there the old file goes first.
  using Move = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
  const auto move = reinterpret_cast<Move>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "MoveFileExA")));
  if (move && move(fresh, path_, MOVEFILE_REPLACE_EXISTING)) return true;
  ::DeleteFileA(path_);
  return ::MoveFileA(fresh, path_) != FALSE;
}

}  // namespace ludora::pno0001
