#include "traydock/balloon_window_win.h"

#include <windowsx.h>

#include <algorithm>

#include "traydock/text_forms_win.h"

namespace ludora::win32 {

namespace {

constexpr char kBalloonClass[] = "LudoraBalloon";
// In pixels: the space inside the frame, between the head and the text, the
// stem's height and the width of its foot, the corners' rounding, the close
// box, the widest text.
constexpr int kMargin = 10, kGap = 6, kStem = 16, kFoot = 16, kCorner = 14, kClose = 14;
constexpr int kTextWidth = 300;
constexpr UINT kTitleFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
constexpr UINT kTextFormat = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS;

HFONT Font() {
  return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

// Windows' own icons by their numbers (IDI_* and OIC_* are the same), small.
HICON SharedIcon(traydock::BalloonIcon icon) {
  using enum traydock::BalloonIcon;
  const WORD number = icon == Information ? 32516 : icon == Warning ? 32515 : 32513;
  const int size = ::GetSystemMetrics(SM_CXSMICON);
  return static_cast<HICON>(
      ::LoadImageA(nullptr, MAKEINTRESOURCEA(number), IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace

BalloonWindow::BalloonWindow(HINSTANCE instance, traydock::Balloons& balloons,
                             const traydock::IconTable& table, bool nt)
    : balloons_(balloons), table_(table), unicode_(nt) {
  LOGFONTA font;
  if (::GetObjectA(Font(), sizeof font, &font)) {
    font.lfWeight = FW_BOLD;
    bold_ = ::CreateFontIndirectA(&font);
  }
  RegisterWindowClass(instance, kBalloonClass, ::LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr);
  // Never active: by its extended style where Windows knows it (2000 and later), and
  // by the answer to WM_MOUSEACTIVATE and SWP_NOACTIVATE everywhere.
  CreateWindowOf(instance, kBalloonClass, "", WS_POPUP,
                 WS_EX_TOPMOST | WS_EX_TOOLWINDOW | (nt ? WS_EX_NOACTIVATE : 0), 0, 0, 0, 0);
}

BalloonWindow::~BalloonWindow() {
  if (hwnd()) ::DestroyWindow(hwnd());
  if (bold_) ::DeleteObject(bold_);
}

void BalloonWindow::Follow(POINT anchor) {
  const traydock::Balloon* balloon = balloons_.OnScreen();
  if (!hwnd()) return;
  if (!balloon) {
    ::ShowWindow(hwnd(), SW_HIDE);
    return;
  }
  anchor_ = anchor;
  const HDC dc = ::GetDC(hwnd());
  const SIZE size = Layout(dc, *balloon);
  ::ReleaseDC(hwnd(), dc);
  // The stem's tip near the body's left end, the body kept on the screen.
  const int left =
      std::max(0, std::min<int>(anchor.x - 2 * kCorner, ::GetSystemMetrics(SM_CXSCREEN) - size.cx));
  Shape(size, anchor.x - left);
  if (unicode_) {
    ::SetWindowTextW(hwnd(), WideText(title_).c_str());
  } else {
    ::SetWindowTextA(hwnd(), AnsiText(title_).c_str());
  }
  ::SetWindowPos(hwnd(), HWND_TOPMOST, left, anchor.y, size.cx, size.cy,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

// The head (the icon, the title, the close box) above the text, under the stem.
SIZE BalloonWindow::Layout(HDC dc, const traydock::Balloon& balloon) {
  title_ = balloon.title;
  text_ = balloon.text;
  const int iconSize = ::GetSystemMetrics(SM_CXSMICON);
  const int iconSpace = IconOf(balloon) ? iconSize + kGap : 0;
  const RECT title = Text(dc, bold_, title_, {0, 0, kTextWidth, 0}, kTitleFormat | DT_CALCRECT);
  const RECT text = Text(dc, Font(), text_, {0, 0, kTextWidth, 0}, kTextFormat | DT_CALCRECT);
  const int width = std::clamp<int>(
      std::max<int>(text.right, iconSpace + title.right + kGap + kClose), 8 * kClose, kTextWidth);
  const int head = std::max<int>({title.bottom, iconSize, kClose});
  const int top = kStem + kMargin;
  const int iconTop = top + (head - iconSize) / 2;
  iconAt_ = {kMargin, iconTop, kMargin + iconSize, iconTop + iconSize};
  titleAt_ = {kMargin + iconSpace, top, kMargin + width - kClose - kGap, top + head};
  closeAt_ = {kMargin + width - kClose, top, kMargin + width, top + kClose};
  textAt_ = {kMargin, top + head + kGap, kMargin + width, top + head + kGap + text.bottom};
  return {width + 2 * kMargin, textAt_.bottom + kMargin};
}

// No title, no icon, as Windows shows them. The program's own is its icon's
// picture as it is now.
HICON BalloonWindow::IconOf(const traydock::Balloon& balloon) const {
  using enum traydock::BalloonIcon;
  if ((title_.ansi.empty() && title_.utf16.empty()) || balloon.Icon() == None) return nullptr;
  if (balloon.Icon() != Own) return SharedIcon(balloon.Icon());
  const traydock::TrayIcon* own = table_.IconOf(balloon.owner, balloon.id);
  return own ? reinterpret_cast<HICON>(own->picture.get()) : nullptr;
}

// A rounded body and a stem whose tip is at `stemAt` on the window's top edge.
void BalloonWindow::Shape(SIZE size, int stemAt) {
  const HRGN body = ::CreateRoundRectRgn(0, kStem, size.cx + 1, size.cy + 1, kCorner, kCorner);
  const int foot = std::clamp<int>(stemAt + kGap, kCorner, size.cx - kCorner - kFoot);
  const POINT stem[] = {{stemAt, 0}, {foot, kStem + 1}, {foot + kFoot, kStem + 1}};
  const HRGN tip = ::CreatePolygonRgn(stem, 3, WINDING);
  ::CombineRgn(body, body, tip, RGN_OR);
  ::DeleteObject(tip);
  ::SetWindowRgn(hwnd(), body, TRUE);  // Windows' now
}

RECT BalloonWindow::Text(HDC dc, HFONT font, const traydock::Text& text, RECT area,
                         UINT format) const {
  ::SelectObject(dc, font ? font : Font());
  if (unicode_) {
    ::DrawTextW(dc, WideText(text).c_str(), -1, &area, format);
  } else {
    ::DrawTextA(dc, AnsiText(text).c_str(), -1, &area, format);
  }
  return area;
}

void BalloonWindow::Paint(HDC dc) {
  const HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
  if (::GetWindowRgn(hwnd(), shape) != ERROR) {
    ::FillRgn(dc, shape, ::GetSysColorBrush(COLOR_INFOBK));
    ::FrameRgn(dc, shape, ::GetSysColorBrush(COLOR_INFOTEXT), 1, 1);
  }
  ::DeleteObject(shape);
  const traydock::Balloon* balloon = balloons_.OnScreen();
  if (const HICON icon = balloon ? IconOf(*balloon) : nullptr) {
    ::DrawIconEx(dc, iconAt_.left, iconAt_.top, icon, iconAt_.right - iconAt_.left,
                 iconAt_.bottom - iconAt_.top, 0, nullptr, DI_NORMAL);
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
  Text(dc, bold_, title_, titleAt_, kTitleFormat);
  Text(dc, Font(), text_, textAt_, kTextFormat);
  // The close box: a cross in a frame, drawn without the Marlett font.
  ::FrameRect(dc, &closeAt_, ::GetSysColorBrush(COLOR_INFOTEXT));
  const HGDIOBJ pen = ::SelectObject(dc, ::CreatePen(PS_SOLID, 2, ::GetSysColor(COLOR_INFOTEXT)));
  const auto [left, top, right, bottom] = closeAt_;
  ::MoveToEx(dc, left + 4, top + 4, nullptr), ::LineTo(dc, right - 4, bottom - 4);
  ::MoveToEx(dc, right - 5, top + 4, nullptr), ::LineTo(dc, left + 3, bottom - 4);
  ::DeleteObject(::SelectObject(dc, pen));
}

LRESULT BalloonWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONUP: {
      const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (::PtInRect(&closeAt_, at)) {
        balloons_.Close();
      } else {
        balloons_.Click();
      }
      balloons_.Tick();
      Follow(anchor_);
      return 0;
    }
  }
  return WindowBase::OnMessage(message, wParam, lParam);
}

}  // namespace ludora::win32
