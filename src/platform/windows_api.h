// The one seam between Ludora and Windows. Every Windows operation the
// programs perform is a virtual function here, under its Windows name and
// with its Windows argument order, so the portable code reads as Win32 code.
// Strings that Windows accepts as NULL are `const char*`; required strings
// are `const std::string&`. The real adapter (src/win32) forwards each call;
// the unit tests use an in-memory Windows.
#pragma once

#include <string>

#include "platform/win_types.h"

namespace ludora {

class WindowsApi {
 public:
  virtual ~WindowsApi() = default;

  // Registry (advapi32).
  virtual LONG RegCreateKeyA(HKEY root, const std::string& subKey, HKEY* result) = 0;
  virtual LONG RegSetValueExA(HKEY key, const std::string& valueName, DWORD reserved, DWORD type,
                              const BYTE* data, DWORD size) = 0;
  virtual LONG RegCloseKey(HKEY key) = 0;

  // Profile files (kernel32).
  virtual BOOL WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                          const std::string& value,
                                          const std::string& fileName) = 0;

  // Version, process, thread (kernel32).
  virtual BOOL GetVersionExA(OSVERSIONINFOA* info) = 0;
  virtual DWORD GetCurrentProcessId() = 0;
  virtual HANDLE OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId) = 0;
  virtual BOOL SetPriorityClass(HANDLE process, DWORD priorityClass) = 0;
  virtual BOOL CloseHandle(HANDLE object) = 0;
  virtual BOOL SetThreadPriority(HANDLE thread, int priority) = 0;
  virtual HANDLE CreateMutexA(BOOL initialOwner, const std::string& name) = 0;
  virtual DWORD GetLastError() = 0;

  // Starts a process; `showWindow` goes to STARTUPINFO. Without `started`
  // the handles Windows returns are closed at once: nothing is waited for.
  virtual BOOL CreateProcessA(const char* applicationName, const std::string& commandLine,
                              DWORD creationFlags, const char* currentDirectory, WORD showWindow,
                              ProcessHandles* started = nullptr) = 0;
  virtual DWORD ResumeThread(HANDLE thread) = 0;

  // Paths, files and memory (kernel32).
  virtual DWORD GetModuleFileNameA(char* fileName, DWORD size) = 0;  // of the running program
  virtual DWORD GetShortPathNameA(const std::string& longPath, char* shortPath, DWORD size) = 0;
  virtual HANDLE FindFirstFileA(const std::string& pattern, WIN32_FIND_DATAA* data) = 0;
  virtual BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) = 0;
  virtual BOOL FindClose(HANDLE find) = 0;
  virtual HANDLE CreateFileA(const std::string& path, DWORD desiredAccess, DWORD shareMode,
                             DWORD creationDisposition, DWORD flags) = 0;
  virtual BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read) = 0;
  virtual void GlobalMemoryStatus(MEMORYSTATUS* status) = 0;
  virtual void* VirtualAlloc(void* address, std::size_t size, DWORD allocationType,
                             DWORD protect) = 0;
  virtual BOOL VirtualFree(void* address, std::size_t size, DWORD freeType) = 0;

  // Regional settings: today's date and the time now, formatted for the user.
  virtual int GetDateFormatA(DWORD locale, DWORD flags, char* buffer, int size) = 0;
  virtual int GetTimeFormatA(DWORD locale, DWORD flags, char* buffer, int size) = 0;

  // Shell (shell32).
  virtual std::intptr_t ShellExecuteA(HWND owner, const char* operation, const std::string& file,
                                      const char* parameters, const char* directory,
                                      int showCmd) = 0;
  virtual HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, PIDL* pidl) = 0;
  virtual BOOL SHGetPathFromIDListA(PIDL pidl, char* path) = 0;  // path holds 260 chars
  virtual void CoTaskMemFree(PIDL pidl) = 0;
  // The system's Shut Down Windows dialog, shell32's export by ordinal 60.
  // Returns FALSE when this Windows has no such export.
  virtual BOOL ExitWindowsDialog(HWND owner) = 0;

  // Menus and windows (user32).
  virtual HWND GetDesktopWindow() = 0;
  virtual BOOL GetCursorPos(POINT* point) = 0;
  virtual BOOL SetForegroundWindow(HWND window) = 0;
  virtual HMENU CreatePopupMenu() = 0;
  virtual BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, std::uintptr_t idNewItem,
                           const char* text) = 0;
  virtual BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                              const RECT* rect) = 0;
  virtual BOOL DestroyMenu(HMENU menu) = 0;
  virtual int MessageBoxA(HWND owner, const std::string& text, const std::string& caption,
                          UINT type) = 0;
  // One pass of message processing: dispatches what is waiting, then returns.
  virtual void ProcessPendingMessages() = 0;
  // Common dialog (comdlg32): the Open dialog. Returns FALSE when cancelled.
  virtual BOOL GetOpenFileNameA(HWND owner, const std::string& title, const std::string& filter,
                                std::string* fileName) = 0;

  // The program's own version record.
  virtual BOOL GetOwnFileVersion(FileVersion* version) = 0;
};

}  // namespace ludora
