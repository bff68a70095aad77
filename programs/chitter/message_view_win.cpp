#include "chitter/message_view_win.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "chitter/log_book.h"

namespace ludora::win32 {

namespace {

constexpr char kViewClass[] = "CorvaneLudoraChitterView";
constexpr int kMargin = 4;
constexpr COLORREF kSelection = RGB(200, 220, 255);
constexpr std::size_t kParkedTabs = 8;

COLORREF Colour(std::int32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

const wchar_t* Wide(std::u16string_view text) {
  return reinterpret_cast<const wchar_t*>(text.data());
}

}  // namespace

MessageView::MessageView(HWND parent, const WideText& text, Source shown)
    : text_(text), shown_(std::move(shown)) {
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  RegisterWindowClass(instance, kViewClass, ::LoadCursorA(nullptr, IDC_IBEAM), nullptr, nullptr,
                      CS_DBLCLKS);
  CreateWindowOf(instance, kViewClass, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, WS_EX_CLIENTEDGE, 0,
                 0, 0, 0, parent);
  if (!hwnd()) return;
  if (text.unicode()) {
    extentEx_ = reinterpret_cast<decltype(extentEx_)>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("gdi32.dll"), "GetTextExtentExPointW")));
  }
  const HDC dc = ::GetDC(hwnd());
  const HGDIOBJ old = ::SelectObject(dc, FontFor({}));
  TEXTMETRICA metrics = {};
  ::GetTextMetricsA(dc, &metrics);
  lineHeight_ = std::max(static_cast<int>(metrics.tmHeight), 8);
  SIZE stamp = {};
  ::GetTextExtentPoint32A(dc, "[00:00] ", 8, &stamp);
  indent_ = stamp.cx;
  ::SelectObject(dc, old);
  ::ReleaseDC(hwnd(), dc);
}

MessageView::~MessageView() {
  FreeBackBuffer();
  for (const HFONT font : fonts_) {
    if (font) ::DeleteObject(font);
  }
}

