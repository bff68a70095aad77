#include "win32/real_windows_api.h"

#include <windows.h>
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace ludora {

namespace {

template <typename T>
T* As(std::uintptr_t handle) {
  return reinterpret_cast<T*>(handle);
}

template <typename T>
std::uintptr_t Raw(T* handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}

::HKEY ToHkey(HKEY key) {
  // The predefined roots are sign-extended 32-bit values in a 64-bit process.
  if (key >= 0x80000000u && key <= 0x800000FFu) {
    return reinterpret_cast<::HKEY>(static_cast<LONG_PTR>(static_cast<::LONG>(key)));
  }
  return reinterpret_cast<::HKEY>(key);
}

::HANDLE ToHandle(HANDLE handle) {
  return reinterpret_cast<::HANDLE>(handle);
}
::HWND ToHwnd(HWND window) {
  return reinterpret_cast<::HWND>(window);
}
::HMENU ToHmenu(HMENU menu) {
  return reinterpret_cast<::HMENU>(menu);
}

// A 64-bit build sees sizes past 4 GiB; the record keeps what a 32-bit
// program gets, at most 2 GiB - 1.
DWORD Clamp32(SIZE_T bytes) {
  return static_cast<DWORD>(std::min<SIZE_T>(bytes, 0x7FFFFFFF));
}

void CopyFindData(const ::WIN32_FIND_DATAA& from, WIN32_FIND_DATAA* to) {
  to->dwFileAttributes = from.dwFileAttributes;
  std::memcpy(to->cFileName, from.cFileName, sizeof to->cFileName);
  to->cFileName[sizeof to->cFileName - 1] = '\0';
}

}  // namespace

LONG RealWindowsApi::RegCreateKeyA(HKEY root, const std::string& subKey, HKEY* result) {
  ::HKEY key = nullptr;
  const LONG status = ::RegCreateKeyA(ToHkey(root), subKey.c_str(), &key);
  *result = Raw(key);
  return status;
}

LONG RealWindowsApi::RegSetValueExA(HKEY key, const std::string& valueName, DWORD reserved,
                                    DWORD type, const BYTE* data, DWORD size) {
  return ::RegSetValueExA(ToHkey(key), valueName.c_str(), reserved, type, data, size);
}

LONG RealWindowsApi::RegCloseKey(HKEY key) {
  return ::RegCloseKey(ToHkey(key));
}

BOOL RealWindowsApi::WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                                const std::string& value,
                                                const std::string& fileName) {
  return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      fileName.c_str());
}

BOOL RealWindowsApi::GetVersionExA(OSVERSIONINFOA* info) {
  ::OSVERSIONINFOA version;
  std::memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = info->dwOSVersionInfoSize;
  if (!::GetVersionExA(&version)) return FALSE;
  info->dwMajorVersion = version.dwMajorVersion;
  info->dwMinorVersion = version.dwMinorVersion;
  info->dwBuildNumber = version.dwBuildNumber;
  info->dwPlatformId = version.dwPlatformId;
  return TRUE;
}

DWORD RealWindowsApi::GetCurrentProcessId() {
  return ::GetCurrentProcessId();
}

HANDLE RealWindowsApi::OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId) {
  return Raw(::OpenProcess(desiredAccess, inheritHandle, processId));
}

BOOL RealWindowsApi::SetPriorityClass(HANDLE process, DWORD priorityClass) {
  return ::SetPriorityClass(ToHandle(process), priorityClass);
}

BOOL RealWindowsApi::CloseHandle(HANDLE object) {
  return ::CloseHandle(ToHandle(object));
}

BOOL RealWindowsApi::SetThreadPriority(HANDLE thread, int priority) {
  return ::SetThreadPriority(ToHandle(thread), priority);
}

HANDLE RealWindowsApi::CreateMutexA(BOOL initialOwner, const std::string& name) {
  return Raw(::CreateMutexA(nullptr, initialOwner, name.c_str()));
}

DWORD RealWindowsApi::GetLastError() {
  return ::GetLastError();
}

