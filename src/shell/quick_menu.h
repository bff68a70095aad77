// The quick menu as data: the item list of the hidden window's menu `ae`,
// in menu order. Showing, hiding, checking and adding items change this
// table; a popup is built from the visible items when the menu is shown.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows_api.h"

namespace ludora {

struct MenuItem {
  std::string name;
  int index = 0;  // position in a control array (the `menu` shortcuts), else 0
  std::string caption;
  bool enabled = true;
  bool visible = true;
  bool checked = false;

  bool IsSeparator() const { return caption == "-"; }
};

// A picked item, by name and array index.
struct MenuPick {
  std::string name;
  int index = 0;
  bool operator==(const MenuPick&) const = default;
};

class QuickMenu {
 public:
  QuickMenu();  // the items as the program defines them

  const std::vector<MenuItem>& Items() const { return items_; }
  MenuItem& Item(std::string_view name, int index = 0);
  const MenuItem& Item(std::string_view name, int index = 0) const;
  bool Has(std::string_view name, int index = 0) const;

  // Adds element `index` of a control array right after its last element.
  MenuItem& AddArrayItem(std::string_view name, int index);

  // Pops the visible items up as a menu of `owner` at (x, y) and returns the
  // pick, if any. The menu exists only during the call.
  std::optional<MenuPick> Popup(WindowsApi& api, HWND owner, int x, int y) const;

 private:
  std::vector<MenuItem> items_;
};

}  // namespace ludora
