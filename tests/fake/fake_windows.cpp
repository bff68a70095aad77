#include "fake/fake_windows.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "platform/win_constants.h"

namespace ludora::testing {

namespace {

constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr DWORD PROCESS_SET_INFORMATION = 0x200;

std::string RootName(HKEY root) {
  switch (root) {
    case HKCR:
      return "HKCR";
    case HKCU:
      return "HKCU";
    case HKLM:
      return "HKLM";
    case HKU:
      return "HKU";
  }
  return {};
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && Lower(text.substr(0, prefix.size())) == Lower(prefix);
}

std::string ParentOf(const std::string& path) {
  const auto slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int CopyOut(const std::string& text, char* buffer, int size) {
  if (size <= static_cast<int>(text.size())) return 0;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<int>(text.size() + 1);
}

}  // namespace

bool NoCase::operator()(const std::string& a, const std::string& b) const {
  return strcasecmp(a.c_str(), b.c_str()) < 0;
}

std::string RegValue::AsString() const {
  std::string text(data.begin(), data.end());
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

DWORD RegValue::AsDword() const {
  if (data.size() != 4) return 0xDEADBEEF;
  return data[0] | data[1] << 8 | data[2] << 16 | static_cast<DWORD>(data[3]) << 24;
}

std::vector<std::string> FakeWindows::Effects(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& entry : log) {
    if (entry.rfind(prefix, 0) == 0) found.push_back(entry);
  }
  return found;
}

std::optional<RegValue> FakeWindows::Value(const std::string& key, const std::string& name) const {
  const auto k = registry.find(key);
  if (k == registry.end()) return std::nullopt;
  const auto v = k->second.find(name);
  if (v == k->second.end()) return std::nullopt;
  return v->second;
}

// ---- Registry and profile files.

bool FakeWindows::KeyRefused(const std::string& key) const {
  return std::any_of(refusedKeys.begin(), refusedKeys.end(),
                     [&](const std::string& refused) { return StartsWithNoCase(key, refused); });
}

LONG FakeWindows::RegCreateKeyA(HKEY root, const std::string& subKey, HKEY* result) {
  const std::string key = RootName(root) + "\\" + subKey;
  if (RootName(root).empty() || KeyRefused(key)) {
    *result = 0;
    return ERROR_ACCESS_DENIED;
  }
  // Every missing key on the way is created.
  for (std::size_t at = key.find('\\'); at != std::string::npos; at = key.find('\\', at + 1)) {
    registry[key.substr(0, at)];
  }
  registry[key];
  *result = nextHandle_++;
  openKeys_[*result] = key;
  return ERROR_SUCCESS;
}

LONG FakeWindows::RegSetValueExA(HKEY key, const std::string& valueName, DWORD, DWORD type,
                                 const BYTE* data, DWORD size) {
  const auto open = openKeys_.find(key);
  if (open == openKeys_.end()) return ERROR_INVALID_HANDLE;
  RegValue value{type, std::vector<BYTE>(data, data + size)};
  std::string entry = "reg " + open->second + " [" + valueName + "] ";
  entry += type == REG_DWORD ? "REG_DWORD " + std::to_string(value.AsDword())
                             : "REG_SZ " + value.AsString();
  log.push_back(entry);
  registry[open->second][valueName] = std::move(value);
  return ERROR_SUCCESS;
}

LONG FakeWindows::RegCloseKey(HKEY key) {
  return openKeys_.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

BOOL FakeWindows::WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                             const std::string& value,
                                             const std::string& fileName) {
  if (iniRefused) return 0;
  log.push_back("ini " + fileName + " [" + section + "] " + key + "=" + value);
  return 1;
}

// ---- Version, process, thread.

BOOL FakeWindows::GetVersionExA(OSVERSIONINFOA* info) {
  if (!platformId || info->dwOSVersionInfoSize != 148) return 0;
  info->dwPlatformId = *platformId;
  return 1;
}

HANDLE FakeWindows::OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId) {
  log.push_back("open-process pid=" + std::to_string(processId) + " access=" +
                std::to_string(desiredAccess) + " inherit=" + std::to_string(inheritHandle));
  if (processOpenRefused || processId != GetCurrentProcessId()) return 0;
  const HANDLE process = nextHandle_++;
  handles_[process] = "process access=" + std::to_string(desiredAccess);
  return process;
}

BOOL FakeWindows::SetPriorityClass(HANDLE process, DWORD newClass) {
  log.push_back("priority-class " + std::to_string(newClass));
  const auto handle = handles_.find(process);
  if (handle == handles_.end()) return 0;
  // The NT family checks the handle's access rights; the older platforms do not.
  const bool nt = platformId == VER_PLATFORM_WIN32_NT;
  const DWORD access = std::stoul(handle->second.substr(handle->second.find('=') + 1));
  if (nt && !(access & PROCESS_SET_INFORMATION)) return 0;
  priorityClass = newClass;
  return 1;
}

BOOL FakeWindows::CloseHandle(HANDLE object) {
  if (openFiles_.erase(object)) {
    --openFileHandles;
    return 1;
  }
  return handles_.erase(object) ? 1 : 0;
}

BOOL FakeWindows::SetThreadPriority(HANDLE thread, int priority) {
  const auto handle = static_cast<std::intptr_t>(thread);
  threadPriorityHandles.push_back(handle);
  log.push_back("thread-priority " + std::to_string(handle) + " " + std::to_string(priority));
  if (handle != -2) return 0;  // the current-thread pseudo-handle; no other thread exists here
  currentThreadPriority = priority;
  return 1;
}

HANDLE FakeWindows::CreateMutexA(BOOL, const std::string& name) {
  const HANDLE mutex = nextHandle_++;
  handles_[mutex] = "mutex " + name;
  log.push_back("mutex " + name);
  lastError_ = otherInstanceRunning ? ERROR_ALREADY_EXISTS : 0;
  return mutex;
}

BOOL FakeWindows::CreateProcessA(const char* applicationName, const std::string& commandLine,
                                 DWORD creationFlags, const char* currentDirectory, WORD showWindow,
                                 ProcessHandles* started) {
  std::string entry = "run " + commandLine + " show=" + std::to_string(showWindow);
  if (applicationName) entry += " app=" + std::string(applicationName);
  if (creationFlags) entry += " flags=" + std::to_string(creationFlags);
  if (currentDirectory) entry += " dir=" + std::string(currentDirectory);
  log.push_back(entry);
  if (started) {
    started->process = nextHandle_++;
    handles_[started->process] = "process access=" + std::to_string(0x1F0FFF);
    started->thread = nextHandle_++;
    handles_[started->thread] = "thread";
  }
  return 1;
}

DWORD FakeWindows::ResumeThread(HANDLE thread) {
  if (!handles_.contains(thread)) return static_cast<DWORD>(-1);
  log.push_back("resume-thread");
  return 1;
}

// ---- Paths, files, memory.

DWORD FakeWindows::GetModuleFileNameA(char* fileName, DWORD size) {
  const DWORD length = static_cast<DWORD>(std::min<std::size_t>(modulePath.size(), size - 1));
  std::memcpy(fileName, modulePath.data(), length);
  fileName[length] = '\0';
  return length;
}

DWORD FakeWindows::GetShortPathNameA(const std::string& longPath, char* shortPath, DWORD size) {
  const auto mapped = shortPaths.find(longPath);
  const std::string result = mapped == shortPaths.end() ? longPath : mapped->second;
  if (result.empty()) return 0;
  // Too small a buffer: Windows writes nothing and asks for the size it needs.
  if (size <= result.size()) return static_cast<DWORD>(result.size() + 1);
  std::memcpy(shortPath, result.c_str(), result.size() + 1);
  return static_cast<DWORD>(result.size());
}

void FakeWindows::AddFolder(const std::string& path, DWORD attributes) {
  files.push_back({path, attributes, {}});
}

void FakeWindows::AddFile(const std::string& path, const std::string& content, DWORD attributes) {
  files.push_back({path, attributes, content});
}

void FakeWindows::RemoveFile(const std::string& path) {
  std::erase_if(files, [&](const Entry& e) { return Lower(e.path) == Lower(path); });
}

const FakeWindows::Entry* FakeWindows::Find(const std::string& path) const {
  std::string wanted = path;
  while (!wanted.empty() && wanted.back() == '\\') wanted.pop_back();
  for (const Entry& entry : files) {
    if (Lower(entry.path) == Lower(wanted)) return &entry;
  }
  return nullptr;
}

HANDLE FakeWindows::FindFirstFileA(const std::string& pattern, WIN32_FIND_DATAA* data) {
  if (pattern.size() < 2 || pattern.substr(pattern.size() - 2) != "\\*")
    return INVALID_HANDLE_VALUE;
  const std::string folder = pattern.substr(0, pattern.size() - 2);
  const Entry* self = Find(folder);
  if (!self || !(self->attributes & FILE_ATTRIBUTE_DIRECTORY)) return INVALID_HANDLE_VALUE;
  Listing listing;
  static const Entry dot{".", FILE_ATTRIBUTE_DIRECTORY, {}};
  static const Entry dotdot{"..", FILE_ATTRIBUTE_DIRECTORY, {}};
  listing.entries = {&dot, &dotdot};
  for (const Entry& entry : files) {
    if (Lower(ParentOf(entry.path)) == Lower(folder)) listing.entries.push_back(&entry);
  }
  const HANDLE find = nextHandle_++;
  finds_[find] = std::move(listing);
  ++openFinds;
  FindNextFileA(find, data);
  return find;
}

BOOL FakeWindows::FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) {
  const auto it = finds_.find(find);
  if (it == finds_.end() || it->second.next >= it->second.entries.size()) return 0;
  const Entry* entry = it->second.entries[it->second.next++];
  data->dwFileAttributes = entry->attributes;
  const std::string name = NameOf(entry->path);
  std::snprintf(data->cFileName, sizeof data->cFileName, "%s", name.c_str());
  return 1;
}

