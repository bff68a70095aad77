// An in-memory Windows for the unit tests: a registry and system.ini, a
// folder tree with attributes, menus, a clock and a memory status, a log of
// every effect in order, scripted answers, and any operation made to fail.
#pragma once

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/win_constants.h"
#include "platform/windows_api.h"

namespace ludora::testing {

// Every operation of the seam, by name.
// clang-format off
#define FAKE_OPERATIONS(X) \
  X(RegCreateKeyA) X(RegSetValueExA) X(RegCloseKey) X(RegOpenKeyExA) X(RegQueryValueExA) \
  X(RegDeleteValueA) X(WritePrivateProfileStringA) X(GetPrivateProfileStringA) X(WriteFile) \
  X(WaitForSingleObject) X(FindWindowA) X(GetWindowThreadProcessId) X(TerminateProcess) X(DeleteFileA) \
  X(GetVersionExA) X(GetCurrentProcessId) X(OpenProcess) X(SetPriorityClass) X(CloseHandle) \
  X(SetThreadPriority) X(CreateMutexA) X(CreateProcessA) X(ResumeThread) X(LoadLibraryA) \
  X(GetProcAddress) X(FindResourceA) X(LoadResource) X(LockResource) X(SizeofResource) \
  X(GetModuleFileNameA) X(GetShortPathNameA) X(FindFirstFileA) X(FindNextFileA) X(FindClose) \
  X(CreateFileA) X(ReadFile) X(VirtualAlloc) X(VirtualFree) X(GetDateFormatA) X(GetTimeFormatA) \
  X(IsDBCSLeadByte) X(ShellExecuteA) X(SHGetSpecialFolderLocation) X(SHGetPathFromIDListA) \
  X(GetDesktopWindow) X(GetCursorPos) X(SetForegroundWindow) X(CreatePopupMenu) X(InsertMenuA) \
  X(TrackPopupMenu) X(DestroyMenu) X(MessageBoxA) X(PeekMessageA) X(TranslateMessage) \
  X(DispatchMessageA) X(PostMessageA) X(GetOpenFileNameA)
// clang-format on

enum class Op {
#define FAKE_OP_ENUM(name) name,
  FAKE_OPERATIONS(FAKE_OP_ENUM)
#undef FAKE_OP_ENUM
};
inline const char* NameOf(Op op) {
  static const char* const names[] = {
#define FAKE_OP_NAME(name) #name,
      FAKE_OPERATIONS(FAKE_OP_NAME)
#undef FAKE_OP_NAME
  };
  return names[static_cast<int>(op)];
}

struct FakeMenuItem {
  UINT flags = 0;
  std::uintptr_t id = 0;  // the command id, or the submenu of a popup entry
  std::string text;
};

struct FakeMenu {
  std::vector<FakeMenuItem> items;
};

// What a handle the fake gave out stands for.
enum class Kind { Key, Process, Thread, Mutex, File, Find, Pidl, Menu };

class FakeWindows : public WindowsApi {
 public:
  // ---- What the program did, in order, one effect an entry:
  // "reg <ROOT>\<key> [<name>] REG_SZ <text>" or "... REG_DWORD <number>",
  // "ini <file> [<section>] <key>=<value>", "run <command line> show=<n>",
  // "open <file> | <parameters>", "msgbox <caption> | <text> | style=<n>",
  // "foreground", "track <x>,<y> flags=<hex>", "post WM_NULL", and lesser ones.
  std::vector<std::string> log;
  std::vector<std::string> Effects(const std::string& prefix) const {
    std::vector<std::string> found;
    std::copy_if(log.begin(), log.end(), std::back_inserter(found),
                 [&](const std::string& e) { return e.starts_with(prefix); });
    return found;
  }

  // ---- Operations made to fail, with their documented failure value and
  // last error: every call of `failing`, or only call number `failingCall`.
  std::set<Op> failing;
  std::optional<std::pair<Op, int>> failingCall;
  std::map<Op, int> calls;  // how often each operation was called

