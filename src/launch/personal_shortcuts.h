// The quick menu's personalized shortcuts: read once at start-up from
// `ludora.ini` in the application folder, opened through the shell.
#pragma once

#include <array>
#include <string>

#include "launch/shortcut_file.h"
#include "platform/windows_api.h"
#include "shell/quick_menu.h"

namespace ludora {

using ShortcutCommands = std::array<std::string, kMaxShortcuts>;

// Adds the file's items to the `menu` array of the quick menu and fills the
// command slots. A missing or unreadable file adds nothing.
void LoadPersonalShortcuts(WindowsApi& api, const std::string& appFolder, QuickMenu& menu,
                           ShortcutCommands& commands);

// Opens the command of element `index` (1 to 10); an empty slot opens nothing.
void OpenPersonalShortcut(WindowsApi& api, const ShortcutCommands& commands, int index);

// The whole file as bytes; nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(WindowsApi& api, const std::string& path);

}  // namespace ludora
