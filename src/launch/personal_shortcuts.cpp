#include "launch/personal_shortcuts.h"

#include "platform/win_constants.h"

namespace ludora {

std::optional<std::string> ReadWholeFile(WindowsApi& api, const std::string& path) {
  const HANDLE file = api.CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string content;
  char chunk[65536];
  DWORD read = 0;
  while (api.ReadFile(file, chunk, sizeof chunk, &read) && read > 0) content.append(chunk, read);
  api.CloseHandle(file);
  return content;
}

void LoadPersonalShortcuts(WindowsApi& api, const std::string& appFolder, QuickMenu& menu,
                           ShortcutCommands& commands) {
  const auto text = ReadWholeFile(api, appFolder + "\\ludora.ini");
  if (!text) return;
  ShortcutFile file = ParseShortcutFile(*text);
  for (PersonalShortcut& shortcut : file.items) {
    MenuItem& item = menu.AddArrayItem("menu", shortcut.index);
    item.caption = std::move(shortcut.caption);
    item.visible = true;
  }
  commands = std::move(file.commands);
}

void OpenPersonalShortcut(WindowsApi& api, const ShortcutCommands& commands, int index) {
  if (index < 1 || index > kMaxShortcuts) return;
  const std::string& command = commands[index - 1];
  // An empty file name would have the shell open the current folder.
  if (command.empty()) return;
  api.ShellExecuteA(0, nullptr, command, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace ludora
