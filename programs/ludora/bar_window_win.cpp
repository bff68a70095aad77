#include "ludora/bar_window_win.h"

#include <windowsx.h>

#include "resources/resource_ids.h"
#include "launch/companions.h"
#include "ludora/form_layout.h"

namespace ludora::win32 {

namespace {

constexpr const char* kClassName = companions::kBarWindowClass;
constexpr UINT kAfterFirstPaint = WM_APP + 1;
constexpr int kCtrlEscHotKey = 1;
constexpr int kLeftWindowsHotKey = 2;
constexpr int kRightWindowsHotKey = 3;
constexpr WPARAM kShellTaskMan = 7;  // HSHELL_TASKMAN
constexpr UINT_PTR kWindowsKeyTimer = 1;
constexpr UINT kLookAtKeysEvery = 15;  // ms: shorter than any key press

}  // namespace

BarWindow::BarWindow(Win32WindowSystem& system)
    : system_(system),
      skin_(system.instance(), IDR_BAR_SKIN),
      hotSpotCursor_(::LoadCursorA(system.instance(), MAKEINTRESOURCEA(IDC_HOTSPOT))) {
  const HINSTANCE instance = system.instance();
  RegisterWindowClass(instance, kClassName, ::LoadCursorA(nullptr, IDC_ARROW),
                      ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_LUDORA)),
                      ::GetSysColorBrush(COLOR_WINDOW));
  // Borderless, so the client area is the whole window.
  CreateWindowOf(instance, kClassName, std::string(kForm3.caption).c_str(), WS_POPUP,
                 WS_EX_TOOLWINDOW, 0, 0, TwipsToPixels(kForm3.clientWidthTwips),
                 TwipsToPixels(kForm3.clientHeightTwips));
  if (hwnd()) system_.WindowCreated();
}

// The tooltips show only when the mouse rests on the bar: they are made
// when it first comes there, and the common controls with them, which a
// shell nobody points at never needs in memory.
void BarWindow::CreateTooltips() {
  if (!tooltips_.Create(hwnd())) return;
  // Tool ids follow the labels' creation order; the topmost label is added
  // first, as where tools overlap the first one added wins.
  for (std::size_t i = kForm3Labels.size(); i-- > 0;) {
    const TwipsRect& area = kForm3Labels[i].twips;
    tooltips_.Add(static_cast<UINT>(i + 1), PixelRect(area.left, area.top, area.width, area.height),
                  i == 0 ? clockText_ : std::string(kForm3Labels[i].tooltip));
  }
}

void BarWindow::Show() {
  ::ShowWindow(hwnd(), SW_SHOWNORMAL);
  ::UpdateWindow(hwnd());
}

ludora::HWND BarWindow::Handle() {
  return reinterpret_cast<ludora::HWND>(hwnd());
}

