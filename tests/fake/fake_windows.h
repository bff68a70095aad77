// An in-memory Windows for the unit tests: a registry, profile files, a
// folder tree with attributes, menus, a clock and a memory status, with a
// log of every effect in order and scripted answers (the user's pick, a
// call that fails).
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/windows_api.h"

namespace ludora::testing {

// Case-insensitive ordering, as Windows compares registry and file names.
struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct FakeMenuItem {
  UINT flags = 0;
  std::uintptr_t id = 0;  // the command id, or the submenu of a popup entry
  std::string text;
};

struct FakeMenu {
  std::vector<FakeMenuItem> items;
  bool destroyed = false;
};

struct RegValue {
  DWORD type = 0;
  std::vector<BYTE> data;
  std::string AsString() const;  // REG_SZ text without its NUL
  DWORD AsDword() const;
};

class FakeWindows : public WindowsApi {
 public:
  // ---- What the program did, in order. Each entry is one effect:
  // "reg <ROOT>\<key> [<name>] REG_SZ <text>" / "... REG_DWORD <number>",
  // "ini <file> [<section>] <key>=<value>", "run <command line> show=<n>",
  // "open <file> | <parameters>", "msgbox <caption> | <text>",
  // "track <x>,<y> flags=<hex>", "shutdown-dialog", and the lesser calls
  // ("mutex", "memory-status", "thread-priority", "file-open" ...).
  std::vector<std::string> log;
  std::vector<std::string> Effects(const std::string& prefix) const;  // entries starting so

  // ---- State of the fake machine.
  std::map<std::string, std::map<std::string, RegValue, NoCase>, NoCase> registry;  // "HKLM\path"
  std::optional<RegValue> Value(const std::string& key, const std::string& name) const;

  // Files and folders, in the order the file system enumerates them.
  struct Entry {
    std::string path;  // full path, no trailing backslash
    DWORD attributes = 0;
    std::string content;
  };
  std::vector<Entry> files;
  void AddFolder(const std::string& path, DWORD attributes = 0x10);
  void AddFile(const std::string& path, const std::string& content = "", DWORD attributes = 0x20);
  void RemoveFile(const std::string& path);

  // ---- Scripted answers.
  std::string modulePath = "C:\\Program Files\\Corvane Ludora\\ludora.exe";
  std::map<std::string, std::string, NoCase> shortPaths;  // long -> short; others unchanged
  std::optional<DWORD> platformId = 2;                    // nothing: GetVersionExA fails
  bool otherInstanceRunning = false;
  bool processOpenRefused = false;
  std::vector<std::string> refusedKeys;  // registry keys (and below) that cannot be created
  bool iniRefused = false;
  MEMORYSTATUS memory{32, 40, 535777280, 300000000, 1000000000, 900000000, 0x7FFE0000, 0x7F000000};
  // The clock: one text per call, the last one repeating.
  void SetClock(std::vector<std::string> dateTexts, std::vector<std::string> timeTexts);
  std::map<int, std::string, std::less<>> specialFolders = {
      {16, "C:\\Users\\Player\\Desktop"}, {23, "C:\\ProgramData\\Start Menu\\Programs"}};
  POINT cursor{120, 11};
  bool hasShutdownDialog = true;
  FileVersion version{1, 0, 0, 0};
  bool allocationsFail = false;
  std::optional<std::string> openDialogPick;

  // The user's answer to a tracked popup menu: the command id (0: dismissed).
  std::function<UINT(HMENU menu)> onTrackPopupMenu;
  // Called from MessageBoxA before it returns, and from each message pass.
  std::function<void()> onMessageBox;
  std::function<void()> onProcessMessages;

  // ---- Menus, threads, memory as the program left them.
  std::map<HMENU, FakeMenu> menus;
  const FakeMenu& Menu(HMENU menu) const { return menus.at(menu); }
  std::vector<HMENU> trackedMenus;
  // The id of the entry reached by following captions from `menu`; 0 if none.
  UINT FindCommand(HMENU menu, const std::vector<std::string>& captions) const;
  int messagePasses = 0;
  std::vector<std::intptr_t> threadPriorityHandles;
  int currentThreadPriority = 0;
  DWORD priorityClass = 0x20;
  std::vector<std::size_t> allocations;  // sizes asked of VirtualAlloc
  bool lastBufferAllSpaces = false;
  int liveAllocations = 0;
  int openFileHandles = 0;
  int openFinds = 0;

  // WindowsApi.
  LONG RegCreateKeyA(HKEY root, const std::string& subKey, HKEY* result) override;
  LONG RegSetValueExA(HKEY key, const std::string& valueName, DWORD reserved, DWORD type,
                      const BYTE* data, DWORD size) override;
  LONG RegCloseKey(HKEY key) override;
  BOOL WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& fileName) override;
  BOOL GetVersionExA(OSVERSIONINFOA* info) override;
  DWORD GetCurrentProcessId() override { return 4242; }
  HANDLE OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId) override;
  BOOL SetPriorityClass(HANDLE process, DWORD priorityClass) override;
  BOOL CloseHandle(HANDLE object) override;
  BOOL SetThreadPriority(HANDLE thread, int priority) override;
  HANDLE CreateMutexA(BOOL initialOwner, const std::string& name) override;
  DWORD GetLastError() override { return lastError_; }
  BOOL CreateProcessA(const char* applicationName, const std::string& commandLine,
                      DWORD creationFlags, const char* currentDirectory, WORD showWindow,
                      ProcessHandles* started = nullptr) override;
  DWORD ResumeThread(HANDLE thread) override;
  DWORD GetModuleFileNameA(char* fileName, DWORD size) override;
  DWORD GetShortPathNameA(const std::string& longPath, char* shortPath, DWORD size) override;
  HANDLE FindFirstFileA(const std::string& pattern, WIN32_FIND_DATAA* data) override;
  BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) override;
  BOOL FindClose(HANDLE find) override;
  DWORD GetFileAttributesA(const std::string& path) override;
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
  HWND GetDesktopWindow() override { return 0x10010; }
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

 private:
  bool KeyRefused(const std::string& key) const;
  const Entry* Find(const std::string& path) const;

  DWORD lastError_ = 0;
  std::uintptr_t nextHandle_ = 0x1000;
  std::map<HKEY, std::string> openKeys_;
  struct Listing {
    std::vector<const Entry*> entries;
    std::size_t next = 0;
  };
  std::map<HANDLE, Listing> finds_;
  struct OpenFile {
    std::string content;
    std::size_t offset = 0;
  };
  std::map<HANDLE, OpenFile> openFiles_;
  std::map<HANDLE, std::string> handles_;  // process, mutex: what they are
  std::map<PIDL, std::string> pidls_;
  std::vector<std::string> dates_ = {"Friday, December 04, 2026"};
  std::vector<std::string> times_ = {"5:30:25 PM"};
  std::size_t dateCalls_ = 0;
  std::size_t timeCalls_ = 0;
};

}  // namespace ludora::testing