HFONT MessageView::FontFor(const chitter::Style& style) {
  const int index = (style.bold ? 1 : 0) | (style.italic ? 2 : 0) | (style.underline ? 4 : 0) |
                    (style.strike ? 8 : 0);
  if (!fonts_[index]) {
    LOGFONTA font = {};
    const HDC screen = ::GetDC(nullptr);
    font.lfHeight = -::MulDiv(9, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    font.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = style.italic;
    font.lfUnderline = style.underline;
    font.lfStrikeOut = style.strike;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(font.lfFaceName, "Tahoma");
    fonts_[index] = ::CreateFontIndirectA(&font);
  }
  return fonts_[index];
}

void MessageView::Follow(const chitter::Conversation& conversation, bool colours) {
  if (!hwnd()) return;
  const bool other = conversation.id() != shownId_ || colours != colours_;
  if (!other && conversation.added() == shownAdded_) return;
  if (other) {
    following_ = true;
    selected_ = false;
    // The lines laid out for the tab left wait for its return, unless the
    // colours changed; those of the tab shown now serve at the same width.
    if (colours != colours_) {
      parked_.clear();
      laid_.clear();
    } else if (shownId_ != 0xFFFFFFFF) {
      if (parked_.size() >= kParkedTabs && !parked_.contains(shownId_))
        parked_.erase(parked_.begin());
      parked_[shownId_] = {laidWidth_, std::move(laid_)};
    }
    laid_.clear();
    if (const auto kept = parked_.find(conversation.id()); kept != parked_.end()) {
      laid_ = std::move(kept->second.laid);
      laidWidth_ = kept->second.width;
      parked_.erase(kept);
    }
  }
  shownId_ = conversation.id(), colours_ = colours;
  shownAdded_ = conversation.added();
  UpdateScrollBar();
  if (following_ || other) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

// The scroll bar counts lines; its position is the line at the bottom.
void MessageView::UpdateScrollBar(bool redraw) {
  const chitter::Conversation& conversation = shown_();
  const auto count = static_cast<int>(conversation.lines().size());
  const std::uint64_t first = conversation.added() - conversation.lines().size();
  RECT client = {};
  ::GetClientRect(hwnd(), &client);
  const int page = std::max(1, static_cast<int>(client.bottom) / lineHeight_);
  if (!following_ && bottom_ < first) bottom_ = first;
  const int at = following_ ? count - 1 : static_cast<int>(bottom_ - first);
  SCROLLINFO info = {sizeof info,
                     SIF_ALL | SIF_DISABLENOSCROLL,
                     0,
                     std::max(count - 1, 0) + page - 1,
                     static_cast<UINT>(page),
                     std::max(at, 0),
                     0};
  // Once the scrollback is full, a new line leaves the bar as it was: no redraw then.
  if (info.nMax == bar_.nMax && info.nPage == bar_.nPage && info.nPos == bar_.nPos) return;
  bar_ = info;
  ::SetScrollInfo(hwnd(), SB_VERT, &info, redraw);
}

void MessageView::OnScroll(int how, int track) {
  const chitter::Conversation& conversation = shown_();
  const auto count = static_cast<std::int64_t>(conversation.lines().size());
  const std::uint64_t first = conversation.added() - conversation.lines().size();
  RECT client = {};
  ::GetClientRect(hwnd(), &client);
  const int page = std::max(1, static_cast<int>(client.bottom) / lineHeight_ - 1);
  std::int64_t at = following_ ? count - 1 : static_cast<std::int64_t>(bottom_ - first);
  switch (how) {
    case SB_LINEUP:
      at -= 1;
      break;
    case SB_LINEDOWN:
      at += 1;
      break;
    case SB_PAGEUP:
      at -= page;
      break;
    case SB_PAGEDOWN:
      at += page;
      break;
    case SB_TOP:
      at = 0;
      break;
    case SB_BOTTOM:
      at = count;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      at = track;
      break;
    default:
      return;
  }
  at = std::clamp<std::int64_t>(at, 0, std::max<std::int64_t>(count - 1, 0));
  following_ = at >= count - 1;
  bottom_ = first + static_cast<std::uint64_t>(at);
  UpdateScrollBar();
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

// A line's runs and rows: measured once, then kept as long as it is shown.
const MessageView::Laid& MessageView::LayOut(HDC dc, const chitter::Line& line,
                                             std::uint64_t serial, int width) {
  if (const auto kept = laidBefore_.find(serial); kept != laidBefore_.end())
    return laid_.emplace(serial, std::move(kept->second)).first->second;
  Laid laid{chitter::ShownRuns(line, colours_), {}};
  std::vector<int> extents;
  const auto fit = [&](const chitter::ShownRun& run, std::u16string_view text, int room) {
    ::SelectObject(dc, FontFor(run.style));
    const auto width = [&](std::size_t count) {
      SIZE size = {};
      ::GetTextExtentPoint32W(dc, Wide(text), static_cast<int>(count), &size);
      return static_cast<int>(size.cx);
    };
    if (extentEx_) {
      extents.resize(text.size());
      int count = 0;
      SIZE size = {};
      extentEx_(dc, Wide(text), static_cast<int>(text.size()), room, &count, extents.data(), &size);
      return chitter::Fit{static_cast<std::size_t>(count), count > 0 ? extents[count - 1] : 0};
    }
    std::size_t fits = 0, over = text.size() + 1;  // fits fits, over does not
    while (over - fits > 1) {
      const std::size_t middle = (fits + over) / 2;
      (width(middle) <= room ? fits : over) = middle;
    }
    return chitter::Fit{fits, width(fits)};
  };
  laid.rows = chitter::WrapRuns(laid.runs, width, indent_, fit);
  return laid_.emplace(serial, std::move(laid)).first->second;
}

// Draws one line whose last row ends at `bottom`; its top.
int MessageView::PaintLine(HDC dc, const chitter::Line& line, std::uint64_t serial, int bottom,
                           int width) {
  const Laid& laid = LayOut(dc, line, serial, width);
  const auto& runs = laid.runs;
  const auto& rows = laid.rows;
  const int top = bottom - static_cast<int>(rows.size()) * lineHeight_;
  const bool chosen =
      selected_ && serial >= std::min(anchor_, reach_) && serial <= std::max(anchor_, reach_);
  if (chosen || line.mention) {
    const RECT back = {0, top, width + 2 * kMargin, bottom};
    const HBRUSH brush =
        ::CreateSolidBrush(chosen ? kSelection : Colour(chitter::kMentionBackground));
    ::FillRect(dc, &back, brush);
    ::DeleteObject(brush);
  }
  int y = top;
  for (const chitter::Row& row : rows) {
    for (const chitter::Piece& piece : row) {
      const chitter::ShownRun& run = runs[piece.run];
      const chitter::Ink ink = chitter::InkOf(run);
      chitter::Style style = run.style;
      style.underline = style.underline || run.link;
      ::SelectObject(dc, FontFor(style));
      ::SetTextColor(dc, Colour(ink.text));
      ::SetBkMode(dc, ink.paper == chitter::kDefaultColour ? TRANSPARENT : OPAQUE);
      if (ink.paper != chitter::kDefaultColour) ::SetBkColor(dc, Colour(ink.paper));
      const std::u16string_view text =
          std::u16string_view(run.text).substr(piece.from, piece.to - piece.from);
      ::ExtTextOutW(dc, kMargin + piece.x, y, 0, nullptr, Wide(text),
                    static_cast<UINT>(text.size()), nullptr);
      if (run.link) {
        SIZE size = {};
        ::GetTextExtentPoint32W(dc, Wide(text), static_cast<int>(text.size()), &size);
        links_.push_back(
            {{kMargin + piece.x, y, kMargin + piece.x + size.cx, y + lineHeight_}, run.text});
      }
    }
    y += lineHeight_;
  }
  painted_.push_back({top, bottom, serial});
  return top;
}

// Double-buffered: the rows from the bottom up, as many as the view holds.
void MessageView::Paint(HDC dc) {
  RECT client = {};
  ::GetClientRect(hwnd(), &client);
  // The bitmap serves paint after paint until the view outgrows it: a
  // switch between a channel and another tab narrows and widens the view.
  const SIZE size = {std::max({1L, client.right, backSize_.cx}),
                     std::max({1L, client.bottom, backSize_.cy})};
  if (!back_.dc || size.cx != backSize_.cx || size.cy != backSize_.cy) {
    FreeBackBuffer();
    back_.dc = ::CreateCompatibleDC(dc);
    back_.bitmap = ::CreateCompatibleBitmap(dc, size.cx, size.cy);
    back_.old = ::SelectObject(back_.dc, back_.bitmap);
    backSize_ = size;
  }
  const HDC memory = back_.dc;
  const HGDIOBJ oldFont = ::SelectObject(memory, FontFor({}));
  ::FillRect(memory, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  painted_.clear();
  links_.clear();
  // What was laid out for the last paint serves again, at the same width.
  laidBefore_.swap(laid_);
  laid_.clear();
  if (laidWidth_ != client.right) laidBefore_.clear();
  laidWidth_ = client.right;
  const chitter::Conversation& conversation = shown_();
  const auto& lines = conversation.lines();
  const std::uint64_t first = conversation.added() - lines.size();
  if (!lines.empty()) {
    std::size_t index = following_ ? lines.size() - 1
                                   : static_cast<std::size_t>(std::min<std::uint64_t>(
                                         bottom_ - std::min(bottom_, first), lines.size() - 1));
    const int width = std::max(static_cast<int>(client.right) - 2 * kMargin, 1);
    for (int bottom = static_cast<int>(client.bottom) - 2; bottom > 0; --index) {
      bottom = PaintLine(memory, lines[index], first + index, bottom, width);
      if (index == 0) break;
    }
  }
  ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  ::SelectObject(memory, oldFont);
}

void MessageView::FreeBackBuffer() {
  if (!back_.dc) return;
  ::SelectObject(back_.dc, back_.old);
  ::DeleteObject(back_.bitmap);
  ::DeleteDC(back_.dc);
  back_ = {};
}

std::uint64_t MessageView::SerialAt(int y) const {
  for (const Painted& line : painted_) {
    if (y >= line.top && y < line.bottom) return line.serial;
  }
  if (painted_.empty()) return 0;
  return y < painted_.back().top ? painted_.back().serial : painted_.front().serial;
}

// The lines selected, as the logs write them, to the clipboard.
void MessageView::CopySelection() {
  const chitter::Conversation& conversation = shown_();
  const std::uint64_t first = conversation.added() - conversation.lines().size();
  std::string text;
  for (std::uint64_t serial = std::max(std::min(anchor_, reach_), first);
       serial <= std::max(anchor_, reach_) && serial - first < conversation.lines().size();
       ++serial)
    text += chitter::LogLine(conversation.lines()[static_cast<std::size_t>(serial - first)]);
  if (text.empty() || !::OpenClipboard(hwnd())) return;
  ::EmptyClipboard();
  const std::u16string wide = chitter::Utf8ToUtf16(text);
  const std::string ansi = text_.ansi().FromUtf16(wide);
  const bool unicode = text_.unicode();
  const std::size_t bytes = unicode ? (wide.size() + 1) * sizeof(char16_t) : ansi.size() + 1;
  if (const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::memcpy(::GlobalLock(memory),
                unicode ? static_cast<const void*>(wide.c_str()) : ansi.c_str(), bytes);
    ::GlobalUnlock(memory);
    if (!::SetClipboardData(unicode ? CF_UNICODETEXT : CF_TEXT, memory)) ::GlobalFree(memory);
  }
  ::CloseClipboard();
}

void MessageView::OpenLinkAt(POINT point) {
  for (const Link& link : links_) {
    if (!::PtInRect(&link.area, point)) continue;
    // Never through the code page, whose look-alikes would hand the browser arguments.
    if (const auto address = chitter::LinkAddress(link.address))
      ::ShellExecuteA(nullptr, nullptr, address->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
}

LRESULT MessageView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      UpdateScrollBar(false);
      ::InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_VSCROLL: {
      SCROLLINFO info = {sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      ::GetScrollInfo(hwnd(), SB_VERT, &info);
      OnScroll(LOWORD(wParam), info.nTrackPos);
      return 0;
    }
    case WM_MOUSEWHEEL:
      for (int step = 0; step < 3; ++step)
        OnScroll(static_cast<short>(HIWORD(wParam)) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
      return 0;
    case WM_LBUTTONDOWN:
      ::SetCapture(hwnd());
      selecting_ = true, selected_ = false;
      pressed_ = point;
      anchor_ = reach_ = SerialAt(point.y);
      return 0;
    case WM_MOUSEMOVE:
      if (selecting_ && (std::abs(point.y - pressed_.y) > 3 || selected_)) {
        selected_ = true;
        reach_ = SerialAt(point.y);
        ::InvalidateRect(hwnd(), nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONUP:
      if (!selecting_) return 0;
      selecting_ = false;
      ::ReleaseCapture();
      if (selected_) {
        CopySelection();
      } else {
        OpenLinkAt(point);
      }
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT at = {};
        ::GetCursorPos(&at);
        ::ScreenToClient(hwnd(), &at);
        const bool overLink = std::ranges::any_of(
            links_, [&](const Link& link) { return ::PtInRect(&link.area, at); });
        const HCURSOR hand = ::LoadCursorA(nullptr, IDC_HAND);
        ::SetCursor(overLink && hand ? hand : ::LoadCursorA(nullptr, IDC_IBEAM));
        return TRUE;
      }
      break;
  }
  return WindowBase::OnMessage(message, wParam, lParam);
}

}  // namespace ludora::win32
