#include "ludora/personal_shortcuts.h"

#include <algorithm>
#include <vector>

#include "ludora/menu_captions.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora {

void LoadPersonalShortcuts(WindowsApi& api, const std::string& appFolder, QuickMenu& menu,
                           ShortcutCommands& commands) {
  const ScopedFile file(
      api, api.CreateFileA(appFolder + "\\ludora.ini", GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, 0));
  if (!file) return;
  std::vector<char> piece(64 * 1024);
  std::size_t total = 0;
  FieldReader fields([&]() -> std::string_view {
    DWORD read = 0;
    const auto wanted = static_cast<DWORD>(std::min(piece.size(), kMaxShortcutFileBytes - total));
    if (wanted == 0 || !api.ReadFile(file.get(), piece.data(), wanted, &read, nullptr)) return {};
    total += read;
    return {piece.data(), read};
  });
  ShortcutFile parsed = ParseShortcutFile(fields);
  const CaptionRules captions(api);
  for (const PersonalShortcut& shortcut : parsed.items) {
    MenuItem& item = menu.AddArrayItem(QuickItem::menu, shortcut.index);
    item.caption = captions.Shortened(shortcut.caption, kMaxShortcutCaption);
    item.visible = true;
  }
  commands = std::move(parsed.commands);
}

void OpenPersonalShortcut(WindowsApi& api, const ShortcutCommands& commands, int index) {
  if (index < 1 || index > kMaxShortcuts) return;
  const std::string& command = commands[index - 1];
  // An empty file name would have the shell open the current folder.
  if (command.empty()) return;
  api.ShellExecuteA(0, nullptr, command, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace ludora
