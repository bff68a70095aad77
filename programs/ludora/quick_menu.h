// The quick menu as data: the item list of the hidden window's menu `ae`,
// in menu order. Showing, hiding, checking and adding items change this
// table; a popup is built from the visible items when the menu is shown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows_api.h"

namespace ludora {

// Every item as the program defines it, one a line: name, caption (what the
// user sees; "-" is a separator line) and its state before start-up.
// clang-format off
#define LUDORA_QUICK_MENU(X)                                                       \
  X(mnuludorazr, "Corvane Ludora 2008", Disabled)                                  \
  X(dfa, "-", Shown)                                                               \
  X(mnugamelaunch, "Launch Specific Game...", Shown)                               \
  X(mnugoto, "Add Game Shortcut to Games List", Shown)                             \
  X(mnumanagegames, "Manage Games List", Shown)                                    \
  X(mnudefrag, "Defragment Memory", Shown)                                         \
  X(mnudefraghd, "Defragment Hard Drives", Shown)                                  \
  X(sadff, "-", Shown)                                                             \
  X(dfdf, "Shortcuts", Disabled)                                                   \
  X(af, "-", Shown)                                                                \
  X(mnukrieger, "Play .kkrieger first person shooter!", Shown)                     \
  X(mnualien, "Play Alien Hominid from Newground!", Shown)                         \
  X(mnugamesroom, "Play Games in Games Room!", Shown)                              \
  X(mnujoin, "Find and Join Multiplayer Games!", Shown)                            \
  X(mnunimbra, "Browse the Web with Nimbra", Shown)                                \
  X(mnuim, "Nimbra Instant Messaging", Shown)                                      \
  X(mnunetwork, "Network Neighborhood", Shown)                                     \
  X(mnucomp, "My Computer", Shown)                                                 \
  X(mnudatetime, "Internet Explorer", Shown)                                       \
  X(mnurecycle, "Recycling Bin", Shown)                                            \
  X(mnucontrol, "Control Panel", Shown)                                            \
  X(mnusystem, "System Properties", Shown)                                         \
  X(mnudisplay, "Display Properties", Shown)                                       \
  X(mnutaskman, "Task Manager", Shown)                                             \
  X(adg, "-", Shown)                                                               \
  X(mnudperson, "Personalized Shortcuts", Disabled)                                \
  X(asdffa, "-", Shown)                                                            \
  X(menu, "menu", Hidden) /* element 0 anchors the personalized shortcuts 1..10 */ \
  X(fsadfadsf, "-", Shown)                                                         \
  X(sadfdfdf, "Options", Disabled)                                                 \
  X(sadf, "-", Shown)                                                              \
  X(mnusystray, "Show Ludora System Tray", Shown)                                  \
  X(mnuludora, "Set Ludora as default shell", Shown)                               \
  X(mnuexplorer, "Set Explorer as default shell", Shown)                           \
  X(mnuper1, "-", Shown)                                                           \
  X(mnuper2, "Performance Mode", Disabled)                                         \
  X(mnuper3, "-", Shown)                                                           \
  X(mnurealtime, "Real-time Game Performance Mode", Shown)                         \
  X(mnuhigh, "High Game Performance Mode", Shown)                                  \
  X(mnunormal, "Normal Game Performance", Checked)                                 \
  X(afgsaf, "-", Shown)                                                            \
  X(datetime, "time", Disabled) /* the clock, set before the menu is ever shown */ \
  X(sadfasdfdsf, "-", Shown)                                                       \
  X(mnuturbolia, "Try Turbolia!", Hidden)                                          \
  X(mnuabout, "About Ludora...", Shown)                                            \
  X(mnushutdown, "Shut Down...", Shown)
// clang-format on

// The quick-menu items by name: a misspelt name does not compile.
enum class QuickItem : std::uint8_t {
#define LUDORA_ITEM_NAME(name, caption, state) name,
  LUDORA_QUICK_MENU(LUDORA_ITEM_NAME)
#undef LUDORA_ITEM_NAME
};

std::string_view NameOf(QuickItem item);

struct MenuItem {
  QuickItem item;
  int index = 0;  // element of a control array (the `menu` shortcuts), else 0
  std::string caption;
  bool enabled = true;
  bool visible = true;
  bool checked = false;

  bool IsSeparator() const { return caption == "-"; }
};

// A picked item, by name and array index.
struct MenuPick {
  QuickItem item;
  int index = 0;
  bool operator==(const MenuPick&) const = default;
};

class QuickMenu {
 public:
  QuickMenu();  // the items as the program defines them

  const std::vector<MenuItem>& Items() const { return items_; }
  // Element `index` of an item (0 for items that are not arrays); nothing
  // when that element was never added.
  MenuItem* Find(QuickItem item, int index = 0);
  MenuItem& operator[](QuickItem item) { return *Find(item); }
  const MenuItem& operator[](QuickItem item) const;

  // Adds element `index` of a control array right after its last element.
  MenuItem& AddArrayItem(QuickItem item, int index);

  // Pops the visible items up as a menu of `owner` at (x, y) and returns the
  // pick, if any. The menu exists only during the call.
  std::optional<MenuPick> Popup(WindowsApi& api, HWND owner, int x, int y) const;

 private:
  std::vector<MenuItem> items_;
};

}  // namespace ludora
