// A channel's members beside its messages: a list box without data of its
// own (LBS_NODATA), which asks for each line it draws, so thousands of
// members cost nothing until seen. Status symbol, then the nick.
#pragma once

#include <cstdint>
#include <vector>

#include "chitter/conversation.h"
#include "win32/win.h"

namespace ludora::win32 {

class MemberList {
 public:
  MemberList(HWND parent, UINT id);
  HWND hwnd() const { return list_; }
  // The members of this channel, `count` of them.
  void ShowChannel(std::uint32_t channel, std::size_t count);
  // The member in the line; `show` turns a nick from the wire into UTF-8.
  template <typename Show>
  void Draw(const DRAWITEMSTRUCT& item, const std::vector<const chitter::Member*>& members,
            Show&& show) {
    if (item.itemID < members.size()) {
      const chitter::Member& member = *members[item.itemID];
      DrawLine(item,
               (member.status.empty() ? " " : member.status.substr(0, 1)) + show(member.nick));
    }
  }
  // The line selected, or -1.
  int selected() const;

 private:
  void DrawLine(const DRAWITEMSTRUCT& item, const std::string& text);
  HWND list_;
  std::uint32_t channel_ = 0xFFFFFFFF;
  std::size_t count_ = 0;
};

}  // namespace ludora::win32
