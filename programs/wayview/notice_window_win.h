// The notice in place of a page: its heading, the address and the reason,
// painted on the page's background, with its buttons under them. The
// window's text is all of it, for a screen reader (and a trace).
#pragma once

#include "wayview/notice.h"
#include "win32/window_base.h"

namespace ludora::win32 {

class NoticeWindow : public WindowBase {
 public:
  // Its buttons tell `parent` WM_COMMAND with these ids.
  NoticeWindow(HINSTANCE instance, HWND parent, UINT retryId, UINT openElsewhereId);
  ~NoticeWindow() override;

  // Shows `notice` (where it was last placed); nullptr hides it.
  void Show(const wayview::Notice* notice);
  // Where it shows, in the parent's client area.
  void Place(const RECT& rect);
  // The keyboard focus on its first button.
  void Focus();
  bool shown() const { return shown_; }

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc) override;
  // The blocks of text from the top, and the buttons under them.
  void Layout(HDC dc, bool draw);

  wayview::Notice notice_;
  bool shown_ = false;
  HWND retry_ = nullptr;
  HWND openElsewhere_ = nullptr;
  HFONT font_ = nullptr;     // the dialogs' font
  HFONT heading_ = nullptr;  // the same, larger and bold: owned
};

}  // namespace ludora::win32
