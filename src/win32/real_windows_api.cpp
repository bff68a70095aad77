#include "win32/real_windows_api.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

#include "platform/memory_status.h"
#include "win32/adapter_casts.h"

namespace ludora {

namespace {

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

LONG RealWindowsApi::RegOpenKeyExA(HKEY root, const std::string& subKey, DWORD options,
                                   DWORD desiredAccess, HKEY* result) {
  ::HKEY key = nullptr;
  const LONG status = ::RegOpenKeyExA(ToHkey(root), subKey.c_str(), options, desiredAccess, &key);
  *result = Raw(key);
  return status;
}

LONG RealWindowsApi::RegQueryValueExA(HKEY key, const std::string& valueName, DWORD* reserved,
                                      DWORD* type, BYTE* data, DWORD* size) {
  // The portable DWORD is the Windows one; the pointers go through as given,
  // null ones included.
  static_assert(sizeof(DWORD) == sizeof(::DWORD));
  return ::RegQueryValueExA(ToHkey(key), valueName.c_str(), reinterpret_cast<::LPDWORD>(reserved),
                            reinterpret_cast<::LPDWORD>(type), data,
                            reinterpret_cast<::LPDWORD>(size));
}

LONG RealWindowsApi::RegDeleteValueA(HKEY key, const std::string& valueName) {
  return ::RegDeleteValueA(ToHkey(key), valueName.c_str());
}

LONG RealWindowsApi::RegCreateKeyExA(HKEY root, const std::string& subKey, DWORD reserved,
                                     const char* keyClass, DWORD options, DWORD desiredAccess,
                                     const SECURITY_ATTRIBUTES*, HKEY* result, DWORD* disposition) {
  ::HKEY key = nullptr;
  ::DWORD created = 0;
  const LONG status =
      ::RegCreateKeyExA(ToHkey(root), subKey.c_str(), reserved, const_cast<char*>(keyClass),
                        options, desiredAccess, nullptr, &key, &created);
  *result = Raw(key);
  if (disposition) *disposition = created;
  return status;
}

LONG RealWindowsApi::RegEnumValueA(HKEY key, DWORD index, char* valueName, DWORD* valueNameSize,
                                   DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize) {
  return ::RegEnumValueA(ToHkey(key), index, valueName, reinterpret_cast<::LPDWORD>(valueNameSize),
                         reinterpret_cast<::LPDWORD>(reserved), reinterpret_cast<::LPDWORD>(type),
                         data, reinterpret_cast<::LPDWORD>(dataSize));
}

BOOL RealWindowsApi::GetUserNameA(char* buffer, DWORD* size) {
  ::DWORD length = *size;
  const BOOL got = ::GetUserNameA(buffer, &length);
  *size = length;
  return got;
}

BOOL RealWindowsApi::WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                                const char* value, const std::string& fileName) {
  return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value, fileName.c_str());
}

DWORD RealWindowsApi::GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                               const std::string& defaultValue, char* buffer,
                                               DWORD size, const std::string& fileName) {
  return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                    size, fileName.c_str());
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

HANDLE RealWindowsApi::OpenMutexA(DWORD desiredAccess, BOOL inheritHandle,
                                  const std::string& name) {
  return Raw(::OpenMutexA(desiredAccess, inheritHandle, name.c_str()));
}

HANDLE RealWindowsApi::GetCurrentProcess() {
  return Raw(::GetCurrentProcess());
}

UINT RealWindowsApi::GetSystemDirectoryA(char* buffer, UINT size) {
  return ::GetSystemDirectoryA(buffer, size);
}

UINT RealWindowsApi::GetWindowsDirectoryA(char* buffer, UINT size) {
  return ::GetWindowsDirectoryA(buffer, size);
}

HANDLE RealWindowsApi::OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId) {
  return Raw(::OpenProcess(desiredAccess, inheritHandle, processId));
}

BOOL RealWindowsApi::SetPriorityClass(HANDLE process, DWORD priorityClass) {
  return ::SetPriorityClass(ToHandle(process), priorityClass);
}

BOOL RealWindowsApi::TerminateProcess(HANDLE process, UINT exitCode) {
  return ::TerminateProcess(ToHandle(process), exitCode);
}

BOOL RealWindowsApi::CloseHandle(HANDLE object) {
  return ::CloseHandle(ToHandle(object));
}

BOOL RealWindowsApi::SetThreadPriority(HANDLE thread, int priority) {
  return ::SetThreadPriority(ToHandle(thread), priority);
}

