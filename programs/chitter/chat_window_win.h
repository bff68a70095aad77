// Chitter's one window: a tab per server, channel and private conversation
// across the top, the topic under them, the messages, the members of a
// channel at the right, and the input line at the bottom. It hands the
// program (Chat) the user's input, the sockets' messages and the time, and
// shows what the program holds a tenth of a second later at most.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chitter/chat.h"
#include "chitter/input_line.h"
#include "chitter/line_layout.h"
#include "chitter/member_list_win.h"
#include "chitter/message_view_win.h"
#include "chitter/name_lookup_win.h"
#include "chitter/tray_icon_win.h"
#include "chitter/wide_text_win.h"
#include "win32/window_base.h"

namespace ludora::win32 {

inline constexpr char kChitterClass[] = "CorvaneLudoraChitter";
// Posted by a second chitter.exe: show yourself.
inline constexpr UINT kShowMessage = WM_APP + 1;

// Milliseconds from GetTickCount, not wrapping after 49 days; and the local time.
class SteadyClock {
 public:
  chitter::Clock Now();

 private:
  DWORD last_ = 0;
  std::uint64_t high_ = 0;
};

class ChatWindow : public WindowBase {
 public:
  ChatWindow(HINSTANCE instance, const WideText& text);
  ~ChatWindow() override;

  // The program the window shows, and its name look-ups; its start after that.
  void Attach(chitter::Chat& chat, NameLookup& lookup);
  SteadyClock& clock() { return clock_; }
  // Keys of the input line the window takes first (Enter, Tab, Up, Down,
  // Ctrl+W, Ctrl+Tab, Page Up and Down); whether it took this one.
  bool PreTranslate(const MSG& message);
  void Restore();

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnNcDestroy() override { ::PostQuitMessage(0); }
  void CreateControls();
  HMENU BuildMenu() const;
  void Layout();
  void Refresh();
  void RefreshTabs();
  void ShowSelected();
  void SelectIndex(int index);
  void Send();
  void Complete();
  void Recall(bool up);
  void Command(UINT id);
  void DrawTab(const DRAWITEMSTRUCT& item);
  void DrawTopic(const DRAWITEMSTRUCT& item);
  HFONT TopicFont(const chitter::Style& style);
  void OpenQueryFromList();
  void Minimised();
  void TakeLookUps();
  const std::vector<const chitter::Member*>& Members() const;

  const WideText& text_;
  chitter::Chat* chat_ = nullptr;
  NameLookup* lookup_ = nullptr;
  const chitter::Conversation none_{chitter::Conversation::Kind::Server, "", 0xFFFFFFFF};
  SteadyClock clock_;
  HFONT font_ = nullptr;
  HWND tabs_ = nullptr, topic_ = nullptr, input_ = nullptr;
  std::vector<chitter::ShownRun> topicRuns_;  // the topic line, drawn by the window
  HFONT topicFonts_[16] = {};                 // by bold, italic, underline and strike-through
  std::unique_ptr<MessageView> view_;
  std::unique_ptr<MemberList> members_;
  std::unique_ptr<TrayIcon> tray_;
  chitter::InputHistory history_;
  chitter::NickCompleter completer_;

  std::vector<chitter::Chat::Tab> tabList_;
  std::vector<chitter::Activity> drawnActivity_;
  std::uint64_t tabChanges_ = ~std::uint64_t{0};
  chitter::Chat::Tab shownTab_{~0u, ~0u};
  std::uint32_t shownChanges_ = ~0u;
  std::uint64_t mentions_ = 0;
  UINT taskbarCreated_ = 0;
};

}  // namespace ludora::win32
