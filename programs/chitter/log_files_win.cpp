#include "chitter/log_files_win.h"

#include <algorithm>

namespace ludora::win32 {

namespace {

void Write(HANDLE file, std::string& text) {
  DWORD written = 0;
  if (!text.empty())
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  text.clear();
}

}  // namespace

LogFiles::~LogFiles() {
  for (OpenFile& open : open_) {
    Write(open.file, open.unwritten);
    ::CloseHandle(open.file);
  }
}

void LogFiles::Flush() {
  for (OpenFile& open : open_) Write(open.file, open.unwritten);
}

LogFiles::OpenFile* LogFiles::Open(const std::string& path) {
  const auto found = std::ranges::find(open_, path, &OpenFile::path);
  if (found != open_.end()) {
    std::rotate(found, found + 1, open_.end());
    return &open_.back();
  }
  // Each folder on the way, from the one after the drive.
  for (auto slash = path.find('\\', 3); slash != std::string::npos;
       slash = path.find('\\', slash + 1))
    ::CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LONG high = 0;
  const DWORD low = ::SetFilePointer(file, 0, &high, FILE_END);
  const std::uint64_t size = low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR
                                 ? 0
                                 : (std::uint64_t{static_cast<DWORD>(high)} << 32) | low;
  if (open_.size() == kKeptOpen) {
    Write(open_.front().file, open_.front().unwritten);
    ::CloseHandle(open_.front().file);
    open_.erase(open_.begin());
  }
  open_.push_back({path, file, size, {}});
  return &open_.back();
}

std::uint64_t LogFiles::Size(const std::string& path) {
  const OpenFile* open = Open(path);
  return open ? open->size : 0;
}

void LogFiles::Append(const std::string& path, const std::string& text) {
  if (OpenFile* open = Open(path)) {
    open->size += text.size();
    open->unwritten += text;
    if (open->unwritten.size() >= kLargestUnwritten) Write(open->file, open->unwritten);
  }
}

}  // namespace ludora::win32