HANDLE RealWindowsApi::CreateMutexA(const SECURITY_ATTRIBUTES*, BOOL initialOwner,
                                    const std::string& name) {
  return Raw(::CreateMutexA(nullptr, initialOwner, name.c_str()));
}

DWORD RealWindowsApi::GetLastError() {
  return ::GetLastError();
}

BOOL RealWindowsApi::CreateProcessA(const char* applicationName, char* commandLine,
                                    const SECURITY_ATTRIBUTES*, const SECURITY_ATTRIBUTES*,
                                    BOOL inheritHandles, DWORD creationFlags, const void*,
                                    const char* currentDirectory, const STARTUPINFOA* startupInfo,
                                    PROCESS_INFORMATION* processInformation) {
  ::STARTUPINFOA startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = startupInfo->dwFlags;
  startup.wShowWindow = startupInfo->wShowWindow;
  ::PROCESS_INFORMATION started;
  if (!::CreateProcessA(applicationName, commandLine, nullptr, nullptr, inheritHandles,
                        creationFlags, nullptr, currentDirectory, &startup, &started)) {
    return FALSE;
  }
  *processInformation = {Raw(started.hProcess), Raw(started.hThread), started.dwProcessId,
                         started.dwThreadId};
  return TRUE;
}

namespace {

// The portable thread function, called from one of Windows' own type.
struct ThreadStart {
  LPTHREAD_START_ROUTINE start;
  void* parameter;
};

::DWORD WINAPI StartThread(void* parameter) {
  const ThreadStart thread = *static_cast<ThreadStart*>(parameter);
  delete static_cast<ThreadStart*>(parameter);
  return thread.start(thread.parameter);
}

}  // namespace

DWORD RealWindowsApi::GetTickCount() {
  return ::GetTickCount();
}

void RealWindowsApi::Sleep(DWORD milliseconds) {
  ::Sleep(milliseconds);
}

HANDLE RealWindowsApi::CreateEventA(const SECURITY_ATTRIBUTES* attributes, BOOL manualReset,
                                    BOOL initialState, const std::string& name) {
  ::SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  return Raw(::CreateEventA(attributes && attributes->bInheritHandle ? &inherited : nullptr,
                            manualReset, initialState, name.c_str()));
}

HANDLE RealWindowsApi::OpenEventA(DWORD desiredAccess, BOOL inheritHandle,
                                  const std::string& name) {
  return Raw(::OpenEventA(desiredAccess, inheritHandle, name.c_str()));
}

BOOL RealWindowsApi::SetEvent(HANDLE event) {
  return ::SetEvent(ToHandle(event));
}

HANDLE RealWindowsApi::CreateThread(const SECURITY_ATTRIBUTES*, std::size_t stackSize,
                                    LPTHREAD_START_ROUTINE start, void* parameter,
                                    DWORD creationFlags, DWORD* threadId) {
  auto* thread = new ThreadStart{start, parameter};
  ::DWORD id = 0;  // Windows 98 wants somewhere to put it
  const ::HANDLE handle =
      ::CreateThread(nullptr, stackSize, &StartThread, thread, creationFlags, &id);
  if (!handle) delete thread;
  if (threadId) *threadId = id;
  return Raw(handle);
}

DWORD RealWindowsApi::ResumeThread(HANDLE thread) {
  return ::ResumeThread(ToHandle(thread));
}

HMODULE RealWindowsApi::LoadLibraryA(const std::string& fileName) {
  return Raw(::LoadLibraryA(fileName.c_str()));
}

FARPROC RealWindowsApi::GetProcAddress(HMODULE module, const char* procName) {
  return reinterpret_cast<FARPROC>(::GetProcAddress(As<HINSTANCE__>(module), procName));
}

HRSRC RealWindowsApi::FindResourceA(HMODULE module, const char* name, const char* type) {
  return Raw(::FindResourceA(As<HINSTANCE__>(module), name, type));
}

HGLOBAL RealWindowsApi::LoadResource(HMODULE module, HRSRC resource) {
  return Raw(::LoadResource(As<HINSTANCE__>(module), As<HRSRC__>(resource)));
}

const void* RealWindowsApi::LockResource(HGLOBAL resource) {
  return ::LockResource(As<void>(resource));
}

DWORD RealWindowsApi::SizeofResource(HMODULE module, HRSRC resource) {
  return ::SizeofResource(As<HINSTANCE__>(module), As<HRSRC__>(resource));
}

