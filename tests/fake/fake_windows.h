// An in-memory Windows for the unit tests: a folder tree with attributes,
// menus, a clock and a memory status, with a log of every effect in order
// and scripted answers (the user's pick, a call that fails).
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/win_constants.h"
#include "platform/windows_api.h"

namespace ludora::testing {

struct FakeMenuItem {
  UINT flags = 0;
  std::uintptr_t id = 0;  // the command id, or the submenu of a popup entry
  std::string text;
};

struct FakeMenu {
  std::vector<FakeMenuItem> items;
  bool destroyed = false;
};

class FakeWindows : public WindowsApi {
 public:
  // ---- What the program did, in order, one effect an entry:
  // "reg <ROOT>\<key> [<name>] REG_SZ <text>" or "... REG_DWORD <number>",
  // "ini <file> [<section>] <key>=<value>", "run <command line> show=<n>",
  // "open <file> | <parameters>", "msgbox <caption> | <text> | style=<n>",
  // "track <x>,<y> flags=<hex>", and the lesser calls ("mutex", "file-open" ...).
  std::vector<std::string> log;
  std::vector<std::string> Effects(const std::string& prefix) const {
    std::vector<std::string> found;
    std::copy_if(log.begin(), log.end(), std::back_inserter(found),
                 [&](const std::string& e) { return e.starts_with(prefix); });
    return found;
  }
  std::vector<BYTE> lastValueBytes;  // the bytes of the last registry value written

  // ---- Files and folders, in the order the file system enumerates them.
  struct Entry {
    std::string path;  // full path, no trailing backslash
    DWORD attributes = 0;
    std::string content;
  };
  std::vector<Entry> files;
  void AddFolder(const std::string& path, DWORD attributes = 0x10) {
    files.push_back({path, attributes, {}});
  }
  void AddFile(const std::string& path, const std::string& content = "", DWORD attributes = 0x20) {
    files.push_back({path, attributes, content});
  }
  void RemoveFile(const std::string& path) {
    std::erase_if(files, [&](const Entry& e) { return e.path == path; });
  }

  // ---- Scripted answers.
  std::string modulePath = "C:\\Program Files\\Corvane Ludora\\ludora.exe";
  std::map<std::string, std::string> shortPaths;            // long -> short; others unchanged
  std::optional<DWORD> platformId = VER_PLATFORM_WIN32_NT;  // nothing: GetVersionExA fails
  bool otherInstanceRunning = false;
  bool processOpenRefused = false;
  std::vector<std::string> refusedKeys;  // registry keys (and below) that cannot be created
  bool iniRefused = false;
  MEMORYSTATUS memory{32, 40, 535777280, 300000000, 1000000000, 900000000, 0x7FFE0000, 0x7F000000};
  std::map<int, std::string> specialFolders = {{16, "C:\\Users\\Player\\Desktop"},
                                               {23, "C:\\ProgramData\\Start Menu\\Programs"}};
  POINT cursor{120, 11};
  bool hasShutdownDialog = true;
  FileVersion version{1, 0, 0, 0};
  bool allocationsFail = false;
  std::optional<std::string> openDialogPick;
  // The clock: one text per call, the last one repeating.
  void SetClock(std::vector<std::string> dateTexts, std::vector<std::string> timeTexts) {
    dates_ = std::move(dateTexts);
    times_ = std::move(timeTexts);
    dateCalls_ = timeCalls_ = 0;
  }
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
  UINT FindCommand(HMENU menu, const std::vector<std::string>& captions) const {
    for (std::size_t level = 0; level < captions.size(); ++level) {
      const auto& items = menus.at(menu).items;
      const auto item = std::find_if(items.begin(), items.end(), [&](const FakeMenuItem& i) {
        return i.text == captions[level] && !(i.flags & MF_SEPARATOR);
      });
      if (item == items.end() || bool(item->flags & MF_POPUP) == (level + 1 == captions.size())) {
        return 0;
      }
      if (level + 1 == captions.size()) return static_cast<UINT>(item->id);
      menu = item->id;
    }
    return 0;
  }
  int messagePasses = 0;
  std::vector<std::intptr_t> threadPriorityHandles;
  int currentThreadPriority = 0;
  DWORD priorityClass = 0x20;
  std::vector<std::size_t> allocations;  // sizes asked of VirtualAlloc
  bool lastBufferAllSpaces = false;
  int liveAllocations = 0;
  int openFileHandles = 0;
  int openFinds = 0;

