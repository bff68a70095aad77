// The file operations of the in-memory Windows.
#include "fake/files.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "fake/fake_windows.h"

namespace ludora::testing {

void FakeFiles::RemoveFile(const std::string& path) {
  std::erase_if(files, [&](const Entry& e) { return e.path == path; });
}

FakeFiles::Entry* FakeFiles::Find(std::string path) {
  while (path.ends_with('\\')) path.pop_back();
  const auto found = std::find_if(files.begin(), files.end(), [&](const Entry& e) {
    return strcasecmp(e.path.c_str(), path.c_str()) == 0;
  });
  return found == files.end() ? nullptr : &*found;
}

static void Fill(WIN32_FIND_DATAA* data, const std::string& name, DWORD attributes) {
  data->dwFileAttributes = attributes;
  std::snprintf(data->cFileName, sizeof data->cFileName, "%s", name.c_str());
}

// A listing is taken when the search starts: the folder's own two entries,
// then what it holds.
HANDLE FakeWindows::DoFindFirstFileA(bool failing, const std::string& pattern,
                                     WIN32_FIND_DATAA* data) {
  const std::string folder = pattern.substr(0, pattern.size() - 2);  // without "\*"
  const Entry* self = Find(folder);
  if (failing || !pattern.ends_with("\\*") || !self ||
      !(self->attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return Refuse(kInvalidHandle, ERROR_FILE_NOT_FOUND);
  }
  std::vector<std::string> listing = {".", ".."};
  for (const Entry& entry : files) {
    if (entry.path.substr(0, entry.path.find_last_of('\\')) == folder)
      listing.push_back(entry.path.substr(entry.path.find_last_of('\\') + 1));
  }
  const HANDLE find = Open(Kind::Find, folder, 0, std::move(listing));
  DoFindNextFileA(false, find, data);
  return find;
}

BOOL FakeWindows::DoFindNextFileA(bool failing, HANDLE find, WIN32_FIND_DATAA* data) {
  if (failing || !Is(find, Kind::Find)) return Refuse(0, ERROR_INVALID_HANDLE);
  Handle& search = At(find);
  while (search.offset < search.listing.size()) {
    const std::string& name = search.listing[search.offset++];
    if (name == "." || name == "..") {
      Fill(data, name, FILE_ATTRIBUTE_DIRECTORY);
      return 1;
    }
    if (const Entry* entry = Find(search.name + "\\" + name)) {  // not deleted since
      Fill(data, name, entry->attributes);
      return 1;
    }
  }
  return Refuse(0, ERROR_NO_MORE_FILES);
}

BOOL FakeWindows::DoFindClose(bool failing, HANDLE find) {
  return failing || !Close(find, Kind::Find) ? Refuse(0, ERROR_INVALID_HANDLE) : 1;
}

HANDLE FakeWindows::DoCreateFileA(bool failing, const std::string& path, DWORD, DWORD,
                                  const SECURITY_ATTRIBUTES*, DWORD disposition, DWORD, HANDLE) {
  log.push_back("file-open " + path);
  const Entry* entry = Find(path);
  if (failing) return Refuse(kInvalidHandle, ERROR_SHARING_VIOLATION);
  if (disposition == CREATE_NEW) {
    if (entry) return Refuse(kInvalidHandle, ERROR_FILE_EXISTS);
    AddFile(path);
  } else if (disposition == 2) {  // CREATE_ALWAYS: made anew, or emptied
    RemoveFile(path);
    AddFile(path);
  } else if (!entry || (entry->attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return Refuse(kInvalidHandle, ERROR_FILE_NOT_FOUND);
  }
  return Open(Kind::File, path);
}

BOOL FakeWindows::DoReadFile(bool failing, HANDLE file, void* buffer, DWORD toRead, DWORD* read,
                             void*) {
  *read = 0;
  if (failing || !Is(file, Kind::File)) return Refuse(0, ERROR_INVALID_HANDLE);
  Handle& open = At(file);
  const Entry* entry = Find(open.name);
  if (!entry) return Refuse(0, ERROR_FILE_NOT_FOUND);
  const std::size_t left = entry->content.size() - std::min(open.offset, entry->content.size());
  *read = static_cast<DWORD>(std::min<std::size_t>({toRead, readPiece, left}));
  std::memcpy(buffer, entry->content.data() + open.offset, *read);
  open.offset += *read;
  bytesRead += *read;
  return 1;
}

BOOL FakeWindows::DoWriteFile(bool failing, HANDLE file, const void* buffer, DWORD toWrite,
                              DWORD* written, void*) {
  *written = 0;
  if (failing || !Is(file, Kind::File)) return Refuse(0, ERROR_ACCESS_DENIED);
  Entry* entry = Find(At(file).name);
  if (!entry) return Refuse(0, ERROR_FILE_NOT_FOUND);
  entry->content.append(static_cast<const char*>(buffer), toWrite);
  *written = toWrite;
  return 1;
}

BOOL FakeWindows::DoDeleteFileA(bool failing, const std::string& path) {
  log.push_back("file-delete " + path);
  if (failing || !Find(path)) return Refuse(0, ERROR_FILE_NOT_FOUND);
  RemoveFile(path);
  return 1;
}

BOOL FakeWindows::DoMoveFileA(bool failing, const std::string& from, const std::string& to) {
  log.push_back("file-move " + from + " -> " + to);
  Entry* entry = Find(from);
  if (failing || !entry) return Refuse(0, ERROR_FILE_NOT_FOUND);
  if (Find(to)) return Refuse(0, ERROR_ALREADY_EXISTS);
  entry->path = to;
  return 1;
}

BOOL FakeWindows::DoMoveFileExA(bool failing, const std::string& from, const std::string& to,
                                DWORD flags) {
  log.push_back("file-replace " + from + " -> " + to);
  // Windows 98 has the function only to refuse it.
  if (failing || !moveFileEx || platformId != VER_PLATFORM_WIN32_NT)
    return Refuse(0, ERROR_CALL_NOT_IMPLEMENTED);
  Entry* entry = Find(from);
  if (!entry) return Refuse(0, ERROR_FILE_NOT_FOUND);
  if (Find(to)) {
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) return Refuse(0, ERROR_ALREADY_EXISTS);
    RemoveFile(to);
    entry = Find(from);
  }
  entry->path = to;
  return 1;
}

DWORD FakeWindows::DoGetModuleFileNameA(bool failing, HMODULE, char* name, DWORD size) {
  return failing ? 0 : CopyName(modulePath, name, size);
}

UINT FakeWindows::DoGetSystemDirectoryA(bool failing, char* buffer, UINT size) {
  const char* folder = platformId == 1u ? "C:\\WINDOWS\\SYSTEM" : "C:\\WINDOWS\\system32";
  return failing ? 0 : CopyName(folder, buffer, size);
}

UINT FakeWindows::DoGetWindowsDirectoryA(bool failing, char* buffer, UINT size) {
  return failing ? 0 : CopyName("C:\\WINDOWS", buffer, size);
}

DWORD FakeWindows::DoExpandEnvironmentStringsA(bool failing, const std::string& source,
                                               char* destination, DWORD size) {
  if (failing) return Refuse(0, ERROR_NOT_ENOUGH_MEMORY);
  std::string expanded;
  for (std::size_t at = 0; at < source.size();) {
    const std::size_t close = source[at] == '%' ? source.find('%', at + 1) : std::string::npos;
    std::string name = close == std::string::npos ? "" : source.substr(at + 1, close - at - 1);
    std::transform(name.begin(), name.end(), name.begin(), ::toupper);
    if (const auto value = environment.find(name); !name.empty() && value != environment.end()) {
      expanded += value->second;
      at = close + 1;
    } else {
      expanded += source[at++];
    }
  }
  if (size > expanded.size()) CopyName(expanded, destination, size);
  return static_cast<DWORD>(expanded.size() + 1);
}

// Only the paths they are given map; others are their own short and long
// forms. Too small a buffer: Windows writes nothing and asks for the size it needs.
DWORD FakeWindows::DoGetShortPathNameA(bool failing, const std::string& longPath, char* shortPath,
                                       DWORD size) {
  if (failing) return Refuse(0, ERROR_FILE_NOT_FOUND);
  const auto mapped = shortPaths.find(longPath);
  const std::string& result = mapped == shortPaths.end() ? longPath : mapped->second;
  if (result.empty()) return 0;
  return size <= result.size() ? static_cast<DWORD>(result.size() + 1)
                               : CopyName(result, shortPath, size);
}

DWORD FakeWindows::DoGetLongPathNameA(bool failing, const std::string& shortPath, char* longPath,
                                      DWORD size) {
  if (failing) return Refuse(0, ERROR_FILE_NOT_FOUND);
  const auto mapped = longPaths.find(shortPath);
  const std::string& result = mapped == longPaths.end() ? shortPath : mapped->second;
  return size <= result.size() ? static_cast<DWORD>(result.size() + 1)
                               : CopyName(result, longPath, size);
}

}  // namespace ludora::testing
