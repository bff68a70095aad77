#include "wayview/program.h"

#include "platform/paths.h"
#include "platform/settings_file.h"
#include "wayview/address.h"

namespace ludora::wayview {

namespace {

constexpr int kCsidlFavorites = 6;
constexpr char kSection[] = "Wayview";

std::string SettingsPath(const std::string& folder) {
  return folder + "\\" + kSettingsFile;
}

}  // namespace

Program::Program(WindowsApi& api)
    : api_(api),
      favoritesFolder_(SpecialFolderPath(api, kCsidlFavorites)),
      settingsFolder_(UserSettingsFolder(api)) {
  startPage_ = NormaliseAddress(ProgramFolder(api) + "\\" + kStartPageFile, {}).address;
  if (startPage_.empty()) startPage_ = "about:blank";  // Windows could not name the folder
  if (settingsFolder_.empty()) return;
  if (const auto text = ReadSettingsFile(api, SettingsPath(settingsFolder_), kMaxSettingsBytes)) {
    const Normalised home = NormaliseAddress(IniValue(*text, kSection, "Home").value_or(""), {});
    if (home.outcome == Normalised::Go) home_ = home.address;
  }
}

bool Program::FrameOpens() {
  if (frames_ >= kMaxFrames) return false;
  ++frames_;
  return true;
}

bool Program::SetHome(const std::string& address) {
  home_ = address;
  return !settingsFolder_.empty() &&
         WriteSettingsFile(api_, SettingsPath(settingsFolder_),
                           std::string("[") + kSection + "]\r\nHome=" + address + "\r\n");
}

}  // namespace ludora::wayview