void RealWindowsApi::OutputDebugStringA(const std::string& text) {
  ::OutputDebugStringA(text.c_str());
}

DWORD RealWindowsApi::GetModuleFileNameA(HMODULE module, char* fileName, DWORD size) {
  return ::GetModuleFileNameA(As<HINSTANCE__>(module), fileName, size);
}

DWORD RealWindowsApi::ExpandEnvironmentStringsA(const std::string& source, char* destination,
                                                DWORD size) {
  return ::ExpandEnvironmentStringsA(source.c_str(), destination, size);
}

DWORD RealWindowsApi::GetShortPathNameA(const std::string& longPath, char* shortPath, DWORD size) {
  return ::GetShortPathNameA(longPath.c_str(), shortPath, size);
}

HANDLE RealWindowsApi::FindFirstFileA(const std::string& pattern, WIN32_FIND_DATAA* data) {
  ::WIN32_FIND_DATAA found;
  const ::HANDLE find = ::FindFirstFileA(pattern.c_str(), &found);
  if (Raw(find) != kInvalidHandle) CopyFindData(found, data);
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
                                   const SECURITY_ATTRIBUTES*, DWORD creationDisposition,
                                   DWORD flagsAndAttributes, HANDLE templateFile) {
  return Raw(::CreateFileA(path.c_str(), desiredAccess, shareMode, nullptr, creationDisposition,
                           flagsAndAttributes, ToHandle(templateFile)));
}

BOOL RealWindowsApi::ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, void*) {
  ::DWORD done = 0;
  const BOOL ok = ::ReadFile(ToHandle(file), buffer, toRead, &done, nullptr);
  *read = done;
  return ok;
}

BOOL RealWindowsApi::WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written,
                               void*) {
  ::DWORD done = 0;
  const BOOL ok = ::WriteFile(ToHandle(file), buffer, toWrite, &done, nullptr);
  *written = done;
  return ok;
}

BOOL RealWindowsApi::DeleteFileA(const std::string& path) {
  return ::DeleteFileA(path.c_str());
}

BOOL RealWindowsApi::MoveFileA(const std::string& existingPath, const std::string& newPath) {
  return ::MoveFileA(existingPath.c_str(), newPath.c_str());
}

DWORD RealWindowsApi::WaitForSingleObject(HANDLE object, DWORD milliseconds) {
  return ::WaitForSingleObject(ToHandle(object), milliseconds);
}

void RealWindowsApi::GlobalMemoryStatus(MEMORYSTATUS* status) {
#ifdef _WIN64
  // The 64-bit build reports what the shipped 32-bit program is told.
  ::MEMORYSTATUSEX memory;
  std::memset(&memory, 0, sizeof memory);
  memory.dwLength = sizeof memory;
  if (!::GlobalMemoryStatusEx(&memory)) return;
  *status = AsA32BitProgramSeesIt({memory.dwMemoryLoad, memory.ullTotalPhys, memory.ullAvailPhys,
                                   memory.ullTotalPageFile, memory.ullAvailPageFile,
                                   memory.ullTotalVirtual, memory.ullAvailVirtual});
#else
  ::MEMORYSTATUS memory;
  std::memset(&memory, 0, sizeof memory);
  memory.dwLength = sizeof memory;
  ::GlobalMemoryStatus(&memory);
  *status = {status->dwLength,      memory.dwMemoryLoad,    memory.dwTotalPhys,
             memory.dwAvailPhys,    memory.dwTotalPageFile, memory.dwAvailPageFile,
             memory.dwTotalVirtual, memory.dwAvailVirtual};
#endif
}

void* RealWindowsApi::VirtualAlloc(void* address, std::size_t size, DWORD allocationType,
                                   DWORD protect) {
  return ::VirtualAlloc(address, size, allocationType, protect);
}

BOOL RealWindowsApi::VirtualFree(void* address, std::size_t size, DWORD freeType) {
  return ::VirtualFree(address, size, freeType);
}

int RealWindowsApi::GetDateFormatA(DWORD locale, DWORD flags, const void* date, const char* format,
                                   char* buffer, int size) {
  return ::GetDateFormatA(locale, flags, static_cast<const SYSTEMTIME*>(date), format, buffer,
                          size);
}

int RealWindowsApi::GetTimeFormatA(DWORD locale, DWORD flags, const void* time, const char* format,
                                   char* buffer, int size) {
  return ::GetTimeFormatA(locale, flags, static_cast<const SYSTEMTIME*>(time), format, buffer,
                          size);
}

