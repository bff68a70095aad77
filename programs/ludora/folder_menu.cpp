#include "ludora/folder_menu.h"

#include <cstring>
#include <new>

#include "ludora/games_list.h"
#include "ludora/menu_captions.h"
#include "ludora/popup.h"
#include "platform/resume_next.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"
#include "tuning/open_command.h"

namespace ludora {

namespace {

bool IsDotEntry(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// One pass of message processing: what is waiting is dispatched, then the
// scan goes on. A quit request is put back for the main loop to see.
void DispatchPendingMessages(WindowsApi& api) {
  MSG message;
  while (api.PeekMessageA(&message, 0, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      api.PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    api.TranslateMessage(&message);
    api.DispatchMessageA(&message);
  }
}

class FolderScan {
 public:
  explicit FolderScan(FolderMenuContext& context)
      : api_(context.api), items_(context.state.items), captions_(context.api) {}

  // Fills `menu` with the tree under `folder` (which ends in "\"): submenus
  // of the plain subfolders first, then the folder's files. Ids go
  // depth-first, so a subfolder's files are numbered before its parent's.
  // Out of memory, the scan stops and the menu keeps what it has.
  void AddFolder(const std::string& folder, HMENU menu) {
    if (outOfMemory_) return;
    try {
      std::vector<std::string> subfolders;
      std::vector<std::string> files;
      List(folder, subfolders, files);
      for (const std::string& name : subfolders) {
        if (submenus_ == kMaxSubmenus) break;
        if (const HMENU submenu = InsertFolderSubmenu(menu, name)) {
          AddFolder(folder + name + "\\", submenu);
        }
      }
      // Let the window system breathe once per folder of the tree.
      DispatchPendingMessages(api_);
      AddFiles(folder, files, menu);
    } catch (const std::bad_alloc&) {
      outOfMemory_ = true;
    }
  }

 private:
  bool Full() const { return items_.size() >= kMaxFileEntries; }

  // One listing serves both passes: a kept folder is one whose attributes
  // are exactly FILE_ATTRIBUTE_DIRECTORY (not read-only, hidden, system, a
  // reparse point...); every other non-directory entry is a file, hidden and
  // system files included.
  void List(const std::string& folder, std::vector<std::string>& subfolders,
            std::vector<std::string>& files) {
    if (submenus_ == kMaxSubmenus && Full()) return;
    WIN32_FIND_DATAA data;
    const ScopedFind find(api_, api_.FindFirstFileA(folder + "*", &data));
    if (!find) return;
    do {
      if (IsDotEntry(data.cFileName)) continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (data.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY && subfolders.size() < kMaxSubmenus) {
          subfolders.emplace_back(data.cFileName);
        }
      } else if (files.size() < kMaxFileEntries) {
        files.emplace_back(data.cFileName);
      }
    } while (api_.FindNextFileA(find.get(), &data));
  }

  void AddFiles(const std::string& folder, const std::vector<std::string>& files, HMENU menu) {
    for (const std::string& name : files) {
      if (Full()) return;
      items_.push_back(folder + name);
      const auto id = static_cast<UINT>(kFirstFileItemId - 1 + items_.size());
      // A name shorter than four characters has no caption: its path keeps
      // its number, so later ids stay in step with the table, but no entry.
      if (const auto caption = captions_.FileCaption(name)) {
        api_.InsertMenuA(menu, static_cast<UINT>(-1), MF_BYPOSITION | MF_STRING, id,
                         captions_.Shortened(*caption).c_str());
      }
    }
  }

  // The new submenu, owned by `parent` from now on; 0 when it could not be
  // made or attached, and then nothing is left behind.
  HMENU InsertFolderSubmenu(HMENU parent, const std::string& caption) {
    ScopedMenu submenu(api_, api_.CreatePopupMenu());
    if (!submenu || !api_.InsertMenuA(parent, static_cast<UINT>(-1), MF_BYPOSITION | MF_POPUP,
                                      submenu.get(), captions_.Shortened(caption).c_str())) {
      return 0;
    }
    ++submenus_;
    return submenu.release();
  }

  WindowsApi& api_;
  std::vector<std::string>& items_;
  CaptionRules captions_;
  std::size_t submenus_ = 0;
  bool outOfMemory_ = false;
};

}  // namespace

std::string GetSpecialFolderPath(WindowsApi& api, int csidl) {
  ScopedPidl pidl(api);
  if (api.SHGetSpecialFolderLocation(api.GetDesktopWindow(), csidl, pidl.out()) != 0) return {};
  char path[260] = {};
  if (!api.SHGetPathFromIDListA(pidl.get(), path)) return {};
  return std::string(path, strnlen(path, sizeof path));
}

bool FileExists(WindowsApi& api, const std::string& path) {
  const ScopedFile file(api, api.CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, 0));
  return static_cast<bool>(file);
}

void LaunchMenuFile(FolderMenuContext& context, const std::string& path) {
  if (!FileExists(context.api, path)) return;
  LaunchThroughOpenCommand(context.api, context.appFolder, path,
                           context.raisedMode && context.raisedMode());
}

void ShowFolderMenu(FolderMenuContext& context, HWND owner, std::int16_t selector) {
  FolderMenuState& state = context.state;
  if (state.busy) return;
  const FlagScope busy(state.busy);
  WindowsApi& api = context.api;

  POINT cursor;
  api.GetCursorPos(&cursor);

  // A folder that cannot be resolved gives an empty menu, never a scan of
  // the drive's root.
  const std::string folder = selector == kGamesFolderSelector ? GamesFolder(context.appFolder)
                                                              : GetSpecialFolderPath(api, selector);
  state.rootPath = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
  state.items.clear();
  const ScopedMenu root(api, api.CreatePopupMenu());
  if (!root) return;
  if (!folder.empty()) FolderScan(context).AddFolder(state.rootPath, root.get());

  const RECT none;
  const UINT picked = TrackPopup(api, root.get(), owner, cursor.x, cursor.y, &none);
  if (picked >= kFirstFileItemId && picked - kFirstFileItemId < state.items.size()) {
    LaunchMenuFile(context, state.items[picked - kFirstFileItemId]);
  }
}

}  // namespace ludora