  // ---- Registry and profile files.
  LONG RegCreateKeyA(HKEY root, const std::string& subKey, HKEY* result) override {
    static const std::map<HKEY, std::string> roots = {
        {HKCR, "HKCR"}, {HKCU, "HKCU"}, {HKLM, "HKLM"}, {HKU, "HKU"}};
    const std::string key = roots.at(root) + "\\" + subKey;
    const bool refused = std::any_of(refusedKeys.begin(), refusedKeys.end(), [&](auto& refusedKey) {
      return strncasecmp(key.c_str(), refusedKey.c_str(), refusedKey.size()) == 0;
    });
    *result = refused ? 0 : Open("key " + key);
    return refused ? 5 : ERROR_SUCCESS;  // ERROR_ACCESS_DENIED
  }
  LONG RegSetValueExA(HKEY key, const std::string& name, DWORD, DWORD type, const BYTE* data,
                      DWORD size) override {
    if (!handles_.contains(key)) return 6;  // ERROR_INVALID_HANDLE
    lastValueBytes.assign(data, data + size);
    const DWORD number = data[0] | data[1] << 8 | data[2] << 16 | DWORD{data[3]} << 24;
    const std::string text = type == REG_DWORD
                                 ? "REG_DWORD " + std::to_string(number)
                                 : "REG_SZ " + std::string(reinterpret_cast<const char*>(data));
    log.push_back("reg " + handles_[key].substr(4) + " [" + name + "] " + text);
    return ERROR_SUCCESS;
  }
  LONG RegCloseKey(HKEY key) override { return CloseHandle(key) ? ERROR_SUCCESS : 6; }
  BOOL WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& file) override {
    if (iniRefused) return 0;
    log.push_back("ini " + file + " [" + section + "] " + key + "=" + value);
    return 1;
  }