  // ---- The registry, "HKCU\<key> [<name>]" in lower case -> type and bytes;
  // system.ini, "<section>|<key>" in lower case -> text.
  struct RegValue {
    DWORD type;
    std::vector<BYTE> data;
  };
  std::map<std::string, RegValue> registry;
  std::set<std::string> keys;  // in lower case
  std::map<std::string, std::string> systemIni;
  std::vector<std::string> refusedKeys;  // registry keys (and below) that cannot be created
  void SetValue(const std::string& key, const std::string& name, DWORD type,
                std::vector<BYTE> data) {
    keys.insert(Lower(key));
    registry[Lower(key + " [" + name + "]")] = {type, std::move(data)};
  }
  // "REG_SZ <text>", "REG_DWORD <number>", "<type> <hex bytes>"; nothing when absent.
  std::optional<std::string> Value(const std::string& key, const std::string& name) const {
    const auto found = registry.find(Lower(key + " [" + name + "]"));
    if (found == registry.end()) return std::nullopt;
    return Rendered(found->second.type, found->second.data.data(),
                    static_cast<DWORD>(found->second.data.size()));
  }
  FakeWindows() {
    SetValue("HKCR\\exefile\\shell\\open\\Command", "", REG_SZ,
             {'"', '%', '1', '"', ' ', '%', '*', 0});
  }

  // ---- Windows by class: the shell's, when a companion looks for them;
  // whether that shell ends when asked to close, or only when ended.
  std::map<std::string, HWND> windowsByClass;
  bool shellEndsOnClose = true;

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
  DWORD readPiece = 1 << 30;  // ReadFile hands over at most this much at a time

  // ---- Scripted answers.
  std::string modulePath = "C:\\Program Files\\Corvane Ludora\\ludora.exe";
  std::map<std::string, std::string> shortPaths;            // long -> short; others unchanged
  std::optional<DWORD> platformId = VER_PLATFORM_WIN32_NT;  // nothing: GetVersionExA fails
  bool otherInstanceRunning = false;
  MEMORYSTATUS memory{32, 40, 535777280, 300000000, 1000000000, 900000000, 0x7FFE0000, 0x7F000000};
  std::map<int, std::string> specialFolders = {{16, "C:\\Users\\Player\\Desktop"},
                                               {23, "C:\\ProgramData\\Start Menu\\Programs"}};
  POINT cursor{120, 11};
  bool hasShutdownDialog = true;
  std::vector<BYTE> versionRecord = VersionRecord(1, 0);
  std::set<BYTE> leadBytes;  // of a double-byte ANSI code page; none by default
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

  // A version record with the fixed part's signature on a 4-byte boundary.
  static std::vector<BYTE> VersionRecord(WORD major, WORD minor) {
    std::vector<BYTE> record(40 + 52, 0);
    const DWORD words[] = {0xFEEF04BD, 0x10000, DWORD{major} << 16 | minor, 0};
    std::memcpy(record.data() + 40, words, sizeof words);
    return record;
  }

  // ---- Menus, threads, memory, handles as the program left them.
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
  DWORD priorityClass = 0x20;
  std::vector<std::size_t> allocations;  // sizes asked of VirtualAlloc
  bool lastBufferAllSpaces = false;
  int liveAllocations = 0;
  // Handles given out and not given back, of one kind.
  int Live(Kind kind) const {
    return static_cast<int>(std::count_if(handles_.begin(), handles_.end(),
                                          [&](const auto& h) { return h.second.kind == kind; }));
  }

