// The games list is the folder "games" in the application folder; these are
// the two quick-menu commands that serve it (its popup is a folder menu).
#pragma once

#include <string>

#include "platform/windows_api.h"

namespace ludora {

std::string GamesFolder(const std::string& appFolder);

// Windows' new-shortcut wizard, making the shortcut in the games folder.
void AddGameShortcut(WindowsApi& api, const std::string& appFolder);
// The games folder in a folder window.
void ManageGamesList(WindowsApi& api, const std::string& appFolder);

}  // namespace ludora
