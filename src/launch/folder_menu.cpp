#include "launch/folder_menu.h"

#include <cstring>

#include "platform/win_constants.h"
#include "tuning/open_command.h"

namespace ludora {

namespace {

constexpr DWORD FILE_SHARE_WRITE = 0x2;

// Sets the flag for the lifetime of the scope.
class BusyScope {
 public:
  explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyScope() { flag_ = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& flag_;
};

bool IsDotEntry(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

class FolderScan {
 public:
  explicit FolderScan(FolderMenuContext& context)
      : api_(context.api), items_(context.state.items) {}

  // Fills `menu` with the tree under `folder` (which ends in "\"): submenus
  // of the plain subfolders first, then the folder's files. Ids go
  // depth-first, so a subfolder's files are numbered before its parent's.
  void AddFolder(const std::string& folder, HMENU menu) {
    std::vector<std::string> subfolders;
    std::vector<std::string> files;
    List(folder, subfolders, files);
    for (const std::string& name : subfolders) {
      const HMENU submenu = InsertFolderSubmenu(menu, name);
      AddFolder(folder + name + "\\", submenu);
    }
    // Let the window system breathe once per folder of the tree.
    api_.ProcessPendingMessages();
    AddFiles(folder, files, menu);
  }

 private:
  // One listing serves both passes: a kept folder is one whose attributes
  // are exactly FILE_ATTRIBUTE_DIRECTORY (not read-only, hidden, system, a
  // reparse point...); every other non-directory entry is a file, hidden and
  // system files included.
  void List(const std::string& folder, std::vector<std::string>& subfolders,
            std::vector<std::string>& files) {
    WIN32_FIND_DATAA data;
    const HANDLE find = api_.FindFirstFileA(folder + "*", &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
      if (IsDotEntry(data.cFileName)) continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (data.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY)
          subfolders.emplace_back(data.cFileName);
      } else {
        files.emplace_back(data.cFileName);
      }
    } while (api_.FindNextFileA(find, &data));
    api_.FindClose(find);
  }

  void AddFiles(const std::string& folder, const std::vector<std::string>& files, HMENU menu) {
    for (const std::string& name : files) {
      items_.push_back(folder + name);
      const auto id = static_cast<UINT>(kFirstFileItemId - 1 + items_.size());
      // A name shorter than four characters has no caption: its path keeps
      // its number, so later ids stay in step with the table, but no entry.
      if (name.size() < 4) continue;
      InsertFileItem(menu, id, name.substr(0, name.size() - 4));
    }
  }

  HMENU InsertFolderSubmenu(HMENU parent, const std::string& caption) {
    const HMENU submenu = api_.CreatePopupMenu();
    api_.InsertMenuA(parent, static_cast<UINT>(-1), MF_BYPOSITION | MF_POPUP, submenu,
                     MenuCaption(caption).c_str());
    return submenu;
  }

  void InsertFileItem(HMENU menu, UINT id, const std::string& caption) {
    api_.InsertMenuA(menu, static_cast<UINT>(-1), MF_BYPOSITION | MF_STRING, id,
                     MenuCaption(caption).c_str());
  }

  WindowsApi& api_;
  std::vector<std::string>& items_;
};

}  // namespace

std::string MenuCaption(const std::string& text) {
  return text.size() > 49 ? text.substr(0, 47) + "..." : text;
}

std::string GetSpecialFolderPath(WindowsApi& api, int csidl) {
  PIDL pidl = 0;
  if (api.SHGetSpecialFolderLocation(api.GetDesktopWindow(), csidl, &pidl) != 0) return {};
  char path[260] = {};
  const BOOL resolved = api.SHGetPathFromIDListA(pidl, path);
  api.CoTaskMemFree(pidl);
  return resolved ? std::string(path, strnlen(path, sizeof path)) : std::string();
}

bool FileExists(WindowsApi& api, const std::string& path) {
  const HANDLE file = api.CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
  if (file == INVALID_HANDLE_VALUE) return false;
  api.CloseHandle(file);
  return true;
}

void LaunchMenuFile(FolderMenuContext& context, const std::string& path) {
  if (!FileExists(context.api, path)) return;
  LaunchThroughOpenCommand(context.api, context.appFolder, path,
                           context.raisedMode && context.raisedMode());
}

void ShowFolderMenu(FolderMenuContext& context, HWND owner, std::int16_t selector) {
  FolderMenuState& state = context.state;
  if (state.busy) return;
  BusyScope busy(state.busy);
  WindowsApi& api = context.api;

  POINT cursor;
  api.GetCursorPos(&cursor);

  // A folder that cannot be resolved gives an empty menu, never a scan of
  // the drive's root.
  const std::string folder = selector == kGamesFolderSelector ? context.appFolder + "\\games"
                                                              : GetSpecialFolderPath(api, selector);
  state.rootPath = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
  state.items.clear();
  state.rootMenu = api.CreatePopupMenu();
  if (!folder.empty()) FolderScan(context).AddFolder(state.rootPath, state.rootMenu);

  api.SetForegroundWindow(owner);
  const RECT none;
  const auto picked = static_cast<UINT>(api.TrackPopupMenu(
      state.rootMenu, TPM_RETURNCMD | TPM_NONOTIFY, cursor.x, cursor.y, 0, owner, &none));
  if (picked >= kFirstFileItemId && picked - kFirstFileItemId < state.items.size()) {
    LaunchMenuFile(context, state.items[picked - kFirstFileItemId]);
  }
  api.DestroyMenu(state.rootMenu);
  state.rootMenu = 0;
}

}  // namespace ludora
