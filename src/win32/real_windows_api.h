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
  BOOL WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& fileName) override;
  BOOL GetVersionExA(OSVERSIONINFOA* info) override;
  DWORD GetCurrentProcessId() override;
  HANDLE OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId) override;
  BOOL SetPriorityClass(HANDLE process, DWORD priorityClass) override;
  BOOL CloseHandle(HANDLE object) override;
  BOOL SetThreadPriority(HANDLE thread, int priority) override;
  HANDLE CreateMutexA(BOOL initialOwner, const std::string& name) override;
  DWORD GetLastError() override;
  BOOL CreateProcessA(const char* applicationName, const std::string& commandLine,
                      DWORD creationFlags, const char* currentDirectory, WORD showWindow,
                      ProcessHandles* started) override;
  DWORD ResumeThread(HANDLE thread) override;
  DWORD GetModuleFileNameA(char* fileName, DWORD size) override;
  DWORD GetShortPathNameA(const std::string& longPath, char* shortPath, DWORD size) override;
  HANDLE FindFirstFileA(const std::string& pattern, WIN32_FIND_DATAA* data) override;
  BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) override;
  BOOL FindClose(HANDLE find) override;
  HANDLE CreateFileA(const std::string& path, DWORD desiredAccess, DWORD shareMode,
                     DWORD creationDisposition, DWORD flags) override;
  BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read) override;
  void GlobalMemoryStatus(MEMORYSTATUS* status) override;
  void* VirtualAlloc(void* address, std::size_t size, DWORD allocationType, DWORD protect) override;
  BOOL VirtualFree(void* address, std::size_t size, DWORD freeType) override;
  int GetDateFormatA(DWORD locale, DWORD flags, char* buffer, int size) override;
  int GetTimeFormatA(DWORD locale, DWORD flags, char* buffer, int size) override;
  std::intptr_t ShellExecuteA(HWND owner, const char* operation, const std::string& file,
                              const char* parameters, const char* directory, int showCmd) override;
  HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, PIDL* pidl) override;
  BOOL SHGetPathFromIDListA(PIDL pidl, char* path) override;
  void CoTaskMemFree(PIDL pidl) override;
  BOOL ExitWindowsDialog(HWND owner) override;
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
  void ProcessPendingMessages() override;
  BOOL GetOpenFileNameA(HWND owner, const std::string& title, const std::string& filter,
                        std::string* fileName) override;
  BOOL GetOwnFileVersion(FileVersion* version) override;
};

}  // namespace ludora
