// The balloon on screen: a popup in the colours of tooltips, its stem
// pointing at the notification area beside the bar, the icon and the title
// in bold, a close box, the text wrapped below. Always on top, and never
// active: the program in front keeps the keyboard. A click on it, or on its
// close box, goes to the balloons.
#pragma once

#include "traydock/balloons.h"
#include "traydock/icon_table.h"
#include "win32/window_base.h"

namespace ludora::win32 {

class BalloonWindow : public WindowBase {
 public:
  // `nt`: the NT family, where texts are drawn as UTF-16.
  BalloonWindow(HINSTANCE instance, traydock::Balloons& balloons, const traydock::IconTable& table,
                bool nt);
  ~BalloonWindow() override;

  // Shows the balloon on screen with its stem's tip at `anchor`, or hides.
  void Follow(POINT anchor);

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc) override;
  // Lays the balloon out; its size.
  SIZE Layout(HDC dc, const traydock::Balloon& balloon);
  HICON IconOf(const traydock::Balloon& balloon) const;
  void Shape(SIZE size, int stemAt);
  // DrawTextA or DrawTextW of `text` in `font`, with the area it took.
  RECT Text(HDC dc, HFONT font, const traydock::Text& text, RECT area, UINT format) const;

  traydock::Balloons& balloons_;
  const traydock::IconTable& table_;
  bool unicode_;  // texts drawn as UTF-16
  HFONT bold_ = nullptr;
  POINT anchor_{};
  traydock::Text title_, text_;
  RECT iconAt_{}, titleAt_{}, textAt_{}, closeAt_{};
};

}  // namespace ludora::win32
