// The quick menu's personalized shortcuts: read once at start-up from
// `ludora.ini` in the application folder, opened through the shell.
#pragma once

#include <array>
#include <string>

#include "ludora/shortcut_file.h"
#include "ludora/quick_menu.h"
#include "platform/windows_api.h"

namespace ludora {

using ShortcutCommands = std::array<std::string, kMaxShortcuts>;

// How far into `ludora.ini` the reader goes at most: twenty fields of the
// longest kept length fit many times over; what lies past it is not read.
inline constexpr std::size_t kMaxShortcutFileBytes = 1 << 20;

// A caption longer than this is cut, like the folder menus' entries, so the
// quick menu stays on the screen (and clear of a fault of Wine's menus with
// items past 250 characters).
inline constexpr std::size_t kMaxShortcutCaption = 120;

// Adds the file's items to the `menu` array of the quick menu and fills the
// command slots. The file is read in pieces, only as far as the fields
// asked for; a missing or unreadable file adds nothing.
void LoadPersonalShortcuts(WindowsApi& api, const std::string& appFolder, QuickMenu& menu,
                           ShortcutCommands& commands);

// Opens the command of element `index` (1 to 10); an empty slot opens nothing.
void OpenPersonalShortcut(WindowsApi& api, const ShortcutCommands& commands, int index);

}  // namespace ludora
