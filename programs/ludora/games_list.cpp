#include "ludora/games_list.h"

#include "platform/win_constants.h"

namespace ludora {

std::string GamesFolder(const std::string& appFolder) {
  return appFolder + "\\games";
}

void AddGameShortcut(WindowsApi& api, const std::string& appFolder) {
  // The wizard takes the rest of its command line as the folder, blanks and
  // all, so the path goes unquoted.
  const std::string parameters = "AppWiz.Cpl,NewLinkHere " + GamesFolder(appFolder) + "\\";
  api.ShellExecuteA(0, nullptr, "rundll32.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void ManageGamesList(WindowsApi& api, const std::string& appFolder) {
  api.ShellExecuteA(0, nullptr, GamesFolder(appFolder), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace ludora
