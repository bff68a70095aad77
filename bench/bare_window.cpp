// The yardstick of the start-up bench: a static MinGW program that does
// nothing but show a borderless 343 x 22 window at 0,0, as the bar is; with
// "full", a window of the whole screen, as the games room is.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  const bool full = lstrcmpA(arguments, "full") == 0;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "BareWindow";
  windowClass.hbrBackground = ::GetSysColorBrush(COLOR_WINDOW);
  ::RegisterClassA(&windowClass);
  const HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, "BareWindow", "Bare Window", WS_POPUP, 0,
                                        0, full ? ::GetSystemMetrics(SM_CXSCREEN) : 343,
                                        full ? ::GetSystemMetrics(SM_CYSCREEN) : 22, nullptr,
                                        nullptr, instance, nullptr);
  ::ShowWindow(window, SW_SHOWNORMAL);
  ::UpdateWindow(window);
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
  return 0;
}
