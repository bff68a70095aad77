// The notification area's host window: class Shell_TrayWnd, where
// Shell_NotifyIcon sends its requests. Hidden until asked for; shown, it is
// a strip always on top, right of Ludora's bar, and hides again on Escape
// or when it loses the focus, as the bar's menus do.
#pragma once

#include <memory>

#include "platform/windows_api.h"
#include "traydock/balloon_window_win.h"
#include "traydock/balloons.h"
#include "traydock/icon_table.h"
#include "traydock/notify_area_win.h"
#include "traydock/shell_service_objects_win.h"
#include "win32/window_base.h"

namespace ludora::win32 {

class TrayWindow : public WindowBase {
 public:
  TrayWindow(HINSTANCE instance, ludora::WindowsApi& api, bool nt);
  ~TrayWindow() override;

  // In front, beside the bar, with the keyboard.
  void Show();
  // Windows XP's volume, network and power icons.
  void LoadServiceObjects() { services_.Load(); }

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnNcDestroy() override;
  void Hide();
  // The icons changed: the strip follows.
  void Changed();
  // The balloons' clock moves on: the balloon on screen follows.
  void FollowBalloons();
  bool Receive(const COPYDATASTRUCT* data);
  void Key(WPARAM key);
  void TellFocused(UINT input);

  traydock::IconTable table_;
  traydock::Balloons balloons_;
  std::unique_ptr<NotifyArea> area_;
  std::unique_ptr<BalloonWindow> balloon_;
  ShellServiceObjects services_;
};

}  // namespace ludora::win32