BOOL RealWindowsApi::CreateProcessA(const char* applicationName, const std::string& commandLine,
                                    DWORD creationFlags, const char* currentDirectory,
                                    WORD showWindow, ProcessHandles* started) {
  STARTUPINFOA startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showWindow;
  PROCESS_INFORMATION process;
  std::vector<char> line(commandLine.begin(), commandLine.end());  // Windows may write to it
  line.push_back('\0');
  if (!::CreateProcessA(applicationName, line.data(), nullptr, nullptr, FALSE, creationFlags,
                        nullptr, currentDirectory, &startup, &process)) {
    return FALSE;
  }
  if (started) {
    started->process = Raw(process.hProcess);
    started->thread = Raw(process.hThread);
  } else {
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  return TRUE;
}

DWORD RealWindowsApi::ResumeThread(HANDLE thread) {
  return ::ResumeThread(ToHandle(thread));
}

DWORD RealWindowsApi::GetModuleFileNameA(char* fileName, DWORD size) {
  return ::GetModuleFileNameA(nullptr, fileName, size);
}

DWORD RealWindowsApi::GetShortPathNameA(const std::string& longPath, char* shortPath, DWORD size) {
  return ::GetShortPathNameA(longPath.c_str(), shortPath, size);
}

HANDLE RealWindowsApi::FindFirstFileA(const std::string& pattern, WIN32_FIND_DATAA* data) {
  ::WIN32_FIND_DATAA found;
  const ::HANDLE find = ::FindFirstFileA(pattern.c_str(), &found);
  if (find != reinterpret_cast<::HANDLE>(-1)) CopyFindData(found, data);  // INVALID_HANDLE_VALUE
  return Raw(find);
}

BOOL RealWindowsApi::FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) {
  ::WIN32_FIND_DATAA found;
  if (!::FindNextFileA(ToHandle(find), &found)) return FALSE;
  CopyFindData(found, data);
  return TRUE;
}

BOOL RealWindowsApi::FindClose(HANDLE find) {
  return ::FindClose(ToHandle(find));
}

HANDLE RealWindowsApi::CreateFileA(const std::string& path, DWORD desiredAccess, DWORD shareMode,
                                   DWORD creationDisposition, DWORD flags) {
  return Raw(::CreateFileA(path.c_str(), desiredAccess, shareMode, nullptr, creationDisposition,
                           flags, nullptr));
}

BOOL RealWindowsApi::ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read) {
  ::DWORD done = 0;
  const BOOL ok = ::ReadFile(ToHandle(file), buffer, toRead, &done, nullptr);
  *read = done;
  return ok;
}

void RealWindowsApi::GlobalMemoryStatus(MEMORYSTATUS* status) {
  ::MEMORYSTATUS memory;
  std::memset(&memory, 0, sizeof memory);
  memory.dwLength = sizeof memory;
  ::GlobalMemoryStatus(&memory);
  status->dwMemoryLoad = memory.dwMemoryLoad;
  status->dwTotalPhys = Clamp32(memory.dwTotalPhys);
  status->dwAvailPhys = Clamp32(memory.dwAvailPhys);
  status->dwTotalPageFile = Clamp32(memory.dwTotalPageFile);
  status->dwAvailPageFile = Clamp32(memory.dwAvailPageFile);
  status->dwTotalVirtual = Clamp32(memory.dwTotalVirtual);
  status->dwAvailVirtual = Clamp32(memory.dwAvailVirtual);
}

void* RealWindowsApi::VirtualAlloc(void* address, std::size_t size, DWORD allocationType,
                                   DWORD protect) {
  return ::VirtualAlloc(address, size, allocationType, protect);
}

BOOL RealWindowsApi::VirtualFree(void* address, std::size_t size, DWORD freeType) {
  return ::VirtualFree(address, size, freeType);
}

int RealWindowsApi::GetDateFormatA(DWORD locale, DWORD flags, char* buffer, int size) {
  return ::GetDateFormatA(locale, flags, nullptr, nullptr, buffer, size);
}

int RealWindowsApi::GetTimeFormatA(DWORD locale, DWORD flags, char* buffer, int size) {
  return ::GetTimeFormatA(locale, flags, nullptr, nullptr, buffer, size);
}

std::intptr_t RealWindowsApi::ShellExecuteA(HWND owner, const char* operation,
                                            const std::string& file, const char* parameters,
                                            const char* directory, int showCmd) {
  return reinterpret_cast<std::intptr_t>(
      ::ShellExecuteA(ToHwnd(owner), operation, file.c_str(), parameters, directory, showCmd));
}

HRESULT RealWindowsApi::SHGetSpecialFolderLocation(HWND owner, int csidl, PIDL* pidl) {
  LPITEMIDLIST list = nullptr;
  const ::HRESULT result = ::SHGetSpecialFolderLocation(ToHwnd(owner), csidl, &list);
  *pidl = Raw(list);
  return result;
}

