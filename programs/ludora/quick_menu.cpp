#include "ludora/quick_menu.h"

#include <algorithm>
#include <array>
#include <utility>

#include "ludora/popup.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora {

namespace {

enum class State { Shown, Disabled, Hidden, Checked };

struct Definition {
  QuickItem item;
  std::string_view name;
  std::string_view caption;
  State state;
};

constexpr std::array kDefinitions = {
#define LUDORA_ITEM_DEFINITION(name, caption, state) \
  Definition{QuickItem::name, #name, caption, State::state},
    LUDORA_QUICK_MENU(LUDORA_ITEM_DEFINITION)
#undef LUDORA_ITEM_DEFINITION
};

// Popup command ids: item position + 1, so 0 stays "nothing picked".
constexpr UINT kFirstCommandId = 1;

}  // namespace

std::string_view NameOf(QuickItem item) {
  return kDefinitions[static_cast<std::size_t>(item)].name;
}

QuickMenu::QuickMenu() {
  items_.reserve(kDefinitions.size() + 10);
  for (const Definition& d : kDefinitions) {
    items_.push_back(MenuItem{d.item, 0, std::string(d.caption), d.state != State::Disabled,
                              d.state != State::Hidden, d.state == State::Checked});
  }
}

MenuItem* QuickMenu::Find(QuickItem item, int index) {
  const auto found = std::find_if(items_.begin(), items_.end(), [&](const MenuItem& i) {
    return i.item == item && i.index == index;
  });
  return found == items_.end() ? nullptr : &*found;
}

const MenuItem& QuickMenu::operator[](QuickItem item) const {
  return *const_cast<QuickMenu*>(this)->Find(item);
}

MenuItem& QuickMenu::AddArrayItem(QuickItem item, int index) {
  const auto last = std::find_if(items_.rbegin(), items_.rend(),
                                 [&](const MenuItem& i) { return i.item == item; });
  MenuItem element = *last;
  element.index = index;
  return *items_.insert(last.base(), std::move(element));
}

std::optional<MenuPick> QuickMenu::Popup(WindowsApi& api, HWND owner, int x, int y) const {
  const ScopedMenu menu(api, api.CreatePopupMenu());
  if (!menu) return std::nullopt;
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
    api.InsertMenuA(menu.get(), static_cast<UINT>(-1), flags, kFirstCommandId + i,
                    item.IsSeparator() ? nullptr : item.caption.c_str());
  }
  const UINT picked = TrackPopup(api, menu.get(), owner, x, y, nullptr);
  if (picked < kFirstCommandId || picked - kFirstCommandId >= items_.size()) return std::nullopt;
  const MenuItem& item = items_[picked - kFirstCommandId];
  return MenuPick{item.item, item.index};
}

}  // namespace ludora
