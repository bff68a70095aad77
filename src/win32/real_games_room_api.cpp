// The real adapter's operations of the games room. All are kernel32's or
// advapi32's, which every program imports already.
#include <windows.h>
#include <tlhelp32.h>

#include <cstring>

#include "win32/adapter_casts.h"
#include "win32/real_windows_api.h"

namespace ludora {

namespace {

template <std::size_t N>
void CopyText(char (&to)[N], const char* from) {
  std::strncpy(to, from, N - 1);
  to[N - 1] = '\0';
}

}  // namespace

LONG RealWindowsApi::RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize,
                                   DWORD* reserved, char* keyClass, DWORD* classSize,
                                   FILETIME* lastWrite) {
  ::FILETIME written;
  const LONG status =
      ::RegEnumKeyExA(ToHkey(key), index, name, reinterpret_cast<::LPDWORD>(nameSize),
                      reinterpret_cast<::LPDWORD>(reserved), keyClass,
                      reinterpret_cast<::LPDWORD>(classSize), &written);
  if (lastWrite) *lastWrite = {written.dwLowDateTime, written.dwHighDateTime};
  return status;
}

DWORD RealWindowsApi::GetFileAttributesA(const std::string& path) {
  return ::GetFileAttributesA(path.c_str());
}

BOOL RealWindowsApi::CreateDirectoryA(const std::string& path, const SECURITY_ATTRIBUTES*) {
  return ::CreateDirectoryA(path.c_str(), nullptr);
}

void RealWindowsApi::GetSystemTimeAsFileTime(FILETIME* time) {
  ::FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  *time = {now.dwLowDateTime, now.dwHighDateTime};
}

int RealWindowsApi::WideCharToMultiByte(UINT codePage, DWORD flags, const char16_t* wide,
                                        int wideCount, char* multiByte, int multiByteSize,
                                        const char* defaultChar, BOOL* usedDefaultChar) {
  static_assert(sizeof(char16_t) == sizeof(WCHAR));
  return ::WideCharToMultiByte(codePage, flags, reinterpret_cast<const WCHAR*>(wide), wideCount,
                               multiByte, multiByteSize, defaultChar, usedDefaultChar);
}

HANDLE RealWindowsApi::CreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
  return Raw(::CreateToolhelp32Snapshot(flags, processId));
}

namespace {

BOOL NextProcess(HANDLE snapshot, PROCESSENTRY32* entry, bool first) {
  ::PROCESSENTRY32 process;
  std::memset(&process, 0, sizeof process);
  process.dwSize = sizeof process;
  const BOOL got = first ? ::Process32First(ToHandle(snapshot), &process)
                         : ::Process32Next(ToHandle(snapshot), &process);
  if (!got) return FALSE;
  entry->th32ProcessID = process.th32ProcessID;
  entry->th32ParentProcessID = process.th32ParentProcessID;
  CopyText(entry->szExeFile, process.szExeFile);
  return TRUE;
}

}  // namespace

BOOL RealWindowsApi::Process32First(HANDLE snapshot, PROCESSENTRY32* entry) {
  return NextProcess(snapshot, entry, true);
}

BOOL RealWindowsApi::Process32Next(HANDLE snapshot, PROCESSENTRY32* entry) {
  return NextProcess(snapshot, entry, false);
}

BOOL RealWindowsApi::Module32First(HANDLE snapshot, MODULEENTRY32* entry) {
  ::MODULEENTRY32 module;
  std::memset(&module, 0, sizeof module);
  module.dwSize = sizeof module;
  if (!::Module32First(ToHandle(snapshot), &module)) return FALSE;
  entry->th32ProcessID = module.th32ProcessID;
  CopyText(entry->szExePath, module.szExePath);
  return TRUE;
}

}  // namespace ludora