BOOL RealWindowsApi::SHGetPathFromIDListA(PIDL pidl, char* path) {
  return ::SHGetPathFromIDListA(As<ITEMIDLIST>(pidl), path);
}

void RealWindowsApi::CoTaskMemFree(PIDL pidl) {
  ::CoTaskMemFree(As<void>(pidl));
}

BOOL RealWindowsApi::ExitWindowsDialog(HWND owner) {
  // Exported by ordinal only, and not on every Windows: looked up each time.
  using ShutDownDialog = void(WINAPI*)(::HWND);
  const HMODULE shell32 = ::GetModuleHandleA("shell32.dll");
  if (!shell32) return FALSE;
  const auto dialog = reinterpret_cast<ShutDownDialog>(
      reinterpret_cast<void*>(::GetProcAddress(shell32, MAKEINTRESOURCEA(60))));
  if (!dialog) return FALSE;
  dialog(ToHwnd(owner));
  return TRUE;
}

HWND RealWindowsApi::GetDesktopWindow() {
  return Raw(::GetDesktopWindow());
}

BOOL RealWindowsApi::GetCursorPos(POINT* point) {
  ::POINT at;
  if (!::GetCursorPos(&at)) return FALSE;
  point->x = at.x;
  point->y = at.y;
  return TRUE;
}

BOOL RealWindowsApi::SetForegroundWindow(HWND window) {
  return ::SetForegroundWindow(ToHwnd(window));
}

HMENU RealWindowsApi::CreatePopupMenu() {
  return Raw(::CreatePopupMenu());
}

BOOL RealWindowsApi::InsertMenuA(HMENU menu, UINT position, UINT flags, std::uintptr_t idNewItem,
                                 const char* text) {
  return ::InsertMenuA(ToHmenu(menu), position, flags, idNewItem, text);
}

BOOL RealWindowsApi::TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                                    const RECT* rect) {
  ::RECT area;
  if (rect) area = {rect->left, rect->top, rect->right, rect->bottom};
  const BOOL result =
      ::TrackPopupMenu(ToHmenu(menu), flags, x, y, reserved, ToHwnd(owner), rect ? &area : nullptr);
  // Lets the owner leave the menu mode cleanly before the next popup.
  ::PostMessageA(ToHwnd(owner), WM_NULL, 0, 0);
  return result;
}

BOOL RealWindowsApi::DestroyMenu(HMENU menu) {
  return ::DestroyMenu(ToHmenu(menu));
}

int RealWindowsApi::MessageBoxA(HWND owner, const std::string& text, const std::string& caption,
                                UINT type) {
  return ::MessageBoxA(ToHwnd(owner), text.c_str(), caption.c_str(), type);
}

void RealWindowsApi::ProcessPendingMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));  // for the main loop to see
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

BOOL RealWindowsApi::GetOpenFileNameA(HWND owner, const std::string& title,
                                      const std::string& filter, std::string* fileName) {
  char path[MAX_PATH] = {};
  OPENFILENAMEA dialog;
  std::memset(&dialog, 0, sizeof dialog);
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // understood by every version
  dialog.hwndOwner = ToHwnd(owner);
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NODEREFERENCELINKS;
  if (!::GetOpenFileNameA(&dialog)) return FALSE;
  *fileName = path;
  return TRUE;
}

BOOL RealWindowsApi::GetOwnFileVersion(FileVersion* version) {
  const HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
  if (!found) return FALSE;
  const HGLOBAL loaded = ::LoadResource(nullptr, found);
  const auto* bytes = static_cast<const unsigned char*>(::LockResource(loaded));
  const DWORD size = ::SizeofResource(nullptr, found);
  if (!bytes) return FALSE;
  // The fixed part of the record starts with its signature, on a 4-byte boundary.
  for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, bytes + at, sizeof fixed);
    if (fixed.dwSignature != 0xFEEF04BD) continue;
    version->major = HIWORD(fixed.dwFileVersionMS);
    version->minor = LOWORD(fixed.dwFileVersionMS);
    version->build = HIWORD(fixed.dwFileVersionLS);
    version->revision = LOWORD(fixed.dwFileVersionLS);
    return TRUE;
  }
  return FALSE;
}

}  // namespace ludora