BOOL FakeWindows::FindClose(HANDLE find) {
  if (!finds_.erase(find)) return 0;
  --openFinds;
  return 1;
}

DWORD FakeWindows::GetFileAttributesA(const std::string& path) {
  const Entry* entry = Find(path);
  return entry ? entry->attributes : INVALID_FILE_ATTRIBUTES;
}

HANDLE FakeWindows::CreateFileA(const std::string& path, DWORD, DWORD, DWORD, DWORD) {
  log.push_back("file-open " + path);
  const Entry* entry = Find(path);
  if (!entry || (entry->attributes & FILE_ATTRIBUTE_DIRECTORY)) return INVALID_HANDLE_VALUE;
  const HANDLE file = nextHandle_++;
  openFiles_[file] = {entry->content, 0};
  ++openFileHandles;
  return file;
}

BOOL FakeWindows::ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read) {
  const auto it = openFiles_.find(file);
  if (it == openFiles_.end()) return 0;
  OpenFile& open = it->second;
  const std::size_t count = std::min<std::size_t>(toRead, open.content.size() - open.offset);
  std::memcpy(buffer, open.content.data() + open.offset, count);
  open.offset += count;
  *read = static_cast<DWORD>(count);
  return 1;
}

void FakeWindows::GlobalMemoryStatus(MEMORYSTATUS* status) {
  log.push_back("memory-status");
  const DWORD length = status->dwLength;
  *status = memory;
  status->dwLength = length;
}

