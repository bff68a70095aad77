// The icons of the notification area in order of arrival: what each
// program asked for, with the area's own copy of each picture, and what
// the owners are told of the mouse and the keyboard.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "platform/scoped.h"
#include "platform/windows_api.h"
#include "traydock/notify_request.h"

namespace ludora::traydock {

struct TrayIcon {
  HWND owner = 0;
  UINT id = 0;
  DWORD process = 0;  // the owner's
  ScopedIcon picture;
  UINT callbackMessage = 0;  // 0: the owner is told nothing
  UINT version = 0;          // 3 (NOTIFYICON_VERSION): shell32 5.0's conventions
  Text tip;
  bool hidden = false;  // NIS_HIDDEN
  // On screen: it has a picture and is not hidden.
  bool Shown() const { return picture && !hidden; }
};

// Keyboard actions on the focused icon, told apart from mouse messages.
inline constexpr UINT kKeySelect = 0x10000;  // Enter or Space
inline constexpr UINT kKeyMenu = 0x10001;    // the menu key, or Shift+F10

// The callback messages' lParam values an owner of `version` receives, in
// order, for one mouse message over its icon or one keyboard action.
std::vector<UINT> CallbackEvents(UINT version, UINT input);

class IconTable {
 public:
  // A program that floods the area is refused beyond these; the icons stay.
  // The quota is the owner window's process's: Windows tells a window that
  // a message came from another thread (InSendMessage), never from which,
  // on 98, XP or later, and WM_COPYDATA's wParam, "the sending window", is
  // the sender's word as much as the owner in the record is. A program may
  // so name other programs' windows as owners, each with a quota of its
  // own; a program's icons after its first therefore take at most half the
  // places, the rest kept for programs showing their first. Filling the
  // area then takes icons owned by 64 programs, named falsely or not.
  static constexpr std::size_t kPerProcess = 32;
  static constexpr std::size_t kMost = 128;
  static constexpr std::size_t kMostAfterFirst = kMost / 2;

  explicit IconTable(WindowsApi& api) : api_(api) {}

  // Carries out a request; whether it was done, Shell_NotifyIcon's answer.
  // An icon is added only for a live window; a picture that cannot be
  // copied leaves the icon as it was.
  bool Apply(const Request& request);
  // Removes the icons whose owner window is gone; whether there were any.
  bool DropOrphans();
  // Tells the owner of icons()[index] of an input over it, letting it take
  // the foreground for a click; an owner that is gone loses its icons.
  // Whether the icons changed.
  bool Notify(std::size_t index, UINT input);

  const std::vector<TrayIcon>& icons() const { return icons_; }
  const TrayIcon* IconOf(HWND owner, UINT id) const;
  // The icon that has the keyboard focus (NIM_SETFOCUS, or the arrow keys).
  std::optional<std::size_t> Focused() const;
  void Focus(std::size_t index);

 private:
  std::vector<TrayIcon>::iterator Find(HWND owner, UINT id);
  bool Update(TrayIcon& icon, const Request& request);
  bool Add(const Request& request);
  std::size_t Processes() const;  // that hold icons

  WindowsApi& api_;
  std::vector<TrayIcon> icons_;
  std::pair<HWND, UINT> focused_{0, 0};
};

}  // namespace ludora::traydock
