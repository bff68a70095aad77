// The log files: lines gathered as they come and written at each tick, a
// few files kept open, the least used closed first; folders made as needed.
#pragma once

#include <string>
#include <vector>

#include "chitter/log_book.h"
#include "win32/win.h"

namespace ludora::win32 {

class LogFiles : public chitter::LogSink {
 public:
  LogFiles() = default;
  ~LogFiles() override;
  LogFiles(const LogFiles&) = delete;
  LogFiles& operator=(const LogFiles&) = delete;
  std::uint64_t Size(const std::string& path) override;
  void Append(const std::string& path, const std::string& text) override;
  void Flush() override;

 private:
  static constexpr std::size_t kKeptOpen = 8, kLargestUnwritten = 65536;
  struct OpenFile {
    std::string path;
    HANDLE file;
    std::uint64_t size;  // on disk when it was opened, and appended since
    std::string unwritten;
  };
  OpenFile* Open(const std::string& path);
  std::vector<OpenFile> open_;  // the latest used last
};

}  // namespace ludora::win32
