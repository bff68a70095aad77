// The folder tree of the in-memory Windows, in the order the file system
// enumerates it.
#pragma once

#include <string>
#include <vector>

#include "platform/win_types.h"

namespace ludora::testing {

class FakeFiles {
 public:
  struct Entry {
    std::string path;  // full path, no trailing backslash
    DWORD attributes = 0;
    std::string content;
  };
  std::vector<Entry> files;
  DWORD readPiece = 1 << 30;  // ReadFile hands over at most this much at a time
  std::size_t bytesRead = 0;
  bool moveFileEx = true;  // false: MoveFileExA fails as on Windows 98

  void AddFolder(const std::string& path, DWORD attributes = 0x10) {
    files.push_back({path, attributes, {}});
  }
  void AddFile(const std::string& path, const std::string& content = "", DWORD attributes = 0x20) {
    files.push_back({path, attributes, content});
  }
  void RemoveFile(const std::string& path);

 protected:
  Entry* Find(std::string path);
};

}  // namespace ludora::testing
