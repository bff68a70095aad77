#include "shell/quick_menu.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/win_constants.h"

namespace ludora {

namespace {

struct ItemDefinition {
  const char* name;
  const char* caption;
  enum State { Normal, Disabled, Hidden, Checked } state;
};

constexpr ItemDefinition kDefinitions[] = {
    {"mnuludorazr", "Corvane Ludora 2008", ItemDefinition::Disabled},
    {"dfa", "-", ItemDefinition::Normal},
    {"mnugamelaunch", "Launch Specific Game...", ItemDefinition::Normal},
    {"mnugoto", "Add Game Shortcut to Games List", ItemDefinition::Normal},
    {"mnumanagegames", "Manage Games List", ItemDefinition::Normal},
    {"mnudefrag", "Defragment Memory", ItemDefinition::Normal},
    {"mnudefraghd", "Defragment Hard Drives", ItemDefinition::Normal},
    {"sadff", "-", ItemDefinition::Normal},
    {"dfdf", "Shortcuts", ItemDefinition::Disabled},
    {"af", "-", ItemDefinition::Normal},
    {"mnukrieger", "Play .kkrieger first person shooter!", ItemDefinition::Normal},
    {"mnualien", "Play Alien Hominid from Newground!", ItemDefinition::Normal},
    {"mnugamesroom", "Play Games in Games Room!", ItemDefinition::Normal},
    {"mnujoin", "Find and Join Multiplayer Games!", ItemDefinition::Normal},
    {"mnunimbra", "Browse the Web with Nimbra", ItemDefinition::Normal},
    {"mnuim", "Nimbra Instant Messaging", ItemDefinition::Normal},
    {"mnunetwork", "Network Neighborhood", ItemDefinition::Normal},
    {"mnucomp", "My Computer", ItemDefinition::Normal},
    {"mnudatetime", "Internet Explorer", ItemDefinition::Normal},
    {"mnurecycle", "Recycling Bin", ItemDefinition::Normal},
    {"mnucontrol", "Control Panel", ItemDefinition::Normal},
    {"mnusystem", "System Properties", ItemDefinition::Normal},
    {"mnudisplay", "Display Properties", ItemDefinition::Normal},
    {"mnutaskman", "Task Manager", ItemDefinition::Normal},
    {"adg", "-", ItemDefinition::Normal},
    {"mnudperson", "Personalized Shortcuts", ItemDefinition::Disabled},
    {"asdffa", "-", ItemDefinition::Normal},
    {"menu", "menu", ItemDefinition::Hidden},
    {"fsadfadsf", "-", ItemDefinition::Normal},
    {"sadfdfdf", "Options", ItemDefinition::Disabled},
    {"sadf", "-", ItemDefinition::Normal},
    {"mnusystray", "Show Ludora System Tray", ItemDefinition::Normal},
    {"mnuludora", "Set Ludora as default shell", ItemDefinition::Normal},
    {"mnuexplorer", "Set Explorer as default shell", ItemDefinition::Normal},
    {"mnuper1", "-", ItemDefinition::Normal},
    {"mnuper2", "Performance Mode", ItemDefinition::Disabled},
    {"mnuper3", "-", ItemDefinition::Normal},
    {"mnurealtime", "Real-time Game Performance Mode", ItemDefinition::Normal},
    {"mnuhigh", "High Game Performance Mode", ItemDefinition::Normal},
    {"mnunormal", "Normal Game Performance", ItemDefinition::Checked},
    {"afgsaf", "-", ItemDefinition::Normal},
    {"datetime", "time", ItemDefinition::Disabled},
    {"sadfasdfdsf", "-", ItemDefinition::Normal},
    {"mnuturbolia", "Try Turbolia!", ItemDefinition::Hidden},
    {"mnuabout", "About Ludora...", ItemDefinition::Normal},
    {"mnushutdown", "Shut Down...", ItemDefinition::Normal},
};

// Popup command ids: item position + 1, so 0 stays "nothing picked".
constexpr UINT kFirstCommandId = 1;

}  // namespace

QuickMenu::QuickMenu() {
  items_.reserve(std::size(kDefinitions) + 10);
  for (const ItemDefinition& d : kDefinitions) {
    MenuItem item;
    item.name = d.name;
    item.caption = d.caption;
    item.enabled = d.state != ItemDefinition::Disabled;
    item.visible = d.state != ItemDefinition::Hidden;
    item.checked = d.state == ItemDefinition::Checked;
    items_.push_back(std::move(item));
  }
}

const MenuItem& QuickMenu::Item(std::string_view name, int index) const {
  const auto found = std::find_if(items_.begin(), items_.end(), [&](const MenuItem& item) {
    return item.name == name && item.index == index;
  });
  if (found == items_.end()) throw std::out_of_range("no quick-menu item " + std::string(name));
  return *found;
}

MenuItem& QuickMenu::Item(std::string_view name, int index) {
  return const_cast<MenuItem&>(std::as_const(*this).Item(name, index));
}

bool QuickMenu::Has(std::string_view name, int index) const {
  return std::any_of(items_.begin(), items_.end(), [&](const MenuItem& item) {
    return item.name == name && item.index == index;
  });
}

MenuItem& QuickMenu::AddArrayItem(std::string_view name, int index) {
  const auto last = std::find_if(items_.rbegin(), items_.rend(),
                                 [&](const MenuItem& item) { return item.name == name; });
  if (last == items_.rend()) throw std::out_of_range("no control array " + std::string(name));
  MenuItem item = *last;
  item.index = index;
  return *items_.insert(last.base(), std::move(item));
}

std::optional<MenuPick> QuickMenu::Popup(WindowsApi& api, HWND owner, int x, int y) const {
  const HMENU menu = api.CreatePopupMenu();
  if (menu == 0) return std::nullopt;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const MenuItem& item = items_[i];
    if (!item.visible) continue;
    UINT flags = MF_BYPOSITION;
    if (item.IsSeparator()) {
      flags |= MF_SEPARATOR;
    } else {
      flags |= MF_STRING;
      if (!item.enabled) flags |= MF_GRAYED;
      if (item.checked) flags |= MF_CHECKED;
    }
    api.InsertMenuA(menu, static_cast<UINT>(-1), flags, kFirstCommandId + i,
                    item.IsSeparator() ? nullptr : item.caption.c_str());
  }
  api.SetForegroundWindow(owner);
  const auto picked = static_cast<UINT>(
      api.TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, owner, nullptr));
  api.DestroyMenu(menu);
  if (picked < kFirstCommandId || picked - kFirstCommandId >= items_.size()) return std::nullopt;
  const MenuItem& item = items_[picked - kFirstCommandId];
  return MenuPick{item.name, item.index};
}

}  // namespace ludora
