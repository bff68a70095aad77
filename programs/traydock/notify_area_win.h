// The icons on screen: the TrayNotifyWnd child of the tray window, a strip
// in the bar's colours with the shown icons in order of arrival, rows of
// sixteen, each icon's tip on hover. Mouse messages over an icon go to its
// owner through the icon table.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "traydock/icon_table.h"
#include "win32/tooltips.h"
#include "win32/window_base.h"

namespace ludora::win32 {

// Sent to the tray window when an owner turned out gone and its icons went:
// the strip is laid out again before anything else reads it.
inline constexpr UINT kIconsChanged = WM_APP + 2;

class NotifyArea : public WindowBase {
 public:
  // `unicodeTips`: the tooltips ask for UTF-16 texts (the NT family).
  NotifyArea(HINSTANCE instance, HWND tray, traydock::IconTable& table, bool unicodeTips);

  // Follows the table: the icons shown and their tooltips. The size the strip needs.
  SIZE Layout();
  // The table index of each icon on screen, in order.
  const std::vector<std::size_t>& slots() const { return slots_; }
  void SetFocusShown(bool shown);

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnNcDestroy() override { tooltips_.OwnerDestroyed(); }
  void Paint(HDC dc) override;
  std::optional<std::size_t> SlotAt(LPARAM point) const;
  LRESULT TipText(NMHDR* header);

  traydock::IconTable& table_;
  Tooltips tooltips_;
  std::vector<std::size_t> slots_;
  bool unicodeTips_;
  bool focusShown_ = false;  // the tray window has the keyboard
  std::string ansiTip_;      // the text last handed to the tooltip control
  std::wstring wideTip_;
};

}  // namespace ludora::win32