void* FakeWindows::VirtualAlloc(void*, std::size_t size, DWORD, DWORD) {
  allocations.push_back(size);
  if (allocationsFail) return nullptr;
  void* block = std::calloc(size, 1);
  if (block) ++liveAllocations;
  return block;
}

BOOL FakeWindows::VirtualFree(void* address, std::size_t, DWORD) {
  if (!address) return 0;
  const std::size_t size = allocations.back();
  const auto* bytes = static_cast<const unsigned char*>(address);
  bool spaces = size % 2 == 0;
  for (std::size_t i = 0; spaces && i < size; i += 2) spaces = bytes[i] == ' ' && bytes[i + 1] == 0;
  lastBufferAllSpaces = spaces;
  std::free(address);
  --liveAllocations;
  return 1;
}

void FakeWindows::SetClock(std::vector<std::string> dateTexts, std::vector<std::string> timeTexts) {
  dates_ = std::move(dateTexts);
  times_ = std::move(timeTexts);
  dateCalls_ = timeCalls_ = 0;
}

int FakeWindows::GetDateFormatA(DWORD, DWORD, char* buffer, int size) {
  const std::string& date = dates_[std::min(dateCalls_++, dates_.size() - 1)];
  return CopyOut(date, buffer, size);
}

int FakeWindows::GetTimeFormatA(DWORD, DWORD, char* buffer, int size) {
  const std::string& time = times_[std::min(timeCalls_++, times_.size() - 1)];
  return CopyOut(time, buffer, size);
}

// ---- Shell.

std::intptr_t FakeWindows::ShellExecuteA(HWND, const char* operation, const std::string& file,
                                         const char* parameters, const char* directory,
                                         int showCmd) {
  std::string entry = "open " + file;
  if (parameters) entry += " | " + std::string(parameters);
  if (operation) entry += " verb=" + std::string(operation);
  if (directory) entry += " dir=" + std::string(directory);
  if (showCmd != SW_SHOWNORMAL) entry += " show=" + std::to_string(showCmd);
  log.push_back(entry);
  return 42;
}

