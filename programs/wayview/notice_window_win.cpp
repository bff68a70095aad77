#include "wayview/notice_window_win.h"

#include <algorithm>
#include <string>

namespace ludora::win32 {

namespace {

constexpr char kClass[] = "CorvaneLudoraWayviewNotice";
constexpr int kMargin = 24;
constexpr int kGap = 12;
constexpr int kButtonHeight = 24;
constexpr int kTextWidth = 560;  // at most: lines read better short

HWND Button(HINSTANCE instance, HWND parent, const char* caption, UINT id, HFONT font) {
  const HWND button = ::CreateWindowExA(
      0, "BUTTON", caption, WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, nullptr);
  ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  return button;
}

int TextWidth(HDC dc, HFONT font, const char* text) {
  const HGDIOBJ old = ::SelectObject(dc, font);
  SIZE size = {};
  ::GetTextExtentPoint32A(dc, text, static_cast<int>(std::char_traits<char>::length(text)), &size);
  ::SelectObject(dc, old);
  return size.cx;
}

}  // namespace

NoticeWindow::NoticeWindow(HINSTANCE instance, HWND parent, UINT retryId, UINT openElsewhereId)
    : font_(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))) {
  LOGFONTA bold = {};
  ::GetObjectA(font_, sizeof bold, &bold);
  bold.lfHeight = bold.lfHeight * 3 / 2;
  bold.lfWeight = FW_BOLD;
  heading_ = ::CreateFontIndirectA(&bold);
  RegisterWindowClass(instance, kClass, ::LoadCursorA(nullptr, IDC_ARROW), nullptr,
                      ::GetSysColorBrush(COLOR_WINDOW));
  CreateWindowOf(instance, kClass, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, 0,
                 parent);
  retry_ = Button(instance, hwnd(), "&Retry", retryId, font_);
  openElsewhere_ = Button(instance, hwnd(), "&Open in the default browser", openElsewhereId, font_);
}

NoticeWindow::~NoticeWindow() {
  if (heading_) ::DeleteObject(heading_);
}

void NoticeWindow::Show(const wayview::Notice* notice) {
  shown_ = notice != nullptr;
  if (!notice) {
    ::ShowWindow(hwnd(), SW_HIDE);
    return;
  }
  notice_ = *notice;
  const std::string text = notice_.heading + "\r\n" + notice_.address + "\r\n" + notice_.detail;
  ::SetWindowTextA(hwnd(), text.c_str());
  if (const HDC dc = ::GetDC(hwnd())) {
    Layout(dc, false);
    ::ReleaseDC(hwnd(), dc);
  }
  ::SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void NoticeWindow::Place(const RECT& rect) {
  ::SetWindowPos(hwnd(), nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void NoticeWindow::Focus() {
  ::SetFocus(notice_.retry ? retry_ : openElsewhere_);
}

// Heading, address and reason, each wrapped to the width; the buttons of
// the notice in a row below.
void NoticeWindow::Layout(HDC dc, bool draw) {
  RECT client;
  ::GetClientRect(hwnd(), &client);
  const int width = std::max(120, std::min<int>(kTextWidth, client.right - 2 * kMargin));
  int y = kMargin;
  const auto block = [&](const std::string& text, HFONT font, COLORREF colour) {
    const HGDIOBJ old = ::SelectObject(dc, font);
    RECT area = {kMargin, y, kMargin + width, y};
    const UINT format = DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;
    ::DrawTextA(dc, text.c_str(), -1, &area, format | DT_CALCRECT);
    area.right = kMargin + width;  // the lines as measured, not cut to the measure
    if (draw) {
      ::SetTextColor(dc, colour);
      ::DrawTextA(dc, text.c_str(), -1, &area, format);
    }
    ::SelectObject(dc, old);
    y = area.bottom + kGap;
  };
  block(notice_.heading, heading_ ? heading_ : font_, ::GetSysColor(COLOR_WINDOWTEXT));
  block(notice_.address, font_, RGB(0, 0, 160));
  block(notice_.detail, font_, ::GetSysColor(COLOR_WINDOWTEXT));
  int x = kMargin;
  for (const auto& [button, wanted] :
       {std::pair{retry_, notice_.retry}, std::pair{openElsewhere_, notice_.openElsewhere}}) {
    if (!draw) {
      char caption[64] = {};
      ::GetWindowTextA(button, caption, sizeof caption);
      const int buttonWidth = std::max(80, TextWidth(dc, font_, caption) + 24);
      ::SetWindowPos(button, nullptr, x, y + kGap, buttonWidth, kButtonHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE | (wanted ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
      if (wanted) x += buttonWidth + kGap;
    }
  }
}

void NoticeWindow::Paint(HDC dc) {
  ::SetBkMode(dc, TRANSPARENT);
  Layout(dc, true);
}

LRESULT NoticeWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {  // the buttons' clicks are the frame's commands
    return ::SendMessageA(::GetParent(hwnd()), message, wParam, lParam);
  }
  if (message == WM_SIZE && shown_) {
    if (const HDC dc = ::GetDC(hwnd())) {
      Layout(dc, false);
      ::ReleaseDC(hwnd(), dc);
    }
    ::InvalidateRect(hwnd(), nullptr, TRUE);
  }
  return WindowBase::OnMessage(message, wParam, lParam);
}

}  // namespace ludora::win32
