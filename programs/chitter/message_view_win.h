// The messages of the tab shown, drawn by the program itself: only the rows
// on screen are laid out and painted, so lines may come by the hundred a
// second. It follows the newest line unless the user scrolled up; a drag
// selects lines and copies them (as mIRC does); a click on a web address
// opens it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "chitter/conversation.h"
#include "chitter/line_layout.h"
#include "chitter/wide_text_win.h"
#include "win32/window_base.h"

namespace ludora::win32 {

class MessageView : public WindowBase {
 public:
  // `shown` gives the conversation to show, whenever the view paints.
  using Source = std::function<const chitter::Conversation&()>;
  MessageView(HWND parent, const WideText& text, Source shown);
  ~MessageView() override;

  // New lines in the conversation (or another one, or other colours).
  void Follow(const chitter::Conversation& conversation, bool colours);
  // SB_LINEUP, SB_PAGEDOWN, SB_BOTTOM, ...
  void Scroll(int how) { OnScroll(how, 0); }

 private:
  struct Painted {
    int top, bottom;
    std::uint64_t serial;  // the line's number since the conversation began
  };
  struct Link {
    RECT area;
    std::u16string address;
  };
  // A line laid out at the view's width, kept while it is on screen.
  struct Laid {
    std::vector<chitter::ShownRun> runs;
    std::vector<chitter::Row> rows;
  };
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc) override;
  int PaintLine(HDC dc, const chitter::Line& line, std::uint64_t serial, int bottom, int width);
  const Laid& LayOut(HDC dc, const chitter::Line& line, std::uint64_t serial, int width);
  HFONT FontFor(const chitter::Style& style);
  void OnScroll(int how, int track);
  // `redraw`: false where the frame is painted anew anyway (a new size).
  void UpdateScrollBar(bool redraw = true);
  std::uint64_t SerialAt(int y) const;
  void CopySelection();
  void FreeBackBuffer();
  void OpenLinkAt(POINT point);

  const WideText& text_;
  Source shown_;
  // GetTextExtentExPointW, which 98's GDI lacks; there the fit is searched
  // with GetTextExtentPoint32W, which it has.
  BOOL(WINAPI* extentEx_)(HDC, LPCWSTR, int, int, LPINT, LPINT, LPSIZE) = nullptr;
  std::uint32_t shownId_ = 0xFFFFFFFF;
  std::uint64_t shownAdded_ = 0;
  bool colours_ = true;
  bool following_ = true;
  std::uint64_t bottom_ = 0;  // the serial of the line at the bottom, when not following
  HFONT fonts_[16] = {};      // by bold, italic, underline and strike-through
  struct {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
  } back_ = {};  // what a paint draws before it shows it
  SIZE backSize_ = {};
  SCROLLINFO bar_ = {};  // as last set
  int lineHeight_ = 14, indent_ = 40;
  std::vector<Painted> painted_;
  std::unordered_map<std::uint64_t, Laid> laid_,
      laidBefore_;  // by serial: this paint's, the last one's
  int laidWidth_ = 0;
  // Other tabs' lines as their last paint laid them out, by conversation.
  struct Parked {
    int width;
    std::unordered_map<std::uint64_t, Laid> laid;
  };
  std::unordered_map<std::uint32_t, Parked> parked_;
  std::vector<Link> links_;
  bool selecting_ = false;
  std::uint64_t anchor_ = 0, reach_ = 0;  // the selected lines, from one to the other
  bool selected_ = false;
  POINT pressed_ = {};
};

}  // namespace ludora::win32
