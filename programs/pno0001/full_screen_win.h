// The window's two views, switched by Alt+Enter: a sizeable window, or the
// whole screen. Full screen asks the display for 640 x 480 first (one
// picture pixel a screen pixel); a display that cannot be set keeps its own
// size and the picture is stretched to it.
#pragma once

#include <windows.h>

namespace ludora::pno0001 {

class FullScreen {
 public:
  static constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

  FullScreen() = default;
  ~FullScreen() { RestoreDisplay(); }
  FullScreen(const FullScreen&) = delete;
  FullScreen& operator=(const FullScreen&) = delete;

  bool on() const { return on_; }
  void Enter(HWND window);
  void Leave(HWND window);
  // While the game is in the background the desktop has its own display back.
  void Suspend(HWND window);
  void Wake(HWND window);

 private:
  bool SetDisplay();
  void RestoreDisplay();
  void Cover(HWND window);

  bool on_ = false, displaySet_ = false, suspended_ = false;
  WINDOWPLACEMENT placement_ = {};
};

}  // namespace ludora::pno0001