  // ---- Version, processes, threads.
  BOOL GetVersionExA(OSVERSIONINFOA* info) override {
    if (!platformId || info->dwOSVersionInfoSize != 148) return 0;
    info->dwPlatformId = *platformId;
    return 1;
  }
  DWORD GetCurrentProcessId() override { return 4242; }
  HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD pid) override {
    log.push_back("open-process pid=" + std::to_string(pid) + " access=" + std::to_string(access) +
                  " inherit=" + std::to_string(inherit));
    return processOpenRefused || pid != 4242 ? 0 : Open("process " + std::to_string(access));
  }
  BOOL SetPriorityClass(HANDLE process, DWORD newClass) override {
    log.push_back("priority-class " + std::to_string(newClass));
    if (!handles_.contains(process)) return 0;
    // The NT family checks the handle's right to set information; the older ones do not.
    const DWORD access = std::stoul(handles_[process].substr(8));
    if (platformId == VER_PLATFORM_WIN32_NT && !(access & 0x200)) return 0;
    priorityClass = newClass;
    return 1;
  }
  BOOL CloseHandle(HANDLE object) override {
    if (files_.erase(object)) --openFileHandles;
    return handles_.erase(object) ? 1 : 0;
  }
  BOOL SetThreadPriority(HANDLE thread, int priority) override {
    const auto handle = static_cast<std::intptr_t>(thread);
    threadPriorityHandles.push_back(handle);
    log.push_back("thread-priority " + std::to_string(handle) + " " + std::to_string(priority));
    if (handle == -2) currentThreadPriority = priority;  // the current-thread pseudo-handle
    return handle == -2;
  }
  HANDLE CreateMutexA(BOOL, const std::string& name) override {
    log.push_back("mutex " + name);
    lastError_ = otherInstanceRunning ? ERROR_ALREADY_EXISTS : 0;
    return Open("mutex");
  }
  DWORD GetLastError() override { return lastError_; }
  BOOL CreateProcessA(const char* application, const std::string& commandLine, DWORD flags,
                      const char* directory, WORD showWindow,
                      ProcessHandles* started = nullptr) override {
    std::string entry = "run " + commandLine + " show=" + std::to_string(showWindow);
    if (application) entry += " app=" + std::string(application);
    if (flags) entry += " flags=" + std::to_string(flags);
    if (directory) entry += " dir=" + std::string(directory);
    log.push_back(entry);
    if (started) *started = {Open("process 2035711"), Open("thread")};
    return 1;
  }
  DWORD ResumeThread(HANDLE thread) override {
    log.push_back("resume-thread");
    return handles_.contains(thread) ? 1 : static_cast<DWORD>(-1);
  }

  // ---- Paths, files, memory.
  DWORD GetModuleFileNameA(char* fileName, DWORD size) override {
    return static_cast<DWORD>(std::snprintf(fileName, size, "%s", modulePath.c_str()));
  }
  DWORD GetShortPathNameA(const std::string& longPath, char* shortPath, DWORD size) override {
    const auto mapped = shortPaths.find(longPath);
    const std::string result = mapped == shortPaths.end() ? longPath : mapped->second;
    if (result.empty()) return 0;
    // Too small a buffer: Windows writes nothing and asks for the size it needs.
    if (size <= result.size()) return static_cast<DWORD>(result.size() + 1);
    std::memcpy(shortPath, result.c_str(), result.size() + 1);
    return static_cast<DWORD>(result.size());
  }
  HANDLE FindFirstFileA(const std::string& pattern, WIN32_FIND_DATAA* data) override {
    const std::string folder = pattern.substr(0, pattern.size() - 2);  // without "\*"
    const Entry* self = Find(folder);
    if (!pattern.ends_with("\\*") || !self || !(self->attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return INVALID_HANDLE_VALUE;
    }
    static const Entry dot{".", FILE_ATTRIBUTE_DIRECTORY, {}},
        dotdot{"..", FILE_ATTRIBUTE_DIRECTORY, {}};
    std::vector<const Entry*> listing = {&dot, &dotdot};
    for (const Entry& entry : files) {
      if (entry.path.substr(0, entry.path.find_last_of('\\')) == folder) listing.push_back(&entry);
    }
    const HANDLE find = Open("find");
    finds_[find] = {std::move(listing), 0};
    ++openFinds;
    FindNextFileA(find, data);
    return find;
  }
  BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) override {
    auto& [entries, next] = finds_[find];
    if (next >= entries.size()) return 0;
    const Entry* entry = entries[next++];
    data->dwFileAttributes = entry->attributes;
    std::snprintf(data->cFileName, sizeof data->cFileName, "%s",
                  entry->path.substr(entry->path.find_last_of('\\') + 1).c_str());
    return 1;
  }
  BOOL FindClose(HANDLE find) override {
    openFinds -= static_cast<int>(finds_.erase(find));
    return CloseHandle(find);
  }
  HANDLE CreateFileA(const std::string& path, DWORD, DWORD, DWORD, DWORD) override {
    log.push_back("file-open " + path);
    const Entry* entry = Find(path);
    if (!entry || (entry->attributes & FILE_ATTRIBUTE_DIRECTORY)) return INVALID_HANDLE_VALUE;
    const HANDLE file = Open("file");
    files_[file] = {entry->content, 0};
    ++openFileHandles;
    return file;
  }
  BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read) override {
    if (!files_.contains(file)) return 0;
    auto& [content, offset] = files_[file];
    *read = static_cast<DWORD>(std::min<std::size_t>(toRead, content.size() - offset));
    std::memcpy(buffer, content.data() + offset, *read);
    offset += *read;
    return 1;
  }
  void GlobalMemoryStatus(MEMORYSTATUS* status) override {
    log.push_back("memory-status");
    *status = MEMORYSTATUS{status->dwLength,      memory.dwMemoryLoad,    memory.dwTotalPhys,
                           memory.dwAvailPhys,    memory.dwTotalPageFile, memory.dwAvailPageFile,
                           memory.dwTotalVirtual, memory.dwAvailVirtual};
  }
  void* VirtualAlloc(void*, std::size_t size, DWORD, DWORD) override {
    allocations.push_back(size);
    void* block = allocationsFail ? nullptr : std::calloc(size, 1);
    liveAllocations += block != nullptr;
    return block;
  }
  BOOL VirtualFree(void* address, std::size_t, DWORD) override {
    if (!address) return 0;
    const auto* bytes = static_cast<const unsigned char*>(address);
    const std::size_t size = allocations.back();
    lastBufferAllSpaces = size % 2 == 0;
    for (std::size_t i = 0; lastBufferAllSpaces && i < size; i += 2) {
      lastBufferAllSpaces = bytes[i] == ' ' && bytes[i + 1] == 0;
    }
    std::free(address);
    --liveAllocations;
    return 1;
  }
  int GetDateFormatA(DWORD, DWORD, char* buffer, int size) override {
    return CopyOut(dates_[std::min(dateCalls_++, dates_.size() - 1)], buffer, size);
  }
  int GetTimeFormatA(DWORD, DWORD, char* buffer, int size) override {
    return CopyOut(times_[std::min(timeCalls_++, times_.size() - 1)], buffer, size);
  }

  // ---- Shell.
  std::intptr_t ShellExecuteA(HWND, const char* verb, const std::string& file,
                              const char* parameters, const char* directory, int show) override {
    std::string entry = "open " + file;
    if (parameters) entry += " | " + std::string(parameters);
    if (verb) entry += " verb=" + std::string(verb);
    if (directory) entry += " dir=" + std::string(directory);
    if (show != SW_SHOWNORMAL) entry += " show=" + std::to_string(show);
    log.push_back(entry);
    return 42;
  }
  HRESULT SHGetSpecialFolderLocation(HWND, int csidl, PIDL* pidl) override {
    if (!specialFolders.contains(csidl)) return static_cast<HRESULT>(0x80004005);  // E_FAIL
    *pidl = Open("pidl " + specialFolders[csidl]);
    return 0;
  }
  BOOL SHGetPathFromIDListA(PIDL pidl, char* path) override {
    if (!handles_.contains(pidl)) return 0;
    std::snprintf(path, 260, "%s", handles_[pidl].substr(5).c_str());
    return 1;
  }
  void CoTaskMemFree(PIDL pidl) override { handles_.erase(pidl); }
  BOOL ExitWindowsDialog(HWND) override {
    if (hasShutdownDialog) log.push_back("shutdown-dialog");
    return hasShutdownDialog;
  }

  // ---- Menus and windows.
  HWND GetDesktopWindow() override { return 0x10010; }
  BOOL GetCursorPos(POINT* point) override {
    *point = cursor;
    return 1;
  }
  BOOL SetForegroundWindow(HWND) override { return 1; }
  HMENU CreatePopupMenu() override {
    const HMENU menu = Open("menu");
    menus[menu];
    return menu;
  }
  BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, std::uintptr_t id,
                   const char* text) override {
    if (!menus.contains(menu) || menus[menu].destroyed) return 0;
    auto& items = menus[menu].items;  // by position: past the end appends
    items.insert(items.begin() + std::min<std::size_t>(position, items.size()),
                 {flags, id, text ? text : ""});
    return 1;
  }
  BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND, const RECT*) override {
    char entry[64];
    std::snprintf(entry, sizeof entry, "track %d,%d flags=%#x", x, y, flags);
    log.push_back(entry);
    trackedMenus.push_back(menu);
    return onTrackPopupMenu ? static_cast<BOOL>(onTrackPopupMenu(menu)) : 0;
  }
  BOOL DestroyMenu(HMENU menu) override {
    if (!menus.contains(menu) || menus[menu].destroyed) return 0;
    menus[menu].destroyed = true;
    for (const FakeMenuItem& item : menus[menu].items) {
      if (item.flags & MF_POPUP) DestroyMenu(item.id);
    }
    return 1;
  }
  int MessageBoxA(HWND, const std::string& text, const std::string& caption, UINT type) override {
    log.push_back("msgbox " + caption + " | " + text + " | style=" + std::to_string(type));
    if (onMessageBox) onMessageBox();
    return 1;  // IDOK
  }
  void ProcessPendingMessages() override {
    ++messagePasses;
    if (onProcessMessages) onProcessMessages();
  }
  BOOL GetOpenFileNameA(HWND, const std::string& title, const std::string&,
                        std::string* fileName) override {
    log.push_back("open-dialog " + title);
    if (openDialogPick) *fileName = *openDialogPick;
    return openDialogPick.has_value();
  }
  BOOL GetOwnFileVersion(FileVersion* out) override {
    *out = version;
    return 1;
  }

 private:
  HANDLE Open(const std::string& what) {
    handles_[nextHandle_] = what;
    return nextHandle_++;
  }
  const Entry* Find(std::string path) const {
    while (path.ends_with('\\')) path.pop_back();
    const auto found = std::find_if(files.begin(), files.end(), [&](const Entry& e) {
      return strcasecmp(e.path.c_str(), path.c_str()) == 0;
    });
    return found == files.end() ? nullptr : &*found;
  }
  static int CopyOut(const std::string& text, char* buffer, int size) {
    if (size <= static_cast<int>(text.size())) return 0;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<int>(text.size() + 1);
  }

  DWORD lastError_ = 0;
  std::uintptr_t nextHandle_ = 0x1000;
  std::map<HANDLE, std::string> handles_;  // every open handle, and what it is
  std::map<HANDLE, std::pair<std::vector<const Entry*>, std::size_t>> finds_;
  std::map<HANDLE, std::pair<std::string, std::size_t>> files_;
  std::vector<std::string> dates_ = {"Friday, December 04, 2026"};
  std::vector<std::string> times_ = {"5:30:25 PM"};
  std::size_t dateCalls_ = 0;
  std::size_t timeCalls_ = 0;
};

}  // namespace ludora::testing
