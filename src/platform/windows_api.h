// The one seam between Ludora and Windows. Every Windows operation the
// programs perform is a virtual function here, under its Windows name, with
// its Windows arguments in their order, so the portable code reads as Win32
// code. Strings that Windows accepts as NULL are `const char*`; required
// strings are `const std::string&`. The real adapter (src/win32) forwards
// each call; the unit tests use an in-memory Windows.
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

class WindowsApi {
 public:
  virtual ~WindowsApi() = default;

  // Registry (advapi32).
  virtual LONG RegCreateKeyA(HKEY root, const std::string& subKey, HKEY* result) = 0;
  virtual LONG RegSetValueExA(HKEY key, const std::string& valueName, DWORD reserved, DWORD type,
                              const BYTE* data, DWORD size) = 0;
  virtual LONG RegCloseKey(HKEY key) = 0;
  virtual LONG RegOpenKeyExA(HKEY root, const std::string& subKey, DWORD options,
                             DWORD desiredAccess, HKEY* result) = 0;
  virtual LONG RegQueryValueExA(HKEY key, const std::string& valueName, DWORD* reserved,
                                DWORD* type, BYTE* data, DWORD* size) = 0;
  virtual LONG RegDeleteValueA(HKEY key, const std::string& valueName) = 0;

  // Profile files (kernel32). A null value deletes the entry.
  virtual BOOL WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                          const char* value, const std::string& fileName) = 0;
  virtual DWORD GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, char* buffer, DWORD size,
                                         const std::string& fileName) = 0;

  // Version, processes, threads, modules (kernel32).
  virtual BOOL GetVersionExA(OSVERSIONINFOA* info) = 0;
  virtual DWORD GetCurrentProcessId() = 0;
  virtual HANDLE OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId) = 0;
  virtual BOOL SetPriorityClass(HANDLE process, DWORD priorityClass) = 0;
  virtual BOOL TerminateProcess(HANDLE process, UINT exitCode) = 0;
  virtual BOOL CloseHandle(HANDLE object) = 0;
  virtual BOOL SetThreadPriority(HANDLE thread, int priority) = 0;
  virtual HANDLE CreateMutexA(const SECURITY_ATTRIBUTES* attributes, BOOL initialOwner,
                              const std::string& name) = 0;
  virtual DWORD GetLastError() = 0;
  virtual BOOL CreateProcessA(const char* applicationName, char* commandLine,
                              const SECURITY_ATTRIBUTES* processAttributes,
                              const SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles,
                              DWORD creationFlags, const void* environment,
                              const char* currentDirectory, const STARTUPINFOA* startupInfo,
                              PROCESS_INFORMATION* processInformation) = 0;
  virtual DWORD ResumeThread(HANDLE thread) = 0;
  virtual HMODULE LoadLibraryA(const std::string& fileName) = 0;             // stays loaded
  virtual FARPROC GetProcAddress(HMODULE module, const char* procName) = 0;  // or by ordinal
  virtual HRSRC FindResourceA(HMODULE module, const char* name, const char* type) = 0;
  virtual HGLOBAL LoadResource(HMODULE module, HRSRC resource) = 0;
  virtual const void* LockResource(HGLOBAL resource) = 0;
  virtual DWORD SizeofResource(HMODULE module, HRSRC resource) = 0;

  // Paths, files and memory (kernel32).
  virtual DWORD GetModuleFileNameA(HMODULE module, char* fileName, DWORD size) = 0;
  virtual DWORD GetShortPathNameA(const std::string& longPath, char* shortPath, DWORD size) = 0;
  virtual HANDLE FindFirstFileA(const std::string& pattern, WIN32_FIND_DATAA* data) = 0;
  virtual BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) = 0;
  virtual BOOL FindClose(HANDLE find) = 0;
  virtual HANDLE CreateFileA(const std::string& path, DWORD desiredAccess, DWORD shareMode,
                             const SECURITY_ATTRIBUTES* attributes, DWORD creationDisposition,
                             DWORD flagsAndAttributes, HANDLE templateFile) = 0;
  virtual BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, void* overlapped) = 0;
  virtual BOOL WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written,
                         void* overlapped) = 0;
  virtual BOOL DeleteFileA(const std::string& path) = 0;
  virtual DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) = 0;
  virtual void GlobalMemoryStatus(MEMORYSTATUS* status) = 0;
  virtual void* VirtualAlloc(void* address, std::size_t size, DWORD allocationType,
                             DWORD protect) = 0;
  virtual BOOL VirtualFree(void* address, std::size_t size, DWORD freeType) = 0;

  // Regional settings: today's date and the time now, formatted for the
  // user; the lead bytes of the double-byte characters of the ANSI code page.
  virtual int GetDateFormatA(DWORD locale, DWORD flags, const void* date, const char* format,
                             char* buffer, int size) = 0;
  virtual int GetTimeFormatA(DWORD locale, DWORD flags, const void* time, const char* format,
                             char* buffer, int size) = 0;
  virtual BOOL IsDBCSLeadByte(BYTE testChar) = 0;

  // Shell (shell32, ole32).
  virtual std::intptr_t ShellExecuteA(HWND owner, const char* operation, const std::string& file,
                                      const char* parameters, const char* directory,
                                      int showCmd) = 0;
  virtual HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, PIDL* pidl) = 0;
  virtual BOOL SHGetPathFromIDListA(PIDL pidl, char* path) = 0;  // path holds 260 chars
  virtual void CoTaskMemFree(PIDL pidl) = 0;

  // Menus, windows and messages (user32).
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
  virtual BOOL PeekMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax,
                            UINT remove) = 0;
  virtual BOOL TranslateMessage(const MSG* message) = 0;
  virtual LPARAM DispatchMessageA(const MSG* message) = 0;
  virtual void PostQuitMessage(int exitCode) = 0;
  virtual BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual HWND FindWindowA(const char* className, const char* windowName) = 0;
  virtual DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) = 0;

  // Common dialogs (comdlg32): the Open dialog. FALSE when cancelled.
  virtual BOOL GetOpenFileNameA(OPENFILENAMEA* dialog) = 0;
};

}  // namespace ludora
