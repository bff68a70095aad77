#include "parlour/file_bytes.h"

#include <cstring>

#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora::parlour {

namespace {

constexpr DWORD kHidden = 0x2, kReparsePoint = 0x400, kNoAttributes = 0xFFFFFFFFu;

}  // namespace

std::optional<std::vector<BYTE>> ReadFileBytes(WindowsApi& api, const std::string& path,
                                               std::size_t limit) {
  const ScopedFile file(api, api.CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, 0));
  if (!file) return std::nullopt;
  std::vector<BYTE> bytes;
  for (;;) {
    const std::size_t had = bytes.size();
    bytes.resize(had + 16 * 1024);
    DWORD read = 0;
    if (!api.ReadFile(file.get(), bytes.data() + had, 16 * 1024, &read, nullptr))
      return std::nullopt;
    bytes.resize(had + read);
    if (bytes.size() > limit) return std::nullopt;
    if (read < 16 * 1024) return bytes;  // a file's read comes short only at its end
  }
}

void WalkFiles(WindowsApi& api, const std::string& folder, int depth, std::size_t& budget,
               const std::function<void(const std::string&, const std::string&)>& visit) {
  std::vector<std::string> subfolders;
  {
    WIN32_FIND_DATAA found;
    const ScopedFind find(api, api.FindFirstFileA(folder + "\\*", &found));
    if (!find) return;
    do {
      if (budget == 0) return;
      --budget;
      const std::string name(found.cFileName, strnlen(found.cFileName, sizeof found.cFileName));
      if (name == "." || name == "..") continue;
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        visit(folder + "\\" + name, name);
      } else if (depth > 0 && !(found.dwFileAttributes & (kHidden | kReparsePoint))) {
        subfolders.push_back(name);
      }
    } while (api.FindNextFileA(find.get(), &found));
  }
  for (const std::string& name : subfolders)
    WalkFiles(api, folder + "\\" + name, depth - 1, budget, visit);
}

std::string SpecialFolder(WindowsApi& api, int csidl) {
  ScopedPidl pidl(api);
  if (api.SHGetSpecialFolderLocation(0, csidl, pidl.out()) != 0) return {};
  char path[260] = {};
  if (!api.SHGetPathFromIDListA(pidl.get(), path)) return {};
  return std::string(path, strnlen(path, sizeof path));
}

bool Exists(WindowsApi& api, const std::string& path) {
  return !path.empty() && api.GetFileAttributesA(path) != kNoAttributes;
}

}  // namespace ludora::parlour
