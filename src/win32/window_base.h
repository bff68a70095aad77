// One window procedure for all of the shell's windows: the C++ object is
// bound to its window at WM_NCCREATE and receives every message after that.
#pragma once

#include "win32/win.h"

namespace ludora::win32 {

class WindowBase {
 public:
  WindowBase() = default;
  virtual ~WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND hwnd() const { return hwnd_; }

 protected:
  static void RegisterWindowClass(HINSTANCE instance, const char* name, HCURSOR cursor, HICON icon,
                                  HBRUSH background, UINT classStyle = 0);
  void CreateWindowOf(HINSTANCE instance, const char* className, const char* title, DWORD style,
                      DWORD exStyle, int x, int y, int width, int height, HWND parent = nullptr);

  // Unhandled messages go here: WM_PAINT becomes a call of Paint, the rest
  // are Windows' defaults.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void Paint(HDC) {}
  // The window is gone; the last call this object receives from Windows.
  virtual void OnNcDestroy() {}

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
};

}  // namespace ludora::win32