  // ---- Registry and profile files.
  LONG RegCreateKeyA(HKEY root, const std::string& subKey, HKEY* result) override {
    *result = 0;
    if (Fails(Op::RegCreateKeyA)) return ERROR_ACCESS_DENIED;
    const std::string key = RootName(root) + "\\" + subKey;
    const bool refused = std::any_of(refusedKeys.begin(), refusedKeys.end(), [&](auto& refusedKey) {
      return strncasecmp(key.c_str(), refusedKey.c_str(), refusedKey.size()) == 0;
    });
    if (refused) return ERROR_ACCESS_DENIED;
    keys.insert(Lower(key));
    *result = Open(Kind::Key, key);
    return ERROR_SUCCESS;
  }
  LONG RegSetValueExA(HKEY key, const std::string& name, DWORD, DWORD type, const BYTE* data,
                      DWORD size) override {
    if (Fails(Op::RegSetValueExA)) return ERROR_ACCESS_DENIED;
    if (!Is(key, Kind::Key)) return ERROR_INVALID_HANDLE;
    SetValue(handles_[key].name, name, type, {data, data + size});
    log.push_back("reg " + handles_[key].name + " [" + name + "] " + Rendered(type, data, size));
    return ERROR_SUCCESS;
  }
  LONG RegOpenKeyExA(HKEY root, const std::string& subKey, DWORD, DWORD, HKEY* result) override {
    *result = 0;
    if (Fails(Op::RegOpenKeyExA)) return ERROR_ACCESS_DENIED;
    const std::string key = RootName(root) + "\\" + subKey;
    if (!keys.contains(Lower(key))) return ERROR_FILE_NOT_FOUND;
    *result = Open(Kind::Key, key);
    return ERROR_SUCCESS;
  }
  LONG RegQueryValueExA(HKEY key, const std::string& name, DWORD*, DWORD* type, BYTE* data,
                        DWORD* size) override {
    if (Fails(Op::RegQueryValueExA)) return ERROR_ACCESS_DENIED;
    if (!Is(key, Kind::Key)) return ERROR_INVALID_HANDLE;
    const auto found = registry.find(Lower(handles_[key].name + " [" + name + "]"));
    if (found == registry.end()) return ERROR_FILE_NOT_FOUND;
    const std::vector<BYTE>& bytes = found->second.data;
    *type = found->second.type;
    const bool fits = data && *size >= bytes.size();
    if (fits) std::copy(bytes.begin(), bytes.end(), data);
    *size = static_cast<DWORD>(bytes.size());
    return !data || fits ? ERROR_SUCCESS : 234;  // ERROR_MORE_DATA
  }
  LONG RegDeleteValueA(HKEY key, const std::string& name) override {
    if (Fails(Op::RegDeleteValueA)) return ERROR_ACCESS_DENIED;
    if (!Is(key, Kind::Key)) return ERROR_INVALID_HANDLE;
    log.push_back("reg-delete " + handles_[key].name + " [" + name + "]");
    return registry.erase(Lower(handles_[key].name + " [" + name + "]")) ? ERROR_SUCCESS
                                                                         : ERROR_FILE_NOT_FOUND;
  }
  LONG RegCloseKey(HKEY key) override {
    if (Fails(Op::RegCloseKey)) return ERROR_INVALID_HANDLE;
    return Close(key, Kind::Key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
  }
  BOOL WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                  const char* value, const std::string& file) override {
    if (Fails(Op::WritePrivateProfileStringA)) return Refuse(0, ERROR_ACCESS_DENIED);
    log.push_back("ini " + file + " [" + section + "] " + key +
                  (value ? "=" + std::string(value) : " deleted"));
    if (value) {
      systemIni[Lower(section + "|" + key)] = value;
    } else {
      systemIni.erase(Lower(section + "|" + key));
    }
    return 1;
  }
  DWORD GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                 const std::string& defaultValue, char* buffer, DWORD size,
                                 const std::string&) override {
    const auto found = systemIni.find(Lower(section + "|" + key));
    const std::string& text = Fails(Op::GetPrivateProfileStringA) || found == systemIni.end()
                                  ? defaultValue
                                  : found->second;
    return static_cast<DWORD>(std::snprintf(buffer, size, "%s", text.c_str()));
  }

