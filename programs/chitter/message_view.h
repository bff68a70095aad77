// The messages of the tab shown: a read-only rich edit control (riched20),
// filled by RTF streams: all the conversation's lines when the tab changes,
// then only the lines that came since; the oldest go as the conversation's
// scrollback drops them. It stays at the bottom unless the user scrolled
// up; a web address in it opens in the browser.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include <richedit.h>

#include "chitter/conversation.h"
#include "chitter/wide_text.h"

namespace ludora::win32 {

class MessageView {
 public:
  MessageView(HWND parent, UINT id, const WideText& text);
  HWND hwnd() const { return edit_; }

  // Shows the conversation's new lines, or all of them for another one.
  void Follow(const chitter::Conversation& conversation, bool colours);
  // Shows all its lines again (the colours were switched).
  void Reload(const chitter::Conversation& conversation, bool colours);
  // EN_LINK: a click on a web address opens it.
  void OnLink(const ENLINK& link);

 private:
  void Stream(const std::vector<const chitter::Line*>& lines, bool colours);
  void DropOldest(std::size_t count);

  HWND edit_;
  const WideText& text_;
  std::uint32_t shownId_ = 0xFFFFFFFF;
  std::uint64_t shownAdded_ = 0;
  std::deque<std::size_t> lengths_;  // each line's characters in the control, in order
};

}  // namespace ludora::win32
