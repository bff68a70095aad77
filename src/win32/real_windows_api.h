// The real adapter: each operation of the seam forwarded to Windows.
#pragma once

#include "platform/windows_api.h"

namespace ludora {

class RealWindowsApi : public WindowsApi {
 public:
  LONG RegCreateKeyA(HKEY root, const std::string& subKey, HKEY* result) override;
  LONG RegSetValueExA(HKEY key, const std::string& valueName, DWORD reserved, DWORD type,
                      const BYTE* data, DWORD size) override;
  LONG RegCloseKey(HKEY key) override;
  LONG RegOpenKeyExA(HKEY root, const std::string& subKey, DWORD options, DWORD desiredAccess,
                     HKEY* result) override;
  LONG RegQueryValueExA(HKEY key, const std::string& valueName, DWORD* reserved, DWORD* type,
                        BYTE* data, DWORD* size) override;
  LONG RegDeleteValueA(HKEY key, const std::string& valueName) override;
  BOOL WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                  const char* value, const std::string& fileName) override;
  DWORD GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                 const std::string& defaultValue, char* buffer, DWORD size,
                                 const std::string& fileName) override;
  BOOL GetVersionExA(OSVERSIONINFOA* info) override;
  DWORD GetCurrentProcessId() override;
  HANDLE OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId) override;
  BOOL SetPriorityClass(HANDLE process, DWORD priorityClass) override;
  BOOL TerminateProcess(HANDLE process, UINT exitCode) override;
  BOOL CloseHandle(HANDLE object) override;
  BOOL SetThreadPriority(HANDLE thread, int priority) override;
  HANDLE CreateMutexA(const SECURITY_ATTRIBUTES* attributes, BOOL initialOwner,
                      const std::string& name) override;
  DWORD GetLastError() override;
  BOOL CreateProcessA(const char* applicationName, char* commandLine,
                      const SECURITY_ATTRIBUTES* processAttributes,
                      const SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles,
                      DWORD creationFlags, const void* environment, const char* currentDirectory,
                      const STARTUPINFOA* startupInfo,
                      PROCESS_INFORMATION* processInformation) override;
  DWORD ResumeThread(HANDLE thread) override;
  HMODULE LoadLibraryA(const std::string& fileName) override;
  FARPROC GetProcAddress(HMODULE module, const char* procName) override;
  HRSRC FindResourceA(HMODULE module, const char* name, const char* type) override;
  HGLOBAL LoadResource(HMODULE module, HRSRC resource) override;
  const void* LockResource(HGLOBAL resource) override;
  DWORD SizeofResource(HMODULE module, HRSRC resource) override;
  DWORD GetModuleFileNameA(HMODULE module, char* fileName, DWORD size) override;
  DWORD GetShortPathNameA(const std::string& longPath, char* shortPath, DWORD size) override;
  HANDLE FindFirstFileA(const std::string& pattern, WIN32_FIND_DATAA* data) override;
  BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) override;
  BOOL FindClose(HANDLE find) override;
  HANDLE CreateFileA(const std::string& path, DWORD desiredAccess, DWORD shareMode,
                     const SECURITY_ATTRIBUTES* attributes, DWORD creationDisposition,
                     DWORD flagsAndAttributes, HANDLE templateFile) override;
  BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, void* overlapped) override;
  BOOL WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written,
                 void* overlapped) override;
  BOOL DeleteFileA(const std::string& path) override;
  DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) override;
  void GlobalMemoryStatus(MEMORYSTATUS* status) override;
  void* VirtualAlloc(void* address, std::size_t size, DWORD allocationType, DWORD protect) override;
  BOOL VirtualFree(void* address, std::size_t size, DWORD freeType) override;
  int GetDateFormatA(DWORD locale, DWORD flags, const void* date, const char* format, char* buffer,
                     int size) override;
  int GetTimeFormatA(DWORD locale, DWORD flags, const void* time, const char* format, char* buffer,
                     int size) override;
  BOOL IsDBCSLeadByte(BYTE testChar) override;
  std::intptr_t ShellExecuteA(HWND owner, const char* operation, const std::string& file,
                              const char* parameters, const char* directory, int showCmd) override;
  HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, PIDL* pidl) override;
  BOOL SHGetPathFromIDListA(PIDL pidl, char* path) override;
  void CoTaskMemFree(PIDL pidl) override;
  HWND GetDesktopWindow() override;
  BOOL GetCursorPos(POINT* point) override;
  BOOL SetForegroundWindow(HWND window) override;
  HMENU CreatePopupMenu() override;
  BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, std::uintptr_t idNewItem,
                   const char* text) override;
  BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                      const RECT* rect) override;
  BOOL DestroyMenu(HMENU menu) override;
  int MessageBoxA(HWND owner, const std::string& text, const std::string& caption,
                  UINT type) override;
  BOOL PeekMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax,
                    UINT remove) override;
  BOOL TranslateMessage(const MSG* message) override;
  LPARAM DispatchMessageA(const MSG* message) override;
  void PostQuitMessage(int exitCode) override;
  BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  HWND FindWindowA(const char* className, const char* windowName) override;
  DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) override;
  BOOL GetOpenFileNameA(OPENFILENAMEA* dialog) override;
};

}  // namespace ludora
