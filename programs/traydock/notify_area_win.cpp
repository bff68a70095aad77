#include "traydock/notify_area_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "traydock/text_forms_win.h"
#include "traydock/tray_start.h"

namespace ludora::win32 {

namespace {

constexpr int kSlot = 22;  // an icon's square, as high as the bar
constexpr int kIcon = 16;
constexpr int kPerRow = 16;
constexpr char kNoIcons[] = "No notification icons";

// The bar skin's gradient, top to bottom, repeated on every row of icons.
struct Stop {
  double at;
  BYTE red, green, blue;
};
constexpr Stop kGradient[] = {{0.0, 0x46, 0x50, 0x5c},
                              {0.08, 0x34, 0x3c, 0x46},
                              {0.5, 0x22, 0x28, 0x2f},
                              {0.92, 0x14, 0x18, 0x1d},
                              {1.0, 0x0b, 0x0d, 0x10}};
constexpr COLORREF kHighlight = RGB(0x87, 0x93, 0xa2), kRim = RGB(0x05, 0x06, 0x08);

COLORREF GradientAt(double at) {
  const Stop* to = std::find_if(std::begin(kGradient) + 1, std::end(kGradient) - 1,
                                [&](const Stop& s) { return s.at >= at; });
  const Stop* from = to - 1;
  const double t = (at - from->at) / (to->at - from->at);
  const auto mix = [&](BYTE a, BYTE b) { return static_cast<BYTE>(a + (b - a) * t + 0.5); };
  return RGB(mix(from->red, to->red), mix(from->green, to->green), mix(from->blue, to->blue));
}

void Fill(HDC dc, const RECT& area, COLORREF colour) {
  ::SetBkColor(dc, colour);
  ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, "", 0, nullptr);
}

RECT SlotRect(std::size_t slot) {
  const int left = static_cast<int>(slot % kPerRow) * kSlot;
  const int top = static_cast<int>(slot / kPerRow) * kSlot;
  return {left, top, left + kSlot, top + kSlot};
}

}  // namespace

NotifyArea::NotifyArea(HINSTANCE instance, HWND tray, traydock::IconTable& table, bool unicodeTips)
    : table_(table), unicodeTips_(unicodeTips) {
  RegisterWindowClass(instance, traydock::kNotifyClass, ::LoadCursorA(nullptr, IDC_ARROW), nullptr,
                      nullptr, CS_DBLCLKS);
  CreateWindowOf(instance, traydock::kNotifyClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, kSlot,
                 kSlot, tray);
  if (hwnd()) tooltips_.Create(hwnd());
}

SIZE NotifyArea::Layout() {
  std::vector<std::size_t> shown;
  for (std::size_t i = 0; i < table_.icons().size(); ++i) {
    if (table_.icons()[i].Shown()) shown.push_back(i);
  }
  if (shown != slots_) {
    slots_ = std::move(shown);
    tooltips_.RemoveAll();
    for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
      tooltips_.AddAnswered(static_cast<UINT>(slot + 1), SlotRect(slot));
    }
  } else {
    tooltips_.Refresh();
  }
  ::InvalidateRect(hwnd(), nullptr, FALSE);
  if (slots_.empty()) {
    SIZE text = {0, 0};
    const HDC dc = ::GetDC(hwnd());
    ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::GetTextExtentPoint32A(dc, kNoIcons, sizeof kNoIcons - 1, &text);
    ::ReleaseDC(hwnd(), dc);
    return {text.cx + 16, kSlot};
  }
  const int count = static_cast<int>(slots_.size());
  return {std::min(count, kPerRow) * kSlot, (count + kPerRow - 1) / kPerRow * kSlot};
}

void NotifyArea::SetFocusShown(bool shown) {
  focusShown_ = shown;
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void NotifyArea::Paint(HDC dc) {
  RECT client;
  ::GetClientRect(hwnd(), &client);
  for (int y = 0; y < client.bottom; ++y) {
    const RECT row = {0, y, client.right, y + 1};
    Fill(dc, row, y == 0 ? kHighlight : GradientAt((y % kSlot) / double(kSlot - 1)));
  }
  Fill(dc, {client.right - 1, 0, client.right, client.bottom}, kRim);
  const auto focused = table_.Focused();
  for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
    const RECT area = SlotRect(slot);
    const auto picture = table_.icons()[slots_[slot]].picture.get();
    ::DrawIconEx(dc, area.left + (kSlot - kIcon) / 2, area.top + (kSlot - kIcon) / 2,
                 reinterpret_cast<HICON>(picture), kIcon, kIcon, 0, nullptr, DI_NORMAL);
    if (focusShown_ && focused == slots_[slot]) {
      const RECT ring = {area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
      ::DrawFocusRect(dc, &ring);
    }
  }
  if (slots_.empty()) {
    ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::DrawTextA(dc, kNoIcons, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

std::optional<std::size_t> NotifyArea::SlotAt(LPARAM point) const {
  const int x = GET_X_LPARAM(point), y = GET_Y_LPARAM(point);
  if (x < 0 || y < 0 || x >= kPerRow * kSlot) return std::nullopt;
  const auto slot = static_cast<std::size_t>(y / kSlot * kPerRow + x / kSlot);
  if (slot >= slots_.size()) return std::nullopt;
  return slot;
}

// The tip of the icon under a tooltip, in the form the control asked for.
LRESULT NotifyArea::TipText(NMHDR* header) {
  const std::size_t slot = header->idFrom - 1;
  const traydock::Text tip =
      slot < slots_.size() ? table_.icons()[slots_[slot]].tip : traydock::Text{};
  if (header->code == TTN_GETDISPINFOW) {
    wideTip_ = WideText(tip);
    reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = wideTip_.data();
  } else {
    ansiTip_ = AnsiText(tip);
    reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = ansiTip_.data();
  }
  return 0;
}

LRESULT NotifyArea::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_NOTIFYFORMAT:
      return unicodeTips_ ? NFR_UNICODE : NFR_ANSI;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW) {
        return TipText(header);
      }
      break;
    }
  }
  if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) {
    // The right button's release is told to the owner alone: no WM_CONTEXTMENU here.
    const auto slot = SlotAt(lParam);
    if (slot && table_.Notify(slots_[*slot], message)) {
      ::SendMessageA(::GetParent(hwnd()), kIconsChanged, 0, 0);
    }
    return 0;
  }
  return WindowBase::OnMessage(message, wParam, lParam);
}

}  // namespace ludora::win32
