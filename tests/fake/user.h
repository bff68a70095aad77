// Menus, windows and messages of the in-memory Windows, and the user's
// scripted answers to them.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace ludora::testing {

struct FakeMenuItem {
  UINT flags = 0;
  std::uintptr_t id = 0;  // the command id, or the submenu of a popup entry
  std::string text;
};

class FakeUser {
 public:
  std::map<HMENU, std::vector<FakeMenuItem>> menus;  // each menu's entries
  std::vector<HMENU> trackedMenus;
  const std::vector<FakeMenuItem>& Menu(HMENU menu) const { return menus.at(menu); }
  // The id of the entry reached by following captions from `menu`; 0 if none.
  UINT FindCommand(HMENU menu, const std::vector<std::string>& captions) const;

  // The user's answer to a tracked popup menu: the command id (0: dismissed).
  std::function<UINT(HMENU menu)> onTrackPopupMenu;
  // Called from MessageBoxA before it returns; and the button the user pressed.
  std::function<void()> onMessageBox;
  int messageBoxAnswer = 1;  // IDOK
  // When set, each pass of message processing finds one message waiting,
  // and this is its window procedure, run when the message is dispatched.
  std::function<void()> onProcessMessages;
  int messagePasses = 0;  // passes that found the queue empty at last

  POINT cursor{120, 11};
  // Top-level windows by class (the shell's, when a companion looks for
  // them; Explorer's), and their titles.
  std::map<std::string, HWND> windowsByClass;
  std::map<HWND, std::string> windowTitles;
  std::map<int, int> systemMetrics;  // GetSystemMetrics' answers; 0 for the others
  std::set<int> keysDown;            // held while the program looks
  // Other programs' windows, by the process each belongs to; and their icons.
  std::map<HWND, DWORD> windows;
  std::set<HICON> icons;
  std::optional<std::string> openDialogPick;
  HWND foreground = 0;                                 // the window in front
  std::map<HWND, std::pair<RECT, LONG>> windowPlaces;  // windows' places and styles
  std::optional<DWORD> lastInput;                      // none: Windows 98's

 protected:
  bool messageDelivered_ = false;  // the waiting message of this pass was taken
};

}  // namespace ludora::testing