  // ---- Version, processes, threads, modules.
  BOOL GetVersionExA(OSVERSIONINFOA* info) override {
    if (Fails(Op::GetVersionExA) || !platformId || info->dwOSVersionInfoSize != 148) return 0;
    info->dwPlatformId = *platformId;
    return 1;
  }
  DWORD GetCurrentProcessId() override { return Fails(Op::GetCurrentProcessId), 4242; }
  HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD pid) override {
    log.push_back("open-process pid=" + std::to_string(pid) + " access=" + std::to_string(access) +
                  " inherit=" + std::to_string(inherit));
    if (Fails(Op::OpenProcess) || (pid != 4242 && pid != kShellProcess)) {
      return Refuse(0, ERROR_ACCESS_DENIED);
    }
    return Open(Kind::Process, "self", access);
  }
  BOOL SetPriorityClass(HANDLE process, DWORD newClass) override {
    log.push_back("priority-class " + std::to_string(newClass));
    if (Fails(Op::SetPriorityClass) || !Is(process, Kind::Process)) {
      return Refuse(0, ERROR_INVALID_HANDLE);
    }
    // The NT family checks the handle's right to set information; the older ones do not.
    if (platformId == VER_PLATFORM_WIN32_NT && !(handles_[process].access & 0x200)) {
      return Refuse(0, ERROR_ACCESS_DENIED);
    }
    priorityClass = newClass;
    return 1;
  }
  BOOL CloseHandle(HANDLE object) override {
    if (Fails(Op::CloseHandle)) return Refuse(0, ERROR_INVALID_HANDLE);
    for (const Kind kind : {Kind::Process, Kind::Thread, Kind::Mutex, Kind::File}) {
      if (Close(object, kind)) return 1;
    }
    return Refuse(0, ERROR_INVALID_HANDLE);
  }
  BOOL SetThreadPriority(HANDLE thread, int priority) override {
    const auto handle = static_cast<std::intptr_t>(thread);
    log.push_back("thread-priority " + std::to_string(handle) + " " + std::to_string(priority));
    // Only the current-thread pseudo-handle is a thread here.
    return Fails(Op::SetThreadPriority) || handle != -2 ? Refuse(0, ERROR_INVALID_HANDLE) : 1;
  }
  HANDLE CreateMutexA(const SECURITY_ATTRIBUTES*, BOOL, const std::string& name) override {
    log.push_back("mutex " + name);
    if (Fails(Op::CreateMutexA)) return Refuse(0, ERROR_ACCESS_DENIED);
    lastError_ = otherInstanceRunning ? ERROR_ALREADY_EXISTS : 0;
    return Open(Kind::Mutex, name);
  }
  DWORD GetLastError() override { return lastError_; }
  BOOL CreateProcessA(const char* application, char* commandLine, const SECURITY_ATTRIBUTES*,
                      const SECURITY_ATTRIBUTES*, BOOL, DWORD flags, const void*,
                      const char* directory, const STARTUPINFOA* startup,
                      PROCESS_INFORMATION* started) override {
    std::string entry = "run " + std::string(commandLine);
    if (startup->dwFlags & STARTF_USESHOWWINDOW)
      entry += " show=" + std::to_string(startup->wShowWindow);
    if (application) entry += " app=" + std::string(application);
    if (flags) entry += " flags=" + std::to_string(flags);
    if (directory) entry += " dir=" + std::string(directory);
    log.push_back(entry);
    if (Fails(Op::CreateProcessA)) return Refuse(0, ERROR_FILE_NOT_FOUND);
    *started = {Open(Kind::Process, commandLine, 0x1F0FFF), Open(Kind::Thread, commandLine), 7, 8};
    return 1;
  }
  DWORD ResumeThread(HANDLE thread) override {
    log.push_back("resume-thread");
    if (Fails(Op::ResumeThread) || !Is(thread, Kind::Thread)) return static_cast<DWORD>(-1);
    return 1;
  }
  HMODULE LoadLibraryA(const std::string& name) override {
    if (Fails(Op::LoadLibraryA)) return Refuse(0, ERROR_FILE_NOT_FOUND);
    return strcasecmp(name.c_str(), "shell32.dll") == 0 ? kShell32 : 0;
  }
  FARPROC GetProcAddress(HMODULE module, const char* name) override {
    if (Fails(Op::GetProcAddress) || module != kShell32 || !hasShutdownDialog ||
        reinterpret_cast<std::uintptr_t>(name) != 60) {
      return nullptr;
    }
    current_ = this;
    return reinterpret_cast<FARPROC>(&ShutDownDialog);
  }
  // The one resource asked for: the version record, handle 1, loaded as 2.
  HRSRC FindResourceA(HMODULE module, const char* name, const char* type) override {
    const bool version =
        name == MAKEINTRESOURCEA(VS_VERSION_INFO) && type == MAKEINTRESOURCEA(RT_VERSION);
    return Fails(Op::FindResourceA) || module || !version ? Refuse(0, ERROR_FILE_NOT_FOUND) : 1;
  }
  HGLOBAL LoadResource(HMODULE, HRSRC r) override {
    return Fails(Op::LoadResource) || r != 1 ? 0 : 2;
  }
  const void* LockResource(HGLOBAL r) override {
    return Fails(Op::LockResource) || r != 2 ? nullptr : versionRecord.data();
  }
  DWORD SizeofResource(HMODULE, HRSRC r) override {
    return Fails(Op::SizeofResource) || r != 1 ? 0 : static_cast<DWORD>(versionRecord.size());
  }

  // ---- Paths, files, memory.
  DWORD GetModuleFileNameA(HMODULE, char* name, DWORD size) override {
    return Fails(Op::GetModuleFileNameA) ? 0 : CopyName(modulePath, name, size);
  }
  DWORD GetShortPathNameA(const std::string& longPath, char* shortPath, DWORD size) override {
    if (Fails(Op::GetShortPathNameA)) return Refuse(0, ERROR_FILE_NOT_FOUND);
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
    if (Fails(Op::FindFirstFileA) || !pattern.ends_with("\\*") || !self ||
        !(self->attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return Refuse(INVALID_HANDLE_VALUE, ERROR_FILE_NOT_FOUND);
    }
    static const Entry dot{".", FILE_ATTRIBUTE_DIRECTORY, {}},
        dotdot{"..", FILE_ATTRIBUTE_DIRECTORY, {}};
    std::vector<const Entry*> listing = {&dot, &dotdot};
    for (const Entry& entry : files) {
      if (entry.path.substr(0, entry.path.find_last_of('\\')) == folder) listing.push_back(&entry);
    }
    const HANDLE find = Open(Kind::Find, folder, 0, std::move(listing));
    Handle& h = handles_[find];
    const Entry* first = h.listing[h.offset++];
    data->dwFileAttributes = first->attributes;
    std::snprintf(data->cFileName, sizeof data->cFileName, "%s", first->path.c_str());
    return find;
  }
  BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) override {
    if (Fails(Op::FindNextFileA) || !Is(find, Kind::Find)) return Refuse(0, ERROR_INVALID_HANDLE);
    Handle& h = handles_[find];
    if (h.offset >= h.listing.size()) return Refuse(0, 18);  // ERROR_NO_MORE_FILES
    const Entry* entry = h.listing[h.offset++];
    data->dwFileAttributes = entry->attributes;
    std::snprintf(data->cFileName, sizeof data->cFileName, "%s",
                  entry->path.substr(entry->path.find_last_of('\\') + 1).c_str());
    return 1;
  }
  BOOL FindClose(HANDLE find) override {
    if (Fails(Op::FindClose)) return Refuse(0, ERROR_INVALID_HANDLE);
    return Close(find, Kind::Find);
  }
  HANDLE CreateFileA(const std::string& path, DWORD, DWORD, const SECURITY_ATTRIBUTES*,
                     DWORD disposition, DWORD, HANDLE) override {
    log.push_back("file-open " + path);
    const Entry* entry = Find(path);
    if (Fails(Op::CreateFileA)) return Refuse(INVALID_HANDLE_VALUE, ERROR_SHARING_VIOLATION);
    if (disposition == CREATE_NEW) {
      if (entry) return Refuse(INVALID_HANDLE_VALUE, 80);  // ERROR_FILE_EXISTS
      AddFile(path);
    } else if (!entry || (entry->attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return Refuse(INVALID_HANDLE_VALUE, ERROR_FILE_NOT_FOUND);
    }
    return Open(Kind::File, path);
  }
  BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, void*) override {
    *read = 0;
    if (Fails(Op::ReadFile) || !Is(file, Kind::File)) return Refuse(0, ERROR_INVALID_HANDLE);
    Handle& h = handles_[file];
    const std::string& content = Find(h.name)->content;
    *read =
        static_cast<DWORD>(std::min<std::size_t>({toRead, readPiece, content.size() - h.offset}));
    std::memcpy(buffer, content.data() + h.offset, *read);
    h.offset += *read;
    bytesRead += *read;
    return 1;
  }
  BOOL WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written, void*) override {
    *written = 0;
    if (Fails(Op::WriteFile) || !Is(file, Kind::File)) return Refuse(0, ERROR_ACCESS_DENIED);
    const_cast<Entry*>(Find(handles_[file].name))
        ->content.append(static_cast<const char*>(buffer), toWrite);
    *written = toWrite;
    return 1;
  }
  DWORD WaitForSingleObject(HANDLE object, DWORD) override {
    log.push_back("wait");
    if (Fails(Op::WaitForSingleObject) || !Is(object, Kind::Process)) return 0xFFFFFFFF;
    return shellEndsOnClose ? 0 : 0x102;  // WAIT_TIMEOUT
  }
  BOOL TerminateProcess(HANDLE process, UINT) override {
    log.push_back("terminate");
    if (Fails(Op::TerminateProcess) || !Is(process, Kind::Process)) return 0;
    shellEndsOnClose = true;
    return 1;
  }
  BOOL DeleteFileA(const std::string& path) override {
    log.push_back("file-delete " + path);
    if (Fails(Op::DeleteFileA) || !Find(path)) return Refuse(0, ERROR_FILE_NOT_FOUND);
    RemoveFile(path);
    return 1;
  }
  std::size_t bytesRead = 0;
  void GlobalMemoryStatus(MEMORYSTATUS* status) override {
    log.push_back("memory-status");
    *status = MEMORYSTATUS{status->dwLength,      memory.dwMemoryLoad,    memory.dwTotalPhys,
                           memory.dwAvailPhys,    memory.dwTotalPageFile, memory.dwAvailPageFile,
                           memory.dwTotalVirtual, memory.dwAvailVirtual};
  }
  void* VirtualAlloc(void*, std::size_t size, DWORD, DWORD) override {
    allocations.push_back(size);
    void* block = Fails(Op::VirtualAlloc) ? nullptr : std::calloc(size, 1);
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
    if (Fails(Op::VirtualFree)) return 0;  // on Windows the block would stay taken
    --liveAllocations;
    return 1;
  }
  int GetDateFormatA(DWORD, DWORD, const void*, const char*, char* buffer, int size) override {
    if (Fails(Op::GetDateFormatA)) return 0;
    return CopyOut(dates_[std::min(dateCalls_++, dates_.size() - 1)], buffer, size);
  }
  int GetTimeFormatA(DWORD, DWORD, const void*, const char*, char* buffer, int size) override {
    if (Fails(Op::GetTimeFormatA)) return 0;
    return CopyOut(times_[std::min(timeCalls_++, times_.size() - 1)], buffer, size);
  }
  BOOL IsDBCSLeadByte(BYTE byte) override {
    return !Fails(Op::IsDBCSLeadByte) && leadBytes.contains(byte);
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
    return Fails(Op::ShellExecuteA) ? 2 : 42;  // SE_ERR_FNF
  }
  HRESULT SHGetSpecialFolderLocation(HWND, int csidl, PIDL* pidl) override {
    *pidl = 0;
    if (Fails(Op::SHGetSpecialFolderLocation) || !specialFolders.contains(csidl)) {
      return static_cast<HRESULT>(0x80004005);  // E_FAIL
    }
    *pidl = Open(Kind::Pidl, specialFolders[csidl]);
    return 0;
  }
  BOOL SHGetPathFromIDListA(PIDL pidl, char* path) override {
    return !Fails(Op::SHGetPathFromIDListA) && Is(pidl, Kind::Pidl) &&
           CopyName(handles_[pidl].name, path, 260);
  }
  void CoTaskMemFree(PIDL pidl) override { Close(pidl, Kind::Pidl); }

  // ---- Menus, windows and messages.
  HWND GetDesktopWindow() override { return Fails(Op::GetDesktopWindow) ? 0 : 0x10010; }
  BOOL GetCursorPos(POINT* point) override {
    if (Fails(Op::GetCursorPos)) return 0;
    *point = cursor;
    return 1;
  }
  BOOL SetForegroundWindow(HWND) override {
    log.push_back("foreground");
    return !Fails(Op::SetForegroundWindow);
  }
  HMENU CreatePopupMenu() override {
    if (Fails(Op::CreatePopupMenu)) return Refuse(0, ERROR_NOT_ENOUGH_MEMORY);
    menus[nextHandle_];
    return Open(Kind::Menu, "menu");
  }
  BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, std::uintptr_t id,
                   const char* text) override {
    if (Fails(Op::InsertMenuA)) return Refuse(0, ERROR_NOT_ENOUGH_MEMORY);
    if (!Is(menu, Kind::Menu)) return Refuse(0, 1401);  // ERROR_INVALID_MENU_HANDLE
    auto& items = menus[menu].items;                    // by position: past the end appends
    items.insert(items.begin() + std::min<std::size_t>(position, items.size()),
                 {flags, id, text ? text : ""});
    return 1;
  }
  BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND, const RECT*) override {
    char entry[64];
    std::snprintf(entry, sizeof entry, "track %d,%d flags=%#x", x, y, flags);
    log.push_back(entry);
    trackedMenus.push_back(menu);
    if (Fails(Op::TrackPopupMenu)) return 0;
    return onTrackPopupMenu ? static_cast<BOOL>(onTrackPopupMenu(menu)) : 0;
  }
  BOOL DestroyMenu(HMENU menu) override {
    if (Fails(Op::DestroyMenu) || !Close(menu, Kind::Menu)) return 0;
    for (const FakeMenuItem& item : menus[menu].items) {
      if (item.flags & MF_POPUP) DestroyMenu(item.id);
    }
    return 1;
  }
  int MessageBoxA(HWND owner, const std::string& text, const std::string& caption,
                  UINT type) override {
    log.push_back("msgbox " + caption + " | " + text + " | style=" + std::to_string(type) +
                  (owner ? " owner=" + std::to_string(owner) : ""));
    if (Fails(Op::MessageBoxA)) return 0;
    if (onMessageBox) onMessageBox();
    return 1;  // IDOK
  }
  BOOL PeekMessageA(MSG*, HWND, UINT, UINT, UINT) override {
    ++messagePasses;
    Fails(Op::PeekMessageA);  // failing or not: no message waits
    if (onProcessMessages) onProcessMessages();
    return 0;
  }
  BOOL TranslateMessage(const MSG*) override { return !Fails(Op::TranslateMessage); }
  LPARAM DispatchMessageA(const MSG*) override { return Fails(Op::DispatchMessageA), 0; }
  void PostQuitMessage(int) override { log.push_back("quit"); }
  BOOL PostMessageA(HWND, UINT message, WPARAM, LPARAM) override {
    log.push_back(message == WM_NULL ? "post WM_NULL" : "post " + std::to_string(message));
    return !Fails(Op::PostMessageA);
  }
  HWND FindWindowA(const char* className, const char*) override {
    const auto found = windowsByClass.find(className);
    return Fails(Op::FindWindowA) || found == windowsByClass.end() ? 0 : found->second;
  }
  DWORD GetWindowThreadProcessId(HWND, DWORD* id) override {
    *id = Fails(Op::GetWindowThreadProcessId) ? 0 : kShellProcess;
    return 1;
  }
  BOOL GetOpenFileNameA(OPENFILENAMEA* dialog) override {
    log.push_back("open-dialog " + std::string(dialog->lpstrTitle));
    if (Fails(Op::GetOpenFileNameA) || !openDialogPick) return 0;
    std::snprintf(dialog->lpstrFile, dialog->nMaxFile, "%s", openDialogPick->c_str());
    return 1;
  }

 private:
  struct Handle {
    Kind kind;
    std::string name;  // the key, file, folder or mutex it stands for
    DWORD access = 0;
    std::vector<const Entry*> listing = {};  // a find handle's entries
    std::size_t offset = 0;                  // the next entry or byte
  };
  static constexpr HMODULE kShell32 = 0x7000;
  static constexpr DWORD kShellProcess = 77;  // a running Ludora, seen from a companion

  static std::string RootName(HKEY root) {
    static const std::map<HKEY, std::string> roots = {
        {HKCR, "HKCR"}, {HKCU, "HKCU"}, {HKLM, "HKLM"}, {HKU, "HKU"}};
    return roots.at(root);
  }
  static std::string Rendered(DWORD type, const BYTE* data, DWORD size) {
    if (type == REG_DWORD && size == 4) {
      return "REG_DWORD " +
             std::to_string(data[0] | data[1] << 8 | data[2] << 16 | DWORD{data[3]} << 24);
    }
    if (type == REG_SZ)
      return "REG_SZ " + std::string(reinterpret_cast<const char*>(data),
                                     strnlen(reinterpret_cast<const char*>(data), size));
    std::string text = std::to_string(type);
    char hex[4];
    for (DWORD i = 0; i < size; ++i)
      text += (std::snprintf(hex, sizeof hex, " %02x", data[i]), hex);
    return text;
  }

  bool Fails(Op op) {
    const int call = ++calls[op];
    return failing.contains(op) || failingCall == std::pair{op, call};
  }
  template <typename T>
  T Refuse(T value, DWORD error) {
    lastError_ = error;
    return value;
  }
  // A new handle; all or nothing, should an allocation fail.
  HANDLE Open(Kind kind, const std::string& name, DWORD access = 0,
              std::vector<const Entry*> listing = {}) {
    handles_.emplace(nextHandle_, Handle{kind, name, access, std::move(listing)});
    return nextHandle_++;
  }
  bool Is(HANDLE handle, Kind kind) const {
    const auto found = handles_.find(handle);
    return found != handles_.end() && found->second.kind == kind;
  }
  bool Close(HANDLE handle, Kind kind) { return Is(handle, kind) && handles_.erase(handle); }
  static void LUDORA_WINAPI ShutDownDialog(HWND) { current_->log.push_back("shutdown-dialog"); }
  static std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), ::tolower);
    return text;
  }
  const Entry* Find(std::string path) const {
    while (path.ends_with('\\')) path.pop_back();
    const auto found = std::find_if(files.begin(), files.end(), [&](const Entry& e) {
      return strcasecmp(e.path.c_str(), path.c_str()) == 0;
    });
    return found == files.end() ? nullptr : &*found;
  }
  static int CopyOut(const std::string& text, char* buffer, int size) {
    return size > static_cast<int>(text.size()) ? CopyName(text, buffer, size) + 1 : 0;
  }
  static DWORD CopyName(const std::string& text, char* buffer, DWORD size) {
    return static_cast<DWORD>(std::snprintf(buffer, size, "%s", text.c_str()));
  }

  inline static FakeWindows* current_ = nullptr;
  DWORD lastError_ = 0;
  std::uintptr_t nextHandle_ = 0x1000;
  std::map<HANDLE, Handle> handles_;  // every handle given out and not given back
  std::vector<std::string> dates_ = {"Friday, December 04, 2026"};
  std::vector<std::string> times_ = {"5:30:25 PM"};
  std::size_t dateCalls_ = 0;
  std::size_t timeCalls_ = 0;
};

}  // namespace ludora::testing
