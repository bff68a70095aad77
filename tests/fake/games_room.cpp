// The games room's operations of the in-memory Windows.
#include "fake/games_room.h"

#include <algorithm>
#include <cstdio>

#include "fake/fake_windows.h"

namespace ludora::testing {

namespace {

constexpr DWORD kSnapProcess = 0x2, kSnapModule = 0x8;

}  // namespace

// The keys right below `key`, in the registry's order (by name); listed
// when an enumeration starts, at index 0.
LONG FakeWindows::DoRegEnumKeyExA(bool failing, HKEY key, DWORD index, char* name, DWORD* nameSize,
                                  DWORD*, char*, DWORD*, FILETIME*) {
  if (failing) return ERROR_ACCESS_DENIED;
  if (!Is(key, Kind::Key)) return ERROR_INVALID_HANDLE;
  Handle& parent = At(key);
  if (index == 0) {
    const std::string prefix = Lower(parent.name) + "\\";
    parent.listing.clear();
    for (auto at = keys.lower_bound(prefix); at != keys.end() && at->starts_with(prefix); ++at) {
      const std::string child =
          at->substr(prefix.size(), at->find('\\', prefix.size()) - prefix.size());
      if (parent.listing.empty() || parent.listing.back() != child) parent.listing.push_back(child);
    }
  }
  if (index >= parent.listing.size()) return ERROR_NO_MORE_ITEMS;
  if (*nameSize <= parent.listing[index].size()) return ERROR_MORE_DATA;
  *nameSize = CopyName(parent.listing[index], name, *nameSize);
  return ERROR_SUCCESS;
}

DWORD FakeWindows::DoGetFileAttributesA(bool failing, const std::string& path) {
  const Entry* entry = Find(path);
  return failing || !entry ? Refuse(0xFFFFFFFFu, ERROR_FILE_NOT_FOUND) : entry->attributes;
}

BOOL FakeWindows::DoCreateDirectoryA(bool failing, const std::string& path,
                                     const SECURITY_ATTRIBUTES*) {
  log.push_back("mkdir " + path);
  if (failing) return Refuse(0, ERROR_ACCESS_DENIED);
  if (Find(path)) return Refuse(0, ERROR_ALREADY_EXISTS);
  AddFolder(path);
  return 1;
}

void FakeWindows::DoGetSystemTimeAsFileTime(bool, FILETIME* time) {
  *time = {static_cast<DWORD>(systemTime), static_cast<DWORD>(systemTime >> 32)};
}

// The ANSI code page here is Latin-1: what lies beyond it becomes the default character.
int FakeWindows::DoWideCharToMultiByte(bool failing, UINT, DWORD, const char16_t* wide,
                                       int wideCount, char* multiByte, int size,
                                       const char* defaultChar, BOOL* usedDefault) {
  if (failing) return Refuse(0, ERROR_INVALID_PARAMETER);
  std::string text;
  for (int i = 0; wideCount < 0 ? wide[i] != 0 : i < wideCount; ++i)
    text += wide[i] < 0x100 ? static_cast<char>(wide[i]) : defaultChar ? *defaultChar : '?';
  if (usedDefault)
    *usedDefault = std::any_of(wide, wide + text.size(), [](char16_t c) { return c > 0xFF; });
  if (wideCount < 0) text += '\0';
  if (size == 0) return static_cast<int>(text.size());
  if (size < static_cast<int>(text.size())) return Refuse(0, ERROR_INSUFFICIENT_BUFFER);
  std::copy(text.begin(), text.end(), multiByte);
  return static_cast<int>(text.size());
}

// A snapshot holds its rows as they were when it was taken: "<pid>|<parent>|<path>".
HANDLE FakeWindows::DoCreateToolhelp32Snapshot(bool failing, DWORD flags, DWORD pid) {
  if (failing) return Refuse(kInvalidHandle, ERROR_NOT_ENOUGH_MEMORY);
  std::vector<std::string> rows;
  for (const Process& p : processes) {
    if ((flags & kSnapProcess) || ((flags & kSnapModule) && p.pid == pid))
      rows.push_back(std::to_string(p.pid) + "|" + std::to_string(p.parent) + "|" + p.path);
  }
  if ((flags & kSnapModule) && rows.empty()) return Refuse(kInvalidHandle, ERROR_INVALID_PARAMETER);
  return Open(Kind::Snapshot, "snapshot", flags, std::move(rows));
}

namespace {

// One row of a snapshot: its process, its parent and its program.
bool Row(const std::string& row, DWORD* pid, DWORD* parent, std::string* path) {
  unsigned long p = 0, q = 0;
  int used = 0;
  if (std::sscanf(row.c_str(), "%lu|%lu|%n", &p, &q, &used) != 2) return false;
  *pid = static_cast<DWORD>(p), *parent = static_cast<DWORD>(q), *path = row.substr(used);
  return true;
}

}  // namespace

BOOL FakeWindows::DoProcess32First(bool failing, HANDLE snapshot, PROCESSENTRY32* entry) {
  if (!failing && Is(snapshot, Kind::Snapshot)) At(snapshot).offset = 0;
  return DoProcess32Next(failing, snapshot, entry);
}

// The NT family names the program's file only; 98 gives its whole path.
BOOL FakeWindows::DoProcess32Next(bool failing, HANDLE snapshot, PROCESSENTRY32* entry) {
  if (failing || !Is(snapshot, Kind::Snapshot)) return Refuse(0, ERROR_INVALID_HANDLE);
  Handle& snap = At(snapshot);
  std::string path;
  if (snap.offset >= snap.listing.size() ||
      !Row(snap.listing[snap.offset++], &entry->th32ProcessID, &entry->th32ParentProcessID, &path))
    return Refuse(0, ERROR_NO_MORE_FILES);
  if (platformId == VER_PLATFORM_WIN32_NT) path = path.substr(path.find_last_of('\\') + 1);
  std::snprintf(entry->szExeFile, sizeof entry->szExeFile, "%s", path.c_str());
  return 1;
}

BOOL FakeWindows::DoModule32First(bool failing, HANDLE snapshot, MODULEENTRY32* entry) {
  if (failing || !Is(snapshot, Kind::Snapshot) || At(snapshot).listing.empty())
    return Refuse(0, ERROR_NO_MORE_FILES);
  DWORD parent = 0;
  std::string path;
  Row(At(snapshot).listing[0], &entry->th32ProcessID, &parent, &path);
  std::snprintf(entry->szExePath, sizeof entry->szExePath, "%s", path.c_str());
  return 1;
}

}  // namespace ludora::testing
