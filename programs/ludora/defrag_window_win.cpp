#include "ludora/defrag_window_win.h"

#include <windowsx.h>

#include "resources/resource_ids.h"
#include "ludora/form_layout.h"

namespace ludora::win32 {

namespace {

constexpr char kClassName[] = "CorvaneLudoraDefragmenter";
constexpr UINT_PTR kStepTimer = 1;
constexpr UINT kCloseNow = WM_APP + 1;
constexpr UINT kCloseTool = 1;

RECT LabelArea(std::string_view name) {
  for (const LabelDefinition& label : kForm2Labels) {
    if (label.name == name) {
      return PixelRect(label.twips.left, label.twips.top, label.twips.width, label.twips.height);
    }
  }
  return {};
}

}  // namespace

DefragWindow::DefragWindow(Win32WindowSystem& system, Form2& form)
    : system_(system),
      form_(form),
      skin_(system.instance(), IDR_DEFRAG_SKIN),
      progress_(kForm2Labels[1].caption),
      progressArea_(LabelArea("Label1")),
      closeArea_(LabelArea("Label2")) {
  const HINSTANCE instance = system.instance();
  RegisterWindowClass(instance, kClassName, ::LoadCursorA(nullptr, IDC_ARROW), nullptr,
                      ::GetSysColorBrush(COLOR_BTNFACE));
  const int width = TwipsToPixels(kForm2.clientWidthTwips);
  const int height = TwipsToPixels(kForm2.clientHeightTwips);
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  CreateWindowOf(instance, kClassName, std::string(kForm2.caption).c_str(), WS_POPUP, 0, x, y,
                 width, height);
  if (!hwnd()) return;
  ownedByWindow_ = true;
  system_.WindowCreated();
  tooltips_.Create(hwnd());
}

void DefragWindow::SetProgressText(const std::string& text) {
  progress_ = text;
  ::InvalidateRect(hwnd(), &progressArea_, TRUE);
}

void DefragWindow::SetTimerEnabled(bool enabled) {
  if (!hwnd()) return;  // never created: no timer of the thread's instead
  if (enabled) {
    ::SetTimer(hwnd(), kStepTimer, kForm2TimerMs, nullptr);
  } else {
    ::KillTimer(hwnd(), kStepTimer);
  }
}

void DefragWindow::SetCloseAreaEnabled(bool enabled) {
  // A disabled close area shows no tooltip.
  if (enabled) {
    tooltips_.Add(kCloseTool, closeArea_, std::string(kForm2Labels[0].tooltip));
  } else {
    tooltips_.Remove(kCloseTool);
  }
}

void DefragWindow::Show() {
  ::ShowWindow(hwnd(), SW_SHOWNORMAL);
  ::SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(hwnd());
}

void DefragWindow::Close() {
  // Destroyed from the message loop, never from inside the form's own handler.
  ::PostMessageA(hwnd(), kCloseNow, 0, 0);
}

void DefragWindow::Paint(HDC dc) {
  skin_.Draw(dc);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));  // a label's default text colour
  const HGDIOBJ previous = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  RECT area = progressArea_;
  ::DrawTextA(dc, progress_.c_str(), static_cast<int>(progress_.size()), &area,
              DT_LEFT | DT_TOP | DT_NOPREFIX);
  ::SelectObject(dc, previous);
}

LRESULT DefragWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kStepTimer) form_.Timer1_Timer();
      return 0;
    case WM_LBUTTONUP: {
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (::PtInRect(&closeArea_, at)) form_.Label2_Click();
      return 0;
    }
    case WM_CLOSE:  // Alt+F4: honoured only once the count is complete
      form_.QueryClose();
      return 0;
    case kCloseNow:
      ::DestroyWindow(hwnd());
      return 0;
  }
  return WindowBase::OnMessage(message, wParam, lParam);
}

void DefragWindow::OnNcDestroy() {
  tooltips_.OwnerDestroyed();
  if (!ownedByWindow_) return;  // its creation failed: CreateForm2 deletes it
  Win32WindowSystem& system = system_;
  system.Form2Gone();
  system.WindowGone();
  delete this;
}

}  // namespace ludora::win32
