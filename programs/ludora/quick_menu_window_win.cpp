#include "ludora/quick_menu_window_win.h"

#include "resources/resource_ids.h"
#include "launch/companions.h"
#include "ludora/form_layout.h"

namespace ludora::win32 {

namespace {

constexpr const char* kClassName = companions::kQuickMenuWindowClass;
constexpr UINT_PTR kClockTimer = 1;

}  // namespace

QuickMenuWindow::QuickMenuWindow(Win32WindowSystem& system, Form1& form)
    : system_(system), form_(form) {
  const HINSTANCE instance = system.instance();
  RegisterWindowClass(instance, kClassName,
                      ::LoadCursorA(instance, MAKEINTRESOURCEA(IDC_QUICKMENU)), nullptr,
                      ::GetSysColorBrush(COLOR_WINDOW));
  // A framed window that is never shown; its menu pops up over the bar.
  CreateWindowOf(instance, kClassName, std::string(kForm1.caption).c_str(), WS_OVERLAPPEDWINDOW,
                 WS_EX_TOOLWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                 TwipsToPixels(kForm1.clientWidthTwips), TwipsToPixels(kForm1.clientHeightTwips));
  if (!hwnd()) return;
  system_.WindowCreated();
  ::SetTimer(hwnd(), kClockTimer, kForm1TimerMs, nullptr);
}

LRESULT QuickMenuWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kClockTimer) form_.Timer1_Timer();
      return 0;
    case WM_CLOSE:
      form_.Unload();
      ::DestroyWindow(hwnd());
      return 0;
    case WM_ENDSESSION:
      if (wParam && !ended_) {
        ended_ = true;
        system_.SessionEnding();
        form_.Unload();
        form_.Terminate();
      }
      return 0;
  }
  return WindowBase::OnMessage(message, wParam, lParam);
}

void QuickMenuWindow::OnNcDestroy() {
  if (!ended_) form_.Terminate();
  system_.WindowGone();
}

}  // namespace ludora::win32