HRESULT FakeWindows::SHGetSpecialFolderLocation(HWND, int csidl, PIDL* pidl) {
  const auto folder = specialFolders.find(csidl);
  if (folder == specialFolders.end()) return static_cast<HRESULT>(0x80004005);  // E_FAIL
  *pidl = nextHandle_++;
  pidls_[*pidl] = folder->second;
  return 0;
}

BOOL FakeWindows::SHGetPathFromIDListA(PIDL pidl, char* path) {
  const auto it = pidls_.find(pidl);
  if (it == pidls_.end() || it->second.size() >= 260) return 0;
  std::memcpy(path, it->second.c_str(), it->second.size() + 1);
  return 1;
}

void FakeWindows::CoTaskMemFree(PIDL pidl) {
  pidls_.erase(pidl);
}

BOOL FakeWindows::ExitWindowsDialog(HWND) {
  if (!hasShutdownDialog) return 0;
  log.push_back("shutdown-dialog");
  return 1;
}

// ---- Menus and windows.

BOOL FakeWindows::GetCursorPos(POINT* point) {
  *point = cursor;
  return 1;
}

BOOL FakeWindows::SetForegroundWindow(HWND) {
  return 1;
}

HMENU FakeWindows::CreatePopupMenu() {
  const HMENU menu = nextHandle_++;
  menus[menu];
  return menu;
}

BOOL FakeWindows::InsertMenuA(HMENU menu, UINT position, UINT flags, std::uintptr_t idNewItem,
                              const char* text) {
  const auto it = menus.find(menu);
  if (it == menus.end() || it->second.destroyed) return 0;
  auto& items = it->second.items;
  FakeMenuItem item{flags, idNewItem, text ? text : ""};
  // By position: a position past the end appends.
  if (position >= items.size()) {
    items.push_back(std::move(item));
  } else {
    items.insert(items.begin() + position, std::move(item));
  }
  return 1;
}

BOOL FakeWindows::TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND, const RECT*) {
  char entry[64];
  std::snprintf(entry, sizeof entry, "track %d,%d flags=%#x", x, y, flags);
  log.push_back(entry);
  trackedMenus.push_back(menu);
  return onTrackPopupMenu ? static_cast<BOOL>(onTrackPopupMenu(menu)) : 0;
}

BOOL FakeWindows::DestroyMenu(HMENU menu) {
  const auto it = menus.find(menu);
  if (it == menus.end() || it->second.destroyed) return 0;
  it->second.destroyed = true;
  for (const FakeMenuItem& item : it->second.items) {
    if (item.flags & MF_POPUP) DestroyMenu(item.id);
  }
  return 1;
}

UINT FakeWindows::FindCommand(HMENU menu, const std::vector<std::string>& captions) const {
  HMENU current = menu;
  for (std::size_t level = 0; level < captions.size(); ++level) {
    const FakeMenu& m = menus.at(current);
    const auto item = std::find_if(m.items.begin(), m.items.end(), [&](const FakeMenuItem& i) {
      return i.text == captions[level] && !(i.flags & MF_SEPARATOR);
    });
    if (item == m.items.end()) return 0;
    if (level + 1 == captions.size())
      return (item->flags & MF_POPUP) ? 0 : static_cast<UINT>(item->id);
    if (!(item->flags & MF_POPUP)) return 0;
    current = item->id;
  }
  return 0;
}

int FakeWindows::MessageBoxA(HWND, const std::string& text, const std::string& caption, UINT type) {
  log.push_back("msgbox " + caption + " | " + text + " | style=" + std::to_string(type));
  if (onMessageBox) onMessageBox();
  return 1;  // IDOK
}

void FakeWindows::ProcessPendingMessages() {
  ++messagePasses;
  if (onProcessMessages) onProcessMessages();
}

BOOL FakeWindows::GetOpenFileNameA(HWND, const std::string& title, const std::string&,
                                   std::string* fileName) {
  log.push_back("open-dialog " + title);
  if (!openDialogPick) return 0;
  *fileName = *openDialogPick;
  return 1;
}

BOOL FakeWindows::GetOwnFileVersion(FileVersion* out) {
  *out = version;
  return 1;
}

}  // namespace ludora::testing