BOOL RealWindowsApi::IsDBCSLeadByte(BYTE testChar) {
  return ::IsDBCSLeadByte(testChar);
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
  return ::TrackPopupMenu(ToHmenu(menu), flags, x, y, reserved, ToHwnd(owner),
                          rect ? &area : nullptr);
}

BOOL RealWindowsApi::DestroyMenu(HMENU menu) {
  return ::DestroyMenu(ToHmenu(menu));
}

int RealWindowsApi::MessageBoxA(HWND owner, const std::string& text, const std::string& caption,
                                UINT type) {
  return ::MessageBoxA(ToHwnd(owner), text.c_str(), caption.c_str(), type);
}

namespace {

::MSG ToMsg(const MSG& from) {
  ::MSG to;
  to.hwnd = ToHwnd(from.hwnd);
  to.message = from.message;
  to.wParam = from.wParam;
  to.lParam = from.lParam;
  to.time = from.time;
  to.pt = {from.pt.x, from.pt.y};
  return to;
}

}  // namespace

BOOL RealWindowsApi::PeekMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax,
                                  UINT remove) {
  ::MSG got;
  if (!::PeekMessageA(&got, ToHwnd(window), filterMin, filterMax, remove)) return FALSE;
  *message = {Raw(got.hwnd), got.message, got.wParam, got.lParam, got.time, {got.pt.x, got.pt.y}};
  return TRUE;
}

BOOL RealWindowsApi::TranslateMessage(const MSG* message) {
  const ::MSG msg = ToMsg(*message);
  return ::TranslateMessage(&msg);
}

LPARAM RealWindowsApi::DispatchMessageA(const MSG* message) {
  const ::MSG msg = ToMsg(*message);
  return ::DispatchMessageA(&msg);
}

void RealWindowsApi::PostQuitMessage(int exitCode) {
  ::PostQuitMessage(exitCode);
}

BOOL RealWindowsApi::PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageA(ToHwnd(window), message, wParam, lParam);
}

HWND RealWindowsApi::FindWindowA(const char* className, const char* windowName) {
  return Raw(::FindWindowA(className, windowName));
}

HWND RealWindowsApi::FindWindowExA(HWND parent, HWND childAfter, const char* className,
                                   const char* windowName) {
  return Raw(::FindWindowExA(ToHwnd(parent), ToHwnd(childAfter), className, windowName));
}

int RealWindowsApi::GetWindowTextA(HWND window, char* text, int maxCount) {
  return ::GetWindowTextA(ToHwnd(window), text, maxCount);
}

int RealWindowsApi::GetSystemMetrics(int index) {
  return ::GetSystemMetrics(index);
}

short RealWindowsApi::GetAsyncKeyState(int key) {
  return ::GetAsyncKeyState(key);
}

DWORD RealWindowsApi::GetWindowThreadProcessId(HWND window, DWORD* processId) {
  ::DWORD id = 0;
  const DWORD thread = ::GetWindowThreadProcessId(ToHwnd(window), &id);
  if (processId) *processId = id;
  return thread;
}

BOOL RealWindowsApi::IsWindow(HWND window) {
  return ::IsWindow(ToHwnd(window));
}

HICON RealWindowsApi::CopyIcon(HICON icon) {
  return Raw(::CopyIcon(As<HICON__>(icon)));
}

HICON RealWindowsApi::CreateIcon(HMODULE instance, int width, int height, BYTE planes,
                                 BYTE bitsPerPixel, const BYTE* andBits, const BYTE* xorBits) {
  return Raw(::CreateIcon(As<HINSTANCE__>(instance), width, height, planes, bitsPerPixel, andBits,
                          xorBits));
}

BOOL RealWindowsApi::DestroyIcon(HICON icon) {
  return ::DestroyIcon(As<HICON__>(icon));
}

HWND RealWindowsApi::GetForegroundWindow() {
  return Raw(::GetForegroundWindow());
}

BOOL RealWindowsApi::GetWindowRect(HWND window, RECT* rect) {
  ::RECT area;
  if (!::GetWindowRect(ToHwnd(window), &area)) return FALSE;
  *rect = {area.left, area.top, area.right, area.bottom};
  return TRUE;
}

LONG RealWindowsApi::GetWindowLongA(HWND window, int index) {
  return ::GetWindowLongA(ToHwnd(window), index);
}

}  // namespace ludora
