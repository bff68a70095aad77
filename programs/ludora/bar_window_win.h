// The bar on screen: Form3's window, its skin, hot spots and tooltips.
#pragma once

#include "ludora/form3.h"
#include "ludora/form_layout.h"
#include "win32/skin.h"
#include "win32/tooltips.h"
#include "win32/window_base.h"
#include "ludora/window_system_win.h"
#include "ludora/windows_key.h"

namespace ludora::win32 {

class BarWindow : public WindowBase, public Form3View {
 public:
  explicit BarWindow(Win32WindowSystem& system);

  void Attach(Form3& form) { form_ = &form; }
  void Show();

  // Form3View.
  ludora::HWND Handle() override;
  void Move(int left, int top) override;
  void SetClockTooltip(const std::string& text) override;
  void TakeTaskListKeys() override;

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc) override;
  void OnNcDestroy() override;
  const LabelDefinition* LabelUnder(LPARAM point) const;
  void CreateTooltips();
  void LookAtWindowsKey();

  Win32WindowSystem& system_;
  Form3* form_ = nullptr;
  Skin skin_;
  Tooltips tooltips_;
  std::string clockText_;  // Label7's tooltip, kept until the tooltips exist
  HCURSOR hotSpotCursor_;
  const LabelDefinition* pressed_ = nullptr;
  bool ended_ = false;    // the session ended: unloaded already
  bool painted_ = false;  // the skin has been drawn once
  bool tooltipsMade_ = false;
  UINT shellHookMessage_ = 0;  // the shell hook's notices, once the task-list keys are ours
  WindowsKeyTap windowsKey_;   // where the Windows key is a hot key, at its press
};

}  // namespace ludora::win32
