#include "traydock/tray_window_win.h"

#include <span>

#include "launch/companions.h"
#include "traydock/notify_request.h"
#include "traydock/tray_start.h"

namespace ludora::win32 {

namespace {

// The timer that looks for owners gone and moves the balloons' clock on.
constexpr UINT_PTR kOwnerCheck = 1;
constexpr UINT kOwnerCheckMs = 1000;

// Ludora's bar, where it is when it cannot be asked.
RECT BarRect() {
  RECT bar = {0, 0, 343, 22};
  const HWND shell = ::FindWindowA(companions::kBarWindowClass, nullptr);
  if (shell && ::IsWindowVisible(shell)) ::GetWindowRect(shell, &bar);
  return bar;
}

}  // namespace

TrayWindow::TrayWindow(HINSTANCE instance, ludora::WindowsApi& api, bool nt)
    : table_(api), balloons_(api) {
  RegisterWindowClass(instance, traydock::kTrayClass, ::LoadCursorA(nullptr, IDC_ARROW), nullptr,
                      nullptr);
  CreateWindowOf(instance, traydock::kTrayClass, traydock::kTrayTitle, WS_POPUP,
                 WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, 0, 0);
  if (!hwnd()) return;
  area_ = std::make_unique<NotifyArea>(instance, hwnd(), table_, nt);
  balloon_ = std::make_unique<BalloonWindow>(instance, balloons_, table_, nt);
  Changed();
  ::SetTimer(hwnd(), kOwnerCheck, kOwnerCheckMs, nullptr);
}

TrayWindow::~TrayWindow() {
  if (hwnd()) ::DestroyWindow(hwnd());
}

void TrayWindow::Show() {
  const RECT bar = BarRect();
  RECT size;
  ::GetWindowRect(hwnd(), &size);
  ::SetWindowPos(hwnd(), HWND_TOPMOST, bar.right, bar.top, size.right - size.left,
                 size.bottom - size.top, SWP_SHOWWINDOW);
  ::SetForegroundWindow(hwnd());
  ::SetFocus(hwnd());
}

void TrayWindow::Hide() {
  ::SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TrayWindow::Changed() {
  if (!area_) return;
  const SIZE size = area_->Layout();
  for (const HWND window : {hwnd(), area_->hwnd()}) {
    ::SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The balloon points where the strip shows its first icon, shown or not.
void TrayWindow::FollowBalloons() {
  if (!balloons_.Tick() || !balloon_) return;
  const RECT bar = BarRect();
  balloon_->Follow({bar.right + 11, bar.bottom});
}

// A request of Shell_NotifyIcon; the answer it returns to the program.
bool TrayWindow::Receive(const COPYDATASTRUCT* data) {
  if (!data || (data->cbData && !data->lpData)) return false;
  const auto request =
      traydock::DecodeRequest(data->dwData, {static_cast<const BYTE*>(data->lpData), data->cbData});
  if (!request || !table_.Apply(*request)) return false;
  Changed();
  balloons_.Follow(*request, table_);
  FollowBalloons();
  if (request->command == traydock::Command::SetFocus && ::IsWindowVisible(hwnd())) {
    ::SetForegroundWindow(hwnd());
  }
  return true;
}

void TrayWindow::TellFocused(UINT input) {
  const auto focused = table_.Focused();
  if (focused && table_.Notify(*focused, input)) Changed();
}

// Escape hides; the arrows move the focus along the icons shown; Enter or
// Space selects the focused one.
void TrayWindow::Key(WPARAM key) {
  const auto& slots = area_->slots();
  if (key == VK_ESCAPE) return Hide();
  if (slots.empty()) return;
  if (key == VK_RETURN || key == VK_SPACE) return TellFocused(traydock::kKeySelect);
  if (key != VK_LEFT && key != VK_RIGHT) return;
  const auto focused = table_.Focused();
  std::size_t at = 0;
  while (at < slots.size() && slots[at] != focused) ++at;
  if (at == slots.size()) {
    at = 0;
  } else if (key == VK_RIGHT) {
    at = (at + 1) % slots.size();
  } else {
    at = (at + slots.size() - 1) % slots.size();
  }
  table_.Focus(slots[at]);
  area_->SetFocusShown(true);
}

LRESULT TrayWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COPYDATA:
      return Receive(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case traydock::kShowMessage:
      Show();
      return 0;
    case kIconsChanged:
      Changed();
      return 0;
    case WM_TIMER:
      if (wParam != kOwnerCheck) return 0;
      if (table_.DropOrphans()) Changed();
      FollowBalloons();
      return 0;
    case WM_ACTIVATE:  // and on to Windows, which gives the keyboard to the active window
      if (area_) area_->SetFocusShown(LOWORD(wParam) != WA_INACTIVE);
      if (LOWORD(wParam) == WA_INACTIVE) Hide();
      break;
    case WM_KEYDOWN:
      if (area_) Key(wParam);
      return 0;
    case WM_CONTEXTMENU:
      if (lParam == -1) TellFocused(traydock::kKeyMenu);  // from the keyboard
      return 0;
    case WM_CLOSE:
      services_.Unload();
      ::DestroyWindow(hwnd());
      return 0;
    case WM_ENDSESSION:
      if (wParam) services_.Unload();
      return 0;
  }
  return WindowBase::OnMessage(message, wParam, lParam);
}

void TrayWindow::OnNcDestroy() {
  ::PostQuitMessage(0);
}

}  // namespace ludora::win32
