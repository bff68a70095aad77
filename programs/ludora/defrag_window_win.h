// Form2's window: the memory defragmenter, centred on the screen.
#pragma once

#include <string>

#include "ludora/form2.h"
#include "win32/skin.h"
#include "win32/tooltips.h"
#include "win32/window_base.h"
#include "ludora/window_system_win.h"

namespace ludora::win32 {

class DefragWindow : public WindowBase, public Form2View {
 public:
  DefragWindow(Win32WindowSystem& system, Form2& form);

  // Form2View.
  void SetProgressText(const std::string& text) override;
  void SetTimerEnabled(bool enabled) override;
  void SetCloseAreaEnabled(bool enabled) override;
  void Show() override;
  void Close() override;

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnNcDestroy() override;
  void Paint(HDC dc) override;

  Win32WindowSystem& system_;
  Form2& form_;
  Skin skin_;
  Tooltips tooltips_;
  std::string progress_;
  RECT progressArea_;
  RECT closeArea_;
  bool ownedByWindow_ = false;  // the window was created and owns this object
};

}  // namespace ludora::win32
