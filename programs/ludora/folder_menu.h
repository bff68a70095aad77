// Cascading popup menus built from folder trees: every plain subfolder is a
// submenu, every file an entry; the pick is opened through the shell. The
// tree is read afresh on every click and the menu destroyed after it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/windows_api.h"

namespace ludora {

inline constexpr std::int16_t kGamesFolderSelector = 99;
inline constexpr UINT kFirstFileItemId = 1101;

// What one menu may hold, so that no folder tree (tens of thousands of
// folders, a link that loops back to its parent) can take the window
// manager's objects from the shell and the games, or take minutes to read.
// Windows XP gives a process 10,000 window-manager objects; each submenu is
// one. The scan stops where the budget ends: the menu shows what it got.
inline constexpr std::size_t kMaxSubmenus = 2048;
inline constexpr std::size_t kMaxFileEntries = 16384;

// The one build state of the program, valid until the next build.
struct FolderMenuState {
  std::string rootPath;
  std::vector<std::string> items;  // full path of the file entry with id 1101 + position
  bool busy = false;               // a menu is being built, shown or launched
};

struct FolderMenuContext {
  WindowsApi& api;
  FolderMenuState& state;
  std::string appFolder;
  // Asked at launch time: is a raised performance mode on?
  std::function<bool()> raisedMode;
};

// Builds, shows at the mouse position, launches the pick, destroys. A call
// that arrives while another is under way (through the message pass of the
// scan) is ignored.
void ShowFolderMenu(FolderMenuContext& context, HWND owner, std::int16_t selector);

// The file-system path of a special folder, without a trailing "\"; empty
// when the shell cannot resolve it.
std::string GetSpecialFolderPath(WindowsApi& api, int csidl);

// Whether the file can be opened for reading.
bool FileExists(WindowsApi& api, const std::string& path);

void LaunchMenuFile(FolderMenuContext& context, const std::string& path);

}  // namespace ludora
