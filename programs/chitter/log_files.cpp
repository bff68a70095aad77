#include "chitter/log_files.h"

#include <algorithm>

namespace ludora::win32 {

LogFiles::~LogFiles() {
  for (const OpenFile& open : open_) ::CloseHandle(open.file);
}

HANDLE LogFiles::Open(const std::string& path) {
  const auto found = std::ranges::find(open_, path, &OpenFile::path);
  if (found != open_.end()) {
    std::rotate(found, found + 1, open_.end());
    return open_.back().file;
  }
  // Each folder on the way, from the one after the drive.
  for (auto slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
    ::CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return file;
  ::SetFilePointer(file, 0, nullptr, FILE_END);
  if (open_.size() == kKeptOpen) {
    ::CloseHandle(open_.front().file);
    open_.erase(open_.begin());
  }
  open_.push_back({path, file});
  return file;
}

void LogFiles::Append(const std::string& path, const std::string& text) {
  const HANDLE file = Open(path);
  DWORD written = 0;
  if (file != INVALID_HANDLE_VALUE)
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace ludora::win32
