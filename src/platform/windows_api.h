// The one seam between Ludora and Windows. Every Windows operation the
// programs perform is a virtual function here, under its Windows name, with
// its Windows arguments in their order, so the portable code reads as Win32
// code. Strings that Windows accepts as NULL are `const char*`; required
// strings are `const std::string&`. The real adapter (src/win32) forwards
// each call; the unit tests use an in-memory Windows.
//
// The operations are listed once, below, as X(result, name, (parameters),
// (arguments)): the interface, the real adapter, the test fake and the
// fault sweep over it are all made from this one list, so no operation can
// be missing from any of them.
#pragma once

#include <string>

#include "platform/win_types.h"

namespace ludora {

// GetOpenFileNameA's record, the fields the launcher fills.
struct OPENFILENAMEA {
  HWND hwndOwner = 0;
  const char* lpstrFilter = nullptr;  // pairs of NUL-ended texts, ended by a second NUL
  char* lpstrFile = nullptr;
  DWORD nMaxFile = 0;
  const char* lpstrTitle = nullptr;
  DWORD Flags = 0;
};

// GetLastInputInfo's record: when the user last moved the mouse or pressed a
// key, in GetTickCount's milliseconds.
struct LASTINPUTINFO {
  UINT cbSize = 8;
  DWORD dwTime = 0;
};

// clang-format off

// Registry and the account (advapi32).
#define LUDORA_REGISTRY_API(X) \
  X(LONG, RegCreateKeyA, (HKEY root, const std::string& subKey, HKEY* result), (root, subKey, result)) \
  X(LONG, RegSetValueExA, (HKEY key, const std::string& valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD size), (key, valueName, reserved, type, data, size)) \
  X(LONG, RegCloseKey, (HKEY key), (key)) \
  X(LONG, RegOpenKeyExA, (HKEY root, const std::string& subKey, DWORD options, DWORD desiredAccess, HKEY* result), (root, subKey, options, desiredAccess, result)) \
  X(LONG, RegQueryValueExA, (HKEY key, const std::string& valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size), (key, valueName, reserved, type, data, size)) \
  X(LONG, RegDeleteValueA, (HKEY key, const std::string& valueName), (key, valueName)) \
  X(LONG, RegCreateKeyExA, (HKEY root, const std::string& subKey, DWORD reserved, const char* keyClass, DWORD options, DWORD desiredAccess, const SECURITY_ATTRIBUTES* attributes, HKEY* result, DWORD* disposition), (root, subKey, reserved, keyClass, options, desiredAccess, attributes, result, disposition)) \
  X(LONG, RegEnumValueA, (HKEY key, DWORD index, char* valueName, DWORD* valueNameSize, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize), (key, index, valueName, valueNameSize, reserved, type, data, dataSize)) \
  X(BOOL, GetUserNameA, (char* buffer, DWORD* size), (buffer, size))

// Profile files (kernel32). A null value deletes the entry.
#define LUDORA_PROFILE_API(X) \
  X(BOOL, WritePrivateProfileStringA, (const std::string& section, const std::string& key, const char* value, const std::string& fileName), (section, key, value, fileName)) \
  X(DWORD, GetPrivateProfileStringA, (const std::string& section, const std::string& key, const std::string& defaultValue, char* buffer, DWORD size, const std::string& fileName), (section, key, defaultValue, buffer, size, fileName))

// Version, processes, threads, modules (kernel32); a process's account
// (advapi32, looked up at run time: Windows 98 has no accounts). LoadLibraryA's
// modules stay loaded; GetProcAddress takes a name or an ordinal.
#define LUDORA_PROCESS_API(X) \
  X(BOOL, GetVersionExA, (OSVERSIONINFOA* info), (info)) \
  X(DWORD, GetCurrentProcessId, (), ()) \
  X(HANDLE, OpenProcess, (DWORD desiredAccess, BOOL inheritHandle, DWORD processId), (desiredAccess, inheritHandle, processId)) \
  X(BOOL, SetPriorityClass, (HANDLE process, DWORD priorityClass), (process, priorityClass)) \
  X(BOOL, TerminateProcess, (HANDLE process, UINT exitCode), (process, exitCode)) \
  X(BOOL, CloseHandle, (HANDLE object), (object)) \
  X(BOOL, SetThreadPriority, (HANDLE thread, int priority), (thread, priority)) \
  X(HANDLE, CreateMutexA, (const SECURITY_ATTRIBUTES* attributes, BOOL initialOwner, const std::string& name), (attributes, initialOwner, name)) \
  X(HANDLE, OpenMutexA, (DWORD desiredAccess, BOOL inheritHandle, const std::string& name), (desiredAccess, inheritHandle, name)) \
  X(DWORD, GetLastError, (), ()) \
  X(DWORD, GetTickCount, (), ()) \
  X(void, Sleep, (DWORD milliseconds), (milliseconds)) \
  X(HANDLE, CreateEventA, (const SECURITY_ATTRIBUTES* attributes, BOOL manualReset, BOOL initialState, const std::string& name), (attributes, manualReset, initialState, name)) \
  X(HANDLE, OpenEventA, (DWORD desiredAccess, BOOL inheritHandle, const std::string& name), (desiredAccess, inheritHandle, name)) \
  X(BOOL, SetEvent, (HANDLE event), (event)) \
  X(HANDLE, CreateThread, (const SECURITY_ATTRIBUTES* attributes, std::size_t stackSize, LPTHREAD_START_ROUTINE start, void* parameter, DWORD creationFlags, DWORD* threadId), (attributes, stackSize, start, parameter, creationFlags, threadId)) \
  X(BOOL, CreateProcessA, (const char* applicationName, char* commandLine, const SECURITY_ATTRIBUTES* processAttributes, const SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles, DWORD creationFlags, const void* environment, const char* currentDirectory, const STARTUPINFOA* startupInfo, PROCESS_INFORMATION* processInformation), (applicationName, commandLine, processAttributes, threadAttributes, inheritHandles, creationFlags, environment, currentDirectory, startupInfo, processInformation)) \
  X(DWORD, ResumeThread, (HANDLE thread), (thread)) \
  X(HMODULE, LoadLibraryA, (const std::string& fileName), (fileName)) \
  X(FARPROC, GetProcAddress, (HMODULE module, const char* procName), (module, procName)) \
  X(HRSRC, FindResourceA, (HMODULE module, const char* name, const char* type), (module, name, type)) \
  X(HGLOBAL, LoadResource, (HMODULE module, HRSRC resource), (module, resource)) \
  X(const void*, LockResource, (HGLOBAL resource), (resource)) \
  X(DWORD, SizeofResource, (HMODULE module, HRSRC resource), (module, resource)) \
  X(void, OutputDebugStringA, (const std::string& text), (text)) \
  X(HANDLE, GetCurrentProcess, (), ()) \
  X(BOOL, OpenProcessToken, (HANDLE process, DWORD desiredAccess, HANDLE* token), (process, desiredAccess, token)) \
  X(BOOL, GetTokenInformation, (HANDLE token, int informationClass, void* information, DWORD length, DWORD* returnLength), (token, informationClass, information, length, returnLength))

// Paths, files and memory (kernel32).
#define LUDORA_FILE_API(X) \
  X(DWORD, GetModuleFileNameA, (HMODULE module, char* fileName, DWORD size), (module, fileName, size)) \
  X(UINT, GetSystemDirectoryA, (char* buffer, UINT size), (buffer, size)) \
  X(UINT, GetWindowsDirectoryA, (char* buffer, UINT size), (buffer, size)) \
  X(DWORD, ExpandEnvironmentStringsA, (const std::string& source, char* destination, DWORD size), (source, destination, size)) \
  X(DWORD, GetShortPathNameA, (const std::string& longPath, char* shortPath, DWORD size), (longPath, shortPath, size)) \
  X(DWORD, GetLongPathNameA, (const std::string& shortPath, char* longPath, DWORD size), (shortPath, longPath, size)) \
  X(HANDLE, FindFirstFileA, (const std::string& pattern, WIN32_FIND_DATAA* data), (pattern, data)) \
  X(BOOL, FindNextFileA, (HANDLE find, WIN32_FIND_DATAA* data), (find, data)) \
  X(BOOL, FindClose, (HANDLE find), (find)) \
  X(HANDLE, CreateFileA, (const std::string& path, DWORD desiredAccess, DWORD shareMode, const SECURITY_ATTRIBUTES* attributes, DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile), (path, desiredAccess, shareMode, attributes, creationDisposition, flagsAndAttributes, templateFile)) \
  X(BOOL, ReadFile, (HANDLE file, void* buffer, DWORD toRead, DWORD* read, void* overlapped), (file, buffer, toRead, read, overlapped)) \
  X(BOOL, WriteFile, (HANDLE file, const void* buffer, DWORD toWrite, DWORD* written, void* overlapped), (file, buffer, toWrite, written, overlapped)) \
  X(BOOL, DeleteFileA, (const std::string& path), (path)) \
  X(BOOL, MoveFileA, (const std::string& existingPath, const std::string& newPath), (existingPath, newPath)) \
  X(DWORD, WaitForSingleObject, (HANDLE object, DWORD milliseconds), (object, milliseconds)) \
  X(void, GlobalMemoryStatus, (MEMORYSTATUS* status), (status)) \
  X(void*, VirtualAlloc, (void* address, std::size_t size, DWORD allocationType, DWORD protect), (address, size, allocationType, protect)) \
  X(BOOL, VirtualFree, (void* address, std::size_t size, DWORD freeType), (address, size, freeType))

// A file replacing another in one step (kernel32, looked up at run time:
// Windows 98's fails).
#define LUDORA_REPLACE_API(X) \
  X(BOOL, MoveFileExA, (const std::string& existingPath, const std::string& newPath, DWORD flags), (existingPath, newPath, flags))

// Regional settings: today's date and the time now, formatted for the
// user; the lead bytes of the double-byte characters of the ANSI code page.
#define LUDORA_LOCALE_API(X) \
  X(int, GetDateFormatA, (DWORD locale, DWORD flags, const void* date, const char* format, char* buffer, int size), (locale, flags, date, format, buffer, size)) \
  X(int, GetTimeFormatA, (DWORD locale, DWORD flags, const void* time, const char* format, char* buffer, int size), (locale, flags, time, format, buffer, size)) \
  X(BOOL, IsDBCSLeadByte, (BYTE testChar), (testChar))

// Shell (shell32, ole32). SHGetPathFromIDListA's path holds 260 characters.
#define LUDORA_SHELL_API(X) \
  X(std::intptr_t, ShellExecuteA, (HWND owner, const char* operation, const std::string& file, const char* parameters, const char* directory, int showCmd), (owner, operation, file, parameters, directory, showCmd)) \
  X(HRESULT, SHGetSpecialFolderLocation, (HWND owner, int csidl, PIDL* pidl), (owner, csidl, pidl)) \
  X(BOOL, SHGetPathFromIDListA, (PIDL pidl, char* path), (pidl, path)) \
  X(void, CoTaskMemFree, (PIDL pidl), (pidl))

// Menus, windows, messages and icons (user32); the Open dialog (comdlg32),
// FALSE when cancelled. AllowSetForegroundWindow is looked up at run time,
// FALSE where Windows lacks it.
#define LUDORA_USER_API(X) \
  X(HWND, GetDesktopWindow, (), ()) \
  X(BOOL, GetCursorPos, (POINT* point), (point)) \
  X(BOOL, SetForegroundWindow, (HWND window), (window)) \
  X(HMENU, CreatePopupMenu, (), ()) \
  X(BOOL, InsertMenuA, (HMENU menu, UINT position, UINT flags, std::uintptr_t idNewItem, const char* text), (menu, position, flags, idNewItem, text)) \
  X(BOOL, TrackPopupMenu, (HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect), (menu, flags, x, y, reserved, owner, rect)) \
  X(BOOL, DestroyMenu, (HMENU menu), (menu)) \
  X(int, MessageBoxA, (HWND owner, const std::string& text, const std::string& caption, UINT type), (owner, text, caption, type)) \
  X(BOOL, PeekMessageA, (MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove), (message, window, filterMin, filterMax, remove)) \
  X(BOOL, TranslateMessage, (const MSG* message), (message)) \
  X(LPARAM, DispatchMessageA, (const MSG* message), (message)) \
  X(void, PostQuitMessage, (int exitCode), (exitCode)) \
  X(BOOL, PostMessageA, (HWND window, UINT message, WPARAM wParam, LPARAM lParam), (window, message, wParam, lParam)) \
  X(HWND, FindWindowA, (const char* className, const char* windowName), (className, windowName)) \
  X(HWND, FindWindowExA, (HWND parent, HWND childAfter, const char* className, const char* windowName), (parent, childAfter, className, windowName)) \
  X(int, GetWindowTextA, (HWND window, char* text, int maxCount), (window, text, maxCount)) \
  X(int, GetSystemMetrics, (int index), (index)) \
  X(short, GetAsyncKeyState, (int key), (key)) \
  X(DWORD, GetWindowThreadProcessId, (HWND window, DWORD* processId), (window, processId)) \
  X(BOOL, IsWindow, (HWND window), (window)) \
  X(BOOL, AllowSetForegroundWindow, (DWORD processId), (processId)) \
  X(HICON, CopyIcon, (HICON icon), (icon)) \
  X(HICON, CreateIcon, (HMODULE instance, int width, int height, BYTE planes, BYTE bitsPerPixel, const BYTE* andBits, const BYTE* xorBits), (instance, width, height, planes, bitsPerPixel, andBits, xorBits)) \
  X(BOOL, DestroyIcon, (HICON icon), (icon)) \
  X(BOOL, GetOpenFileNameA, (OPENFILENAMEA* dialog), (dialog))

// The games room (kernel32, advapi32): the keys of installed programs, a
// file's attributes, the library's folder, the clock, text of Unicode
// shortcuts, and the running processes that a game's play time follows.
#define LUDORA_GAMES_ROOM_API(X) \
  X(LONG, RegEnumKeyExA, (HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* reserved, char* keyClass, DWORD* classSize, FILETIME* lastWrite), (key, index, name, nameSize, reserved, keyClass, classSize, lastWrite)) \
  X(DWORD, GetFileAttributesA, (const std::string& path), (path)) \
  X(BOOL, CreateDirectoryA, (const std::string& path, const SECURITY_ATTRIBUTES* attributes), (path, attributes)) \
  X(void, GetSystemTimeAsFileTime, (FILETIME* time), (time)) \
  X(int, WideCharToMultiByte, (UINT codePage, DWORD flags, const char16_t* wide, int wideCount, char* multiByte, int multiByteSize, const char* defaultChar, BOOL* usedDefaultChar), (codePage, flags, wide, wideCount, multiByte, multiByteSize, defaultChar, usedDefaultChar)) \
  X(HANDLE, CreateToolhelp32Snapshot, (DWORD flags, DWORD processId), (flags, processId)) \
  X(BOOL, Process32First, (HANDLE snapshot, PROCESSENTRY32* entry), (snapshot, entry)) \
  X(BOOL, Process32Next, (HANDLE snapshot, PROCESSENTRY32* entry), (snapshot, entry)) \
  X(BOOL, Module32First, (HANDLE snapshot, MODULEENTRY32* entry), (snapshot, entry))

// The notification area's balloons: the window in front and whether it
// fills the screen (user32); the user's last input (looked up at run time:
// FALSE on Windows 98, which lacks it); a sound of the user's scheme (winmm,
// loaded when first needed).
#define LUDORA_BALLOON_API(X) \
  X(HWND, GetForegroundWindow, (), ()) \
  X(BOOL, GetWindowRect, (HWND window, RECT* rect), (window, rect)) \
  X(LONG, GetWindowLongA, (HWND window, int index), (window, index)) \
  X(BOOL, GetLastInputInfo, (LASTINPUTINFO* info), (info)) \
  X(BOOL, PlaySoundA, (const char* sound, HMODULE module, DWORD flags), (sound, module, flags))

#define LUDORA_WINDOWS_API(X) \
  LUDORA_REGISTRY_API(X) LUDORA_PROFILE_API(X) LUDORA_PROCESS_API(X) LUDORA_FILE_API(X) \
  LUDORA_REPLACE_API(X) LUDORA_LOCALE_API(X) LUDORA_SHELL_API(X) LUDORA_USER_API(X) \
  LUDORA_GAMES_ROOM_API(X) LUDORA_BALLOON_API(X)

// clang-format on

class WindowsApi {
 public:
  virtual ~WindowsApi() = default;

#define LUDORA_DECLARE_OPERATION(result, name, parameters, arguments) \
  virtual result name parameters = 0;
  LUDORA_WINDOWS_API(LUDORA_DECLARE_OPERATION)
#undef LUDORA_DECLARE_OPERATION
};

}  // namespace ludora
