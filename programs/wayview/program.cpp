#include "wayview/program.h"

#include <cstring>

#include "platform/paths.h"
#include "platform/scoped.h"
#include "wayview/address.h"
#include "wayview/ini_text.h"

namespace ludora::wayview {

namespace {

constexpr int kCsidlFavorites = 6;
constexpr int kCsidlAppData = 26;
constexpr char kSection[] = "Wayview";

std::string SettingsPath(const std::string& folder) {
  return folder + "\\" + kSettingsFile;
}

}  // namespace

std::string SpecialFolderPath(WindowsApi& api, int csidl) {
  ScopedPidl pidl(api);
  char path[260] = {};
  if (api.SHGetSpecialFolderLocation(0, csidl, pidl.out()) != 0 || !pidl ||
      !api.SHGetPathFromIDListA(pidl.get(), path)) {
    return {};
  }
  std::string folder(path, strnlen(path, sizeof path));
  while (folder.ends_with('\\')) folder.pop_back();
  return folder;
}

Program::Program(WindowsApi& api)
    : api_(api), favoritesFolder_(SpecialFolderPath(api, kCsidlFavorites)) {
  if (const std::string appData = SpecialFolderPath(api, kCsidlAppData); !appData.empty()) {
    settingsFolder_ = appData + "\\" + kSettingsFolder;
  }
  startPage_ = NormaliseAddress(ProgramFolder(api) + "\\" + kStartPageFile, {}).address;
  if (startPage_.empty()) startPage_ = "about:blank";  // Windows could not name the folder
  if (settingsFolder_.empty()) return;
  if (const auto text = ReadReplacedFile(api, SettingsPath(settingsFolder_), kMaxSettingsBytes)) {
    const Normalised home = NormaliseAddress(IniValue(*text, kSection, "Home").value_or(""), {});
    if (home.outcome == Normalised::Go) home_ = home.address;
  }
}

bool Program::SetHome(const std::string& address) {
  home_ = address;
  return !settingsFolder_.empty() &&
         ReplaceFile(api_, SettingsPath(settingsFolder_),
                     std::string("[") + kSection + "]\r\nHome=" + address + "\r\n");
}

}  // namespace ludora::wayview
