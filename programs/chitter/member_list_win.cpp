#include "chitter/member_list_win.h"

#include "chitter/text.h"
#include "chitter/wide_text_win.h"

namespace ludora::win32 {

MemberList::MemberList(HWND parent, UINT id) {
  list_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NODATA | LBS_OWNERDRAWFIXED |
                                LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                            ::GetModuleHandleA(nullptr), nullptr);
}

void MemberList::ShowChannel(std::uint32_t channel, std::size_t count) {
  if (channel != channel_) {
    channel_ = channel;
    ::SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
  // The same number of lines: the list box keeps them, only their text may differ.
  if (count == count_) {
    ::InvalidateRect(list_, nullptr, FALSE);
    return;
  }
  count_ = count;
  const LRESULT top = ::SendMessageA(list_, LB_GETTOPINDEX, 0, 0);
  ::SendMessageA(list_, LB_SETCOUNT, count, 0);
  ::SendMessageA(list_, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  ::InvalidateRect(list_, nullptr, TRUE);
}

int MemberList::selected() const {
  return static_cast<int>(::SendMessageA(list_, LB_GETCURSEL, 0, 0));
}

void MemberList::DrawLine(const DRAWITEMSTRUCT& item, const std::string& text) {
  const bool chosen = (item.itemState & ODS_SELECTED) != 0;
  ::SetBkColor(item.hDC, ::GetSysColor(chosen ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetTextColor(item.hDC, ::GetSysColor(chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  ::ExtTextOutA(item.hDC, 0, 0, ETO_OPAQUE, &item.rcItem, "", 0, nullptr);
  RECT area = item.rcItem;
  area.left += 2;
  DrawWide(item.hDC, area.left, area.top, area, chitter::Utf8ToUtf16(text));
}

}  // namespace ludora::win32