void BarWindow::Move(int left, int top) {
  ::SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void BarWindow::SetClockTooltip(const std::string& text) {
  clockText_ = text;
  tooltips_.SetText(1, text);  // Label7, the first label created
}

// What Windows gives a shell for Ctrl+Esc and the Windows key: on the NT
// family the task-list command, posted to the window named the task list's
// (SetTaskmanWindow), and the shell hook's notice of it; everywhere hot keys, the Windows key's at
// its press, which the bar turns into Windows' own behaviour (the menu when it is let go alone). A
// press may come both ways: the second finds the menu open and is dropped.
// No hook that sees every key.
void BarWindow::TakeTaskListKeys() {
  ::RegisterHotKey(hwnd(), kCtrlEscHotKey, MOD_CONTROL, VK_ESCAPE);
  ::RegisterHotKey(hwnd(), kLeftWindowsHotKey, MOD_WIN, VK_LWIN);
  ::RegisterHotKey(hwnd(), kRightWindowsHotKey, MOD_WIN, VK_RWIN);
  // Both only in the user32 of 2000 and later; SetTaskmanWindow is in no header.
  const HMODULE user32 = ::GetModuleHandleA("user32.dll");
  const auto look = [&](const char* name) {
    return reinterpret_cast<BOOL(WINAPI*)(::HWND)>(
        reinterpret_cast<void*>(::GetProcAddress(user32, name)));
  };
  if (const auto setTaskman = look("SetTaskmanWindow")) setTaskman(hwnd());
  const auto registerShellHook = look("RegisterShellHookWindow");
  if (registerShellHook && registerShellHook(hwnd())) {
    shellHookMessage_ = ::RegisterWindowMessageA("SHELLHOOK");
  }
}

// While the Windows key is down after its hot key: any other key pressed
// (down now, or pressed and let go since the last look) makes it another
// program's combination, and the menu stays shut.
void BarWindow::LookAtWindowsKey() {
  const auto down = [](int key) { return (::GetAsyncKeyState(key) & 0x8000) != 0; };
  bool other = false;
  for (int key = VK_BACK; key <= 0xFE; ++key) {
    if (key != VK_LWIN && key != VK_RWIN && (::GetAsyncKeyState(key) & 0x8001) != 0) other = true;
  }
  const auto verdict = windowsKey_.Look(down(VK_LWIN) || down(VK_RWIN), other);
  if (verdict == WindowsKeyTap::Verdict::Wait) return;
  ::KillTimer(hwnd(), kWindowsKeyTimer);
  if (verdict == WindowsKeyTap::Verdict::Open && form_) form_->TaskListKey();
}

const LabelDefinition* BarWindow::LabelUnder(LPARAM point) const {
  return LabelAt(kForm3Labels, PixelsToTwips(GET_X_LPARAM(point)),
                 PixelsToTwips(GET_Y_LPARAM(point)));
}

void BarWindow::Paint(HDC dc) {
  skin_.Draw(dc);
  // Right after the first paint, not in it: the bar is on screen first.
  if (!painted_ && form_) ::PostMessageA(hwnd(), kAfterFirstPaint, 0, 0);
  painted_ = true;
}

LRESULT BarWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == shellHookMessage_ && shellHookMessage_ != 0) {
    if (wParam != kShellTaskMan) return 0;
    if (form_) form_->TaskListKey();
    return TRUE;  // as a shell hook answers that it shows a task list of its own
  }
  switch (message) {
    case WM_HOTKEY:
      if (wParam == kCtrlEscHotKey) {
        if (form_) form_->TaskListKey();
      } else if (!windowsKey_.watching()) {
        windowsKey_.Pressed();
        for (int key = VK_BACK; key <= 0xFE; ++key) ::GetAsyncKeyState(key);  // from now on
        ::SetTimer(hwnd(), kWindowsKeyTimer, kLookAtKeysEvery, nullptr);
      }
      return 0;
    case WM_TIMER:
      if (wParam != kWindowsKeyTimer) break;
      LookAtWindowsKey();
      return 0;
    case WM_SYSCOMMAND:
      // Under another shell the command is Windows' own, for its Start menu.
      if ((wParam & 0xFFF0) != SC_TASKLIST || !form_ || !form_->TaskListKey()) break;
      return 0;
    case kAfterFirstPaint:
      if (form_) form_->Painted();
      return 0;
    case WM_MOUSEMOVE:
      if (!tooltipsMade_) {
        tooltipsMade_ = true;
        CreateTooltips();
        tooltips_.Relay(hwnd(), message, wParam, lParam);  // this first move, they did not see
      }
      break;
    case WM_SETCURSOR: {
      POINT at;
      ::GetCursorPos(&at);
      ::ScreenToClient(hwnd(), &at);
      const LabelDefinition* label = LabelUnder(MAKELPARAM(at.x, at.y));
      if (LOWORD(lParam) == HTCLIENT && label && label->pointer == Pointer::HotSpot) {
        ::SetCursor(hotSpotCursor_);
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN:
      pressed_ = LabelUnder(lParam);
      return 0;
    case WM_LBUTTONUP: {
      const LabelDefinition* label = LabelUnder(lParam);
      const bool click = label && label == pressed_;
      pressed_ = nullptr;
      if (click && form_) form_->LabelClick(label->name);
      return 0;
    }
    case WM_CLOSE:
      if (form_) form_->Unload();
      ::DestroyWindow(hwnd());
      return 0;
    case WM_ENDSESSION:
      if (wParam && form_ && !ended_) {
        ended_ = true;
        system_.SessionEnding();
        form_->Unload();
        form_->Terminate();
      }
      return 0;
  }
  return WindowBase::OnMessage(message, wParam, lParam);
}

void BarWindow::OnNcDestroy() {
  tooltips_.OwnerDestroyed();
  if (form_ && !ended_) form_->Terminate();
  system_.BarGone();
  system_.WindowGone();
}

}  // namespace ludora::win32
