#include "traydock/icon_table.h"

#include <algorithm>

#include "platform/win_constants.h"

namespace ludora::traydock {

namespace {

constexpr UINT NIN_SELECT = WM_USER, NIN_KEYSELECT = WM_USER + 1;
constexpr UINT kVersion3 = 3;  // NOTIFYICON_VERSION

// What an owner is told of an input beyond the input itself: before
// shell32 5.0, and with its conventions (version 3). Other inputs are told as they come.
struct Told {
  UINT input;
  std::vector<UINT> before5, version3;
};
const Told kTold[] = {
    // input        version 0                        version 3
    {WM_LBUTTONUP, {WM_LBUTTONUP}, {WM_LBUTTONUP, NIN_SELECT}},
    {WM_RBUTTONUP, {WM_RBUTTONUP}, {WM_RBUTTONUP, WM_CONTEXTMENU}},
    {kKeySelect, {WM_RBUTTONDOWN, WM_RBUTTONUP}, {NIN_KEYSELECT}},
    {kKeyMenu, {WM_RBUTTONDOWN, WM_RBUTTONUP}, {WM_CONTEXTMENU}},
};

}  // namespace

std::vector<UINT> CallbackEvents(UINT version, UINT input) {
  for (const Told& told : kTold) {
    if (told.input == input) return version >= kVersion3 ? told.version3 : told.before5;
  }
  return {input};
}

std::vector<TrayIcon>::iterator IconTable::Find(HWND owner, UINT id) {
  return std::find_if(icons_.begin(), icons_.end(),
                      [&](const TrayIcon& icon) { return icon.owner == owner && icon.id == id; });
}

const TrayIcon* IconTable::IconOf(HWND owner, UINT id) const {
  for (const TrayIcon& icon : icons_) {
    if (icon.owner == owner && icon.id == id) return &icon;
  }
  return nullptr;
}

bool IconTable::Apply(const Request& request) {
  const auto icon = Find(request.owner, request.id);
  if (request.command == Command::Add) return icon == icons_.end() && Add(request);
  if (icon == icons_.end()) return false;
  switch (request.command) {
    case Command::Modify:
      return Update(*icon, request);
    case Command::Delete:
      icons_.erase(icon);
      return true;
    case Command::SetFocus:
      focused_ = {icon->owner, icon->id};
      return true;
    case Command::SetVersion:
      if (request.version != 0 && request.version != kVersion3) return false;
      icon->version = request.version;
      return true;
    default:
      return false;
  }
}

bool IconTable::Add(const Request& request) {
  if (icons_.size() >= kMost || !api_.IsWindow(request.owner)) return false;
  DWORD process = 0;
  api_.GetWindowThreadProcessId(request.owner, &process);
  const auto same = [&](const TrayIcon& icon) { return icon.process == process; };
  const auto held = static_cast<std::size_t>(std::count_if(icons_.begin(), icons_.end(), same));
  if (held >= kPerProcess || (held > 0 && icons_.size() - Processes() >= kMostAfterFirst)) {
    return false;
  }
  TrayIcon icon{request.owner, request.id, process, ScopedIcon(api_), 0, 0, {}, false};
  if (!Update(icon, request)) return false;
  icons_.push_back(std::move(icon));
  return true;
}

std::size_t IconTable::Processes() const {
  std::size_t processes = 0;
  for (auto icon = icons_.begin(); icon != icons_.end(); ++icon) {
    const auto same = [&](const TrayIcon& earlier) { return earlier.process == icon->process; };
    processes += std::none_of(icons_.begin(), icon, same);
  }
  return processes;
}

// The picture first: when it cannot be had, nothing changes.
bool IconTable::Update(TrayIcon& icon, const Request& request) {
  if (request.flags & kSetsIcon) {
    ScopedIcon picture(api_);
    if (const auto& bits = request.bits) {
      picture = ScopedIcon(
          api_, api_.CreateIcon(0, bits->width, bits->height, bits->planes, bits->bitsPerPixel,
                                bits->mask.data(), bits->colour.data()));
    } else if (request.icon) {
      picture = ScopedIcon(api_, api_.CopyIcon(request.icon));
    }
    if ((request.bits || request.icon) && !picture) return false;
    icon.picture = std::move(picture);
  }
  if (request.flags & kSetsMessage) icon.callbackMessage = request.callbackMessage;
  if (request.flags & kSetsTip) icon.tip = request.tip;
  if (request.flags & kSetsState && request.stateMask & kStateHidden) {
    icon.hidden = request.state & kStateHidden;
  }
  return true;
}

bool IconTable::DropOrphans() {
  const auto gone = std::remove_if(icons_.begin(), icons_.end(), [&](const TrayIcon& icon) {
    return !api_.IsWindow(icon.owner);
  });
  const bool dropped = gone != icons_.end();
  icons_.erase(gone, icons_.end());
  return dropped;
}

bool IconTable::Notify(std::size_t index, UINT input) {
  if (index >= icons_.size()) return false;
  const TrayIcon& icon = icons_[index];
  if (!api_.IsWindow(icon.owner)) return DropOrphans();
  if (!icon.callbackMessage) return false;
  // The owner opens its menu or window in the foreground; only the process
  // the user is using may let it.
  if (input != WM_MOUSEMOVE) api_.AllowSetForegroundWindow(icon.process);
  for (const UINT event : CallbackEvents(icon.version, input)) {
    api_.PostMessageA(icon.owner, icon.callbackMessage, icon.id, event);
  }
  return false;
}

std::optional<std::size_t> IconTable::Focused() const {
  for (std::size_t i = 0; i < icons_.size(); ++i) {
    if (icons_[i].owner == focused_.first && icons_[i].id == focused_.second) return i;
  }
  return std::nullopt;
}

void IconTable::Focus(std::size_t index) {
  if (index < icons_.size()) focused_ = {icons_[index].owner, icons_[index].id};
}

}  // namespace ludora::traydock
