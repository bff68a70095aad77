#include "chitter/message_view.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>

#include "chitter/rich_text.h"

namespace ludora::win32 {

namespace {

struct Source {
  const std::string* rtf;
  std::size_t at;
};

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
  auto* source = reinterpret_cast<Source*>(cookie);
  const std::size_t count =
      std::min(static_cast<std::size_t>(size), source->rtf->size() - source->at);
  std::memcpy(buffer, source->rtf->data() + source->at, count);
  source->at += count;
  *read = static_cast<LONG>(count);
  return 0;
}

bool AtBottom(HWND edit) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (!::GetScrollInfo(edit, SB_VERT, &info) || info.nPage == 0) return true;
  return info.nPos + static_cast<int>(info.nPage) >= info.nMax - 4;
}

}  // namespace

MessageView::MessageView(HWND parent, UINT id, const WideText& text) : text_(text) {
  ::LoadLibraryA("riched20.dll");
  edit_ = text.CreateControl(RICHEDIT_CLASSA, RICHEDIT_CLASSW,
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                                 ES_AUTOVSCROLL | ES_NOHIDESEL,
                             WS_EX_CLIENTEDGE, parent, id);
  if (!edit_) return;
  ::SendMessageA(edit_, EM_EXLIMITTEXT, 0, 64 << 20);
  ::SendMessageA(edit_, EM_AUTOURLDETECT, TRUE, 0);
  ::SendMessageA(edit_, EM_SETEVENTMASK, 0, ENM_LINK);
}

void MessageView::Follow(const chitter::Conversation& conversation, bool colours) {
  if (!edit_) return;
  const auto& lines = conversation.lines();
  const std::uint64_t fresh = conversation.added() - shownAdded_;
  if (conversation.id() != shownId_ || fresh > lines.size()) return Reload(conversation, colours);
  if (fresh == 0) return;
  std::vector<const chitter::Line*> batch;
  for (auto line = lines.end() - static_cast<std::ptrdiff_t>(fresh); line != lines.end(); ++line)
    batch.push_back(&*line);
  Stream(batch, colours);
  shownAdded_ = conversation.added();
  if (lengths_.size() > lines.size()) DropOldest(lengths_.size() - lines.size());
}

void MessageView::Reload(const chitter::Conversation& conversation, bool colours) {
  if (!edit_) return;
  shownId_ = conversation.id();
  shownAdded_ = conversation.added();
  lengths_.clear();
  ::SendMessageA(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  std::vector<const chitter::Line*> batch;
  for (const chitter::Line& line : conversation.lines()) batch.push_back(&line);
  Stream(batch, colours);
}

void MessageView::Stream(const std::vector<const chitter::Line*>& lines, bool colours) {
  if (lines.empty()) return;
  const bool bottom = AtBottom(edit_);
  chitter::RichBatch batch =
      chitter::RichText(lines, !lengths_.empty(), colours, text_.unicode(), text_.ansi());
  CHARRANGE kept = {};
  ::SendMessageA(edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
  CHARRANGE end = {-1, -1};
  ::SendMessageA(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
  Source source{&batch.rtf, 0};
  EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, ReadRtf};
  ::SendMessageA(edit_, EM_SETREADONLY, FALSE, 0);
  ::SendMessageA(edit_, EM_STREAMIN, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
  ::SendMessageA(edit_, EM_SETREADONLY, TRUE, 0);
  ::SendMessageA(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
  lengths_.insert(lengths_.end(), batch.lengths.begin(), batch.lengths.end());
  if (bottom) ::SendMessageA(edit_, WM_VSCROLL, SB_BOTTOM, 0);
}

void MessageView::DropOldest(std::size_t count) {
  const auto length = std::accumulate(lengths_.begin(), lengths_.begin() + static_cast<std::ptrdiff_t>(count),
                                      std::size_t{0});
  lengths_.erase(lengths_.begin(), lengths_.begin() + static_cast<std::ptrdiff_t>(count));
  const bool bottom = AtBottom(edit_);
  CHARRANGE kept = {};
  ::SendMessageA(edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
  CHARRANGE oldest = {0, static_cast<LONG>(length)};
  ::SendMessageA(edit_, EM_SETREADONLY, FALSE, 0);
  ::SendMessageA(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&oldest));
  static const wchar_t kNothing[] = L"";  // empty in either form of the control
  ::SendMessageA(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(kNothing));
  ::SendMessageA(edit_, EM_SETREADONLY, TRUE, 0);
  const LONG gone = static_cast<LONG>(length);
  kept = {std::max(kept.cpMin - gone, LONG{0}), std::max(kept.cpMax - gone, LONG{0})};
  ::SendMessageA(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
  if (bottom) ::SendMessageA(edit_, WM_VSCROLL, SB_BOTTOM, 0);
}

void MessageView::OnLink(const ENLINK& link) {
  if (link.msg != WM_LBUTTONUP) return;
  const LONG length = link.chrg.cpMax - link.chrg.cpMin;
  if (length <= 0 || length > 2048) return;
  // The control answers in its own form, Unicode or ANSI.
  std::u16string wide(static_cast<std::size_t>(length) + 1, u'\0');
  std::string address(static_cast<std::size_t>(length) + 1, '\0');
  TEXTRANGEA range = {link.chrg, text_.unicode() ? reinterpret_cast<char*>(wide.data()) : address.data()};
  const auto got = static_cast<std::size_t>(
      ::SendMessageA(edit_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
  address = text_.unicode() ? text_.ansi().FromUtf16(wide.substr(0, got)) : address.substr(0, got);
  ::ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace ludora::win32
