#include "win32/window_base.h"

#include <string>

#include "platform/resume_next.h"

namespace ludora::win32 {

namespace {

int ScreenDpi() {
  static const int dpi = [] {
    const HDC screen = ::GetDC(nullptr);
    const int value = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
  }();
  return dpi;
}

// What a window procedure caught, told to a debugger as a skipped statement is.
void ReportCaught(UINT message) noexcept {
  try {
    const std::string line = "Ludora: a window procedure skipped message " +
                             std::to_string(message) + ": " + CurrentExceptionText() + "\n";
    ::OutputDebugStringA(line.c_str());
  } catch (...) {
  }
}

}  // namespace

int TwipsToPixels(int twips) {
  return ::MulDiv(twips, ScreenDpi(), 1440);
}
int PixelsToTwips(int pixels) {
  return ::MulDiv(pixels, 1440, ScreenDpi());
}
RECT PixelRect(int left, int top, int width, int height) {
  const int x = TwipsToPixels(left), y = TwipsToPixels(top);
  return {x, y, x + TwipsToPixels(width), y + TwipsToPixels(height)};
}

void WindowBase::RegisterWindowClass(HINSTANCE instance, const char* name, HCURSOR cursor,
                                     HICON icon, HBRUSH background, UINT classStyle) {
  WNDCLASSA windowClass = {};
  windowClass.style = classStyle;
  windowClass.lpfnWndProc = &WindowBase::Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = name;
  windowClass.hCursor = cursor;
  windowClass.hIcon = icon;
  windowClass.hbrBackground = background;
  ::RegisterClassA(&windowClass);
}

void WindowBase::CreateWindowOf(HINSTANCE instance, const char* className, const char* title,
                                DWORD style, DWORD exStyle, int x, int y, int width, int height,
                                HWND parent) {
  ::CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                    instance, this);
}

LRESULT WindowBase::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(hwnd_, &paint);
    Paint(dc);
    ::EndPaint(hwnd_, &paint);
    return 0;
  }
  return ::DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = window;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    try {
      self->OnNcDestroy();  // may delete the object
    } catch (...) {
      ReportCaught(message);
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
  }
  // No exception may cross Windows' own frames: what a handler did not
  // catch ends here, and Windows' default answer stands in.
  try {
    return self->OnMessage(message, wParam, lParam);
  } catch (...) {
    ReportCaught(message);
    return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace ludora::win32
