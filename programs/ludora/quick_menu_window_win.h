// Form1's window: never shown. It keeps the clock timer and ends with the program.
#pragma once

#include "ludora/form1.h"
#include "win32/window_base.h"
#include "ludora/window_system_win.h"

namespace ludora::win32 {

class QuickMenuWindow : public WindowBase {
 public:
  QuickMenuWindow(Win32WindowSystem& system, Form1& form);

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnNcDestroy() override;

  Win32WindowSystem& system_;
  Form1& form_;
  bool ended_ = false;
};

}  // namespace ludora::win32
