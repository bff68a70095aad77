#include "pno0001/full_screen_win.h"

namespace ludora::pno0001 {

bool FullScreen::SetDisplay() {
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = 640;
  mode.dmPelsHeight = 480;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  displaySet_ = ::ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
  ::OutputDebugStringA(displaySet_
                           ? "pno0001: full screen at 640x480\n"
                           : "pno0001: full screen at the display's own size (640x480 refused)\n");
  return displaySet_;
}

void FullScreen::RestoreDisplay() {
  if (displaySet_) ::ChangeDisplaySettingsA(nullptr, 0);
  displaySet_ = false;
}

void FullScreen::Cover(HWND window) {
  ::SetWindowLongA(window, GWL_STYLE, WS_POPUP | WS_VISIBLE);
  ::SetWindowPos(window, HWND_TOP, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
                 ::GetSystemMetrics(SM_CYSCREEN), SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

void FullScreen::Enter(HWND window) {
  if (on_) return;
  placement_.length = sizeof placement_;
  ::GetWindowPlacement(window, &placement_);
  on_ = true;
  SetDisplay();
  Cover(window);
}

void FullScreen::Leave(HWND window) {
  if (!on_) return;
  on_ = suspended_ = false;
  RestoreDisplay();
  ::SetWindowLongA(window, GWL_STYLE, kWindowStyle);
  ::SetWindowPlacement(window, &placement_);
  ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

void FullScreen::Suspend(HWND window) {
  if (!on_ || suspended_ || !displaySet_) return;
  suspended_ = true;
  RestoreDisplay();
  ::ShowWindow(window, SW_MINIMIZE);
}

void FullScreen::Wake(HWND window) {
  if (!suspended_) return;
  suspended_ = false;
  ::ShowWindow(window, SW_RESTORE);
  SetDisplay();
  Cover(window);
}

}  // namespace ludora::pno0001
