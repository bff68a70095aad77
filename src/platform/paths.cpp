#include "platform/paths.h"

#include <optional>
#include <vector>

namespace ludora {

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string AsWorkingFolder(const std::string& folder) {
  return folder.size() == 2 && folder[1] == ':' ? folder + "\\" : folder;
}

namespace {

// What a path query of Windows' writes in a buffer, which it may ask to be
// larger; nothing when it cannot say.
template <typename Query>
std::optional<std::string> AskForPath(const Query& query) {
  std::vector<char> buffer(256);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const auto size = static_cast<DWORD>(buffer.size());
    const DWORD length = query(buffer.data(), size);
    if (length == 0) break;
    if (length < size) return std::string(buffer.data(), length);
    buffer.resize(length);  // too small: Windows asked for this much, NUL included
  }
  return std::nullopt;
}

}  // namespace

std::string LongPathOf(WindowsApi& api, const std::string& path) {
  return AskForPath(
             [&](char* buffer, DWORD size) { return api.GetLongPathNameA(path, buffer, size); })
      .value_or(path);
}

std::string ShortPathOf(WindowsApi& api, const std::string& path) {
  return AskForPath(
             [&](char* buffer, DWORD size) { return api.GetShortPathNameA(path, buffer, size); })
      .value_or("");
}

std::string ProgramFolder(WindowsApi& api) {
  char path[1024] = {};
  const DWORD length = api.GetModuleFileNameA(0, path, sizeof path);
  if (length == 0 || length >= sizeof path) return {};
  return FolderOf(LongPathOf(api, std::string(path, length)));
}

}  // namespace ludora
