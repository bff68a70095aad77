#include "chitter/chat_window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "resources/resource_ids.h"

namespace ludora::win32 {

namespace {

enum : UINT { kTabsId = 10, kTopicId, kMembersId, kInputId };
enum : UINT {
  kMenuSettings = 100,
  kMenuColours,
  kMenuLog,
  kMenuAnsi,
  kMenuTray,
  kMenuClose,
  kMenuExit
};
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 100;
constexpr UINT kTrayMessage = WM_APP + 4;
constexpr int kMembersWidth = 150;
constexpr std::size_t kLongestInput = 4000;

// The options of the menu, each a setting.
struct Option {
  UINT id;
  const char* caption;
  bool chitter::Settings::*setting;
};
constexpr Option kOptions[] = {
    {kMenuColours, "Show &colours and bold", &chitter::Settings::colours},
    {kMenuLog, "&Log conversations", &chitter::Settings::log},
    {kMenuAnsi, "Send in the &ANSI code page, not UTF-8", &chitter::Settings::ansi},
    {kMenuTray, "&Minimise to the notification area", &chitter::Settings::tray},
};

COLORREF ActivityColour(chitter::Activity activity) {
  switch (activity) {
    case chitter::Activity::Mention:
      return RGB(208, 0, 0);
    case chitter::Activity::Messages:
      return RGB(0, 0, 176);
    case chitter::Activity::Events:
      return RGB(0, 120, 0);
    default:
      return ::GetSysColor(COLOR_BTNTEXT);
  }
}

COLORREF Colour(std::int32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void Flash(HWND window) {
  using FlashEx = BOOL(WINAPI*)(PFLASHWINFO);
  const auto flash = reinterpret_cast<FlashEx>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "FlashWindowEx")));
  FLASHWINFO info = {sizeof info, window, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
  if (!flash || !flash(&info)) ::FlashWindow(window, TRUE);
}

int FontHeight(HWND window, HFONT font) {
  const HDC dc = ::GetDC(window);
  const HGDIOBJ old = ::SelectObject(dc, font);
  TEXTMETRICA metrics = {};
  ::GetTextMetricsA(dc, &metrics);
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return metrics.tmHeight > 0 ? metrics.tmHeight : 13;
}

}  // namespace

chitter::Clock SteadyClock::Now() {
  const DWORD tick = ::GetTickCount();
  if (tick < last_) high_ += std::uint64_t{1} << 32;
  last_ = tick;
  SYSTEMTIME local = {};
  ::GetLocalTime(&local);
  return {high_ + tick, local.wYear,   local.wMonth, local.wDay,
          local.wHour,  local.wMinute, local.wSecond};
}

ChatWindow::ChatWindow(HINSTANCE instance, const WideText& text) : text_(text) {
  const HICON icon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_LUDORA));
  RegisterWindowClass(instance, kChitterClass, ::LoadCursorA(nullptr, IDC_ARROW), icon,
                      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  CreateWindowOf(instance, kChitterClass, "Chitter", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                 CW_USEDEFAULT, CW_USEDEFAULT, 760, 520);
  if (!hwnd()) return;
  CreateControls();
  tray_ = std::make_unique<TrayIcon>(hwnd(), kTrayMessage, icon);
  taskbarCreated_ = ::RegisterWindowMessageA("TaskbarCreated");
}

ChatWindow::~ChatWindow() {
  if (hwnd()) ::DestroyWindow(hwnd());
  for (const HFONT font : topicFonts_) {
    if (font) ::DeleteObject(font);
  }
}

void ChatWindow::CreateControls() {
  font_ = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  tabs_ = ::CreateWindowExA(
      0, WC_TABCONTROLA, "",
      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_OWNERDRAWFIXED | TCS_MULTILINE | TCS_FOCUSNEVER,
      0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(UINT_PTR{kTabsId}), ::GetModuleHandleA(nullptr),
      nullptr);
  // Drawn by the window (WM_DRAWITEM), in the topic's colours and bold.
  topic_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW,
                             0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(UINT_PTR{kTopicId}),
                             ::GetModuleHandleA(nullptr), nullptr);
  view_ = std::make_unique<MessageView>(hwnd(), text_, [this]() -> const chitter::Conversation& {
    return chat_ ? chat_->ConversationOf(shownTab_) : none_;
  });
  members_ = std::make_unique<MemberList>(hwnd(), kMembersId);
  input_ = text_.CreateControl("EDIT", L"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                               WS_EX_CLIENTEDGE, hwnd(), kInputId);
  for (const HWND control : {tabs_, topic_, members_->hwnd(), input_})
    ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  ::SendMessageA(members_->hwnd(), LB_SETITEMHEIGHT, 0, FontHeight(hwnd(), font_) + 2);
  ::SendMessageA(input_, EM_LIMITTEXT, kLongestInput, 0);
}

HMENU ChatWindow::BuildMenu() const {
  const HMENU menu = ::CreateMenu(), chitter = ::CreatePopupMenu();
  ::AppendMenuA(chitter, MF_STRING, kMenuSettings, "&Settings file...");
  ::AppendMenuA(chitter, MF_SEPARATOR, 0, nullptr);
  for (const Option& option : kOptions) {
    const bool on = chat_->settings().*option.setting;
    ::AppendMenuA(chitter, MF_STRING | (on ? MF_CHECKED : 0), option.id, option.caption);
  }
  ::AppendMenuA(chitter, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(chitter, MF_STRING, kMenuClose, "Close &tab\tCtrl+W");
  ::AppendMenuA(chitter, MF_STRING, kMenuExit, "E&xit");
  ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(chitter), "&Chitter");
  return menu;
}

void ChatWindow::Attach(chitter::Chat& chat, NameLookup& lookup) {
  chat_ = &chat;
  lookup_ = &lookup;
  chat.Start(clock_.Now());
  ::SetMenu(hwnd(), BuildMenu());
  const auto tabs = chat.Tabs();
  if (tabs.size() > 1) chat.Select(tabs[1]);
  Refresh();
  ::SetTimer(hwnd(), kTickTimer, kTickMs, nullptr);
}

void ChatWindow::Layout() {
  RECT client = {};
  ::GetClientRect(hwnd(), &client);
  const int width = client.right, height = client.bottom, line = FontHeight(hwnd(), font_);
  RECT strip = client;
  ::SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&strip));
  const int tabsHeight = std::max(static_cast<int>(strip.top) - 2, line + 6);
  const int topicHeight = line + 8, inputHeight = line + 10;
  const bool channel =
      chat_ && chat_->ConversationOf(shownTab_).kind() == chitter::Conversation::Kind::Channel;
  const int listWidth = std::min(kMembersWidth, width / 3), membersWidth = channel ? listWidth : 0;
  const int viewTop = tabsHeight + topicHeight;
  const int viewHeight = std::max(height - viewTop - inputHeight, 0);
  // One deferred batch, and only for the controls whose place changes: a
  // switch between a channel and another tab moves the view and shows or
  // hides the list, nothing else; the list keeps its place while hidden.
  const struct {
    HWND control;
    RECT area;
    bool shown;
  } places[] = {
      {tabs_, {0, 0, width, tabsHeight}, true},
      {topic_, {0, tabsHeight, width, tabsHeight + topicHeight}, true},
      {view_->hwnd(), {0, viewTop, width - membersWidth, viewTop + viewHeight}, true},
      {members_->hwnd(), {width - listWidth, viewTop, width, viewTop + viewHeight}, channel},
      {input_, {0, height - inputHeight, width, height}, true},
  };
  struct Move {
    HWND control;
    RECT from, to;
    UINT flags;
  };
  Move moves[std::size(places)];
  std::size_t count = 0;
  for (const auto& place : places) {
    RECT now = {};
    ::GetWindowRect(place.control, &now);
    ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&now), 2);
    const bool visible = (::GetWindowLongA(place.control, GWL_STYLE) & WS_VISIBLE) != 0;
    const bool moved = place.shown && !::EqualRect(&now, &place.area);
    if (!moved && visible == place.shown) continue;
    // Nothing is drawn while they move, not even a frame or scroll bar, which
    // a move otherwise paints at once; what changed is invalidated below and
    // painted when the window's turn to paint comes.
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS |
                 (moved ? 0 : SWP_NOMOVE | SWP_NOSIZE);
    if (visible != place.shown) flags |= place.shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    moves[count++] = {place.control, now, place.area, flags};
  }
  if (count == 0) return;
  HDWP batch = ::BeginDeferWindowPos(static_cast<int>(count));
  for (std::size_t i = 0; i < count && batch; ++i) {
    const RECT& to = moves[i].to;
    batch = ::DeferWindowPos(batch, moves[i].control, nullptr, to.left, to.top, to.right - to.left,
                             to.bottom - to.top, moves[i].flags);
  }
  // Without the batch (no memory for it), one by one.
  if (!batch || !::EndDeferWindowPos(batch)) {
    for (std::size_t i = 0; i < count; ++i) {
      const RECT& to = moves[i].to;
      ::SetWindowPos(moves[i].control, nullptr, to.left, to.top, to.right - to.left,
                     to.bottom - to.top, moves[i].flags);
    }
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (moves[i].flags & SWP_HIDEWINDOW) {
      ::RedrawWindow(hwnd(), &moves[i].from, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    } else {
      ::RedrawWindow(moves[i].control, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
  }
}

void ChatWindow::Refresh() {
  if (!chat_) return;
  if (chat_->tabChanges() != tabChanges_) RefreshTabs();
  for (std::size_t i = 0; i < tabList_.size(); ++i) {
    const chitter::Activity activity = chat_->ConversationOf(tabList_[i]).activity();
    RECT area = {};
    if (drawnActivity_[i] != activity &&
        ::SendMessageA(tabs_, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&area)))
      ::InvalidateRect(tabs_, &area, FALSE);
    drawnActivity_[i] = activity;
  }
  ShowSelected();
  if (chat_->mentions() != mentions_) {
    mentions_ = chat_->mentions();
    if (!::IsWindowVisible(hwnd())) {
      tray_->Attention(true);
    } else if (::GetForegroundWindow() != hwnd()) {
      Flash(hwnd());
    }
  }
}

void ChatWindow::RefreshTabs() {
  tabChanges_ = chat_->tabChanges();
  const std::vector<chitter::Chat::Tab> before = std::move(tabList_);
  tabList_ = chat_->Tabs();
  drawnActivity_.assign(tabList_.size(), chitter::Activity::None);
  // The strip is drawn once, when all its tabs are in, not once a tab.
  ::SendMessageA(tabs_, WM_SETREDRAW, FALSE, 0);
  ::SendMessageA(tabs_, TCM_DELETEALLITEMS, 0, 0);
  for (std::size_t i = 0; i < tabList_.size(); ++i) {
    // The text sizes the tab; the tab is drawn here (its colour says what happened).
    const std::u16string title = chitter::Utf8ToUtf16(chat_->Title(tabList_[i]) + "  ");
    if (text_.unicode()) {
      TCITEMW item = {};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(title.c_str()));
      text_.Send(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    } else {
      std::string ansi = text_.ansi().FromUtf16(title);
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = ansi.data();
      ::SendMessageA(tabs_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
  }
  // A channel just joined comes to the front, unless the user looks at a conversation.
  const chitter::Conversation& looked = chat_->ConversationOf(chat_->selected());
  for (const chitter::Chat::Tab& tab : tabList_) {
    const bool isNew = std::ranges::find(before, tab) == before.end() && !before.empty();
    if (isNew && looked.kind() == chitter::Conversation::Kind::Server &&
        chat_->ConversationOf(tab).kind() == chitter::Conversation::Kind::Channel)
      chat_->Select(tab);
  }
  if (std::ranges::find(tabList_, chat_->selected()) == tabList_.end())
    chat_->Select(tabList_.front());
  const auto at = std::ranges::find(tabList_, chat_->selected()) - tabList_.begin();
  ::SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(at), 0);
  ::SendMessageA(tabs_, WM_SETREDRAW, TRUE, 0);
  ::RedrawWindow(tabs_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  Layout();
}

const std::vector<const chitter::Member*>& ChatWindow::Members() const {
  return chat_->ConversationOf(shownTab_).Sorted(chat_->FeaturesOf(shownTab_));
}

void ChatWindow::ShowSelected() {
  const chitter::Chat::Tab tab = chat_->selected();
  const chitter::Conversation& conversation = chat_->ConversationOf(tab);
  const bool switched = !(tab == shownTab_);
  if (switched) {
    shownTab_ = tab;
    text_.SetText(hwnd(), chat_->Title(tab) + " - Chitter");
    const auto at = std::ranges::find(tabList_, tab) - tabList_.begin();
    ::SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(at), 0);
    Layout();
  }
  view_->Follow(conversation, chat_->settings().colours);
  if (!switched && conversation.changes() == shownChanges_) return;
  shownChanges_ = conversation.changes();
  topicRuns_ = chitter::TopicRuns(chat_->TopicLine(tab), chat_->settings().colours);
  ::InvalidateRect(topic_, nullptr, FALSE);
  // Hidden beside any other tab, the list keeps the last channel's lines until the next.
  if (conversation.kind() == chitter::Conversation::Kind::Channel)
    members_->ShowChannel(conversation.id(), Members().size());
}

void ChatWindow::SelectIndex(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= tabList_.size()) return;
  chat_->Select(tabList_[static_cast<std::size_t>(index)]);
  completer_.Reset();
  Refresh();
}

void ChatWindow::Send() {
  const std::u16string line = text_.Text(input_);
  text_.SetText16(input_, u"");
  history_.Add(line);
  completer_.Reset();
  chat_->Input(chitter::Utf16ToUtf8(line), clock_.Now());
  Refresh();
}

void ChatWindow::Complete() {
  DWORD start = 0, end = 0;
  ::SendMessageA(input_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  const auto names =
      completer_.cycling() ? std::vector<std::string>() : chat_->Candidates(shownTab_);
  const auto done = completer_.Next(text_.Text(input_), end, names, chat_->FeaturesOf(shownTab_));
  if (!done) return;
  text_.SetText16(input_, done->text);
  ::SendMessageA(input_, EM_SETSEL, done->cursor, static_cast<LPARAM>(done->cursor));
}

void ChatWindow::Recall(bool up) {
  const auto line = up ? history_.Up(text_.Text(input_)) : history_.Down();
  if (!line) return;
  text_.SetText16(input_, *line);
  ::SendMessageA(input_, EM_SETSEL, line->size(), static_cast<LPARAM>(line->size()));
}

bool ChatWindow::PreTranslate(const MSG& message) {
  if (message.hwnd != hwnd() && !::IsChild(hwnd(), message.hwnd)) return false;
  if (message.message == WM_CHAR && message.hwnd == input_ &&
      (message.wParam == '\t' || message.wParam == '\r'))
    return true;  // the keys below, which beep in an edit control
  if (message.message != WM_KEYDOWN || !chat_) return false;
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  const int at = static_cast<int>(::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0));
  const int count = static_cast<int>(tabList_.size());
  if (control && message.wParam == 'W') return Command(kMenuClose), true;
  if (control &&
      (message.wParam == VK_TAB || message.wParam == VK_NEXT || message.wParam == VK_PRIOR)) {
    const bool back =
        message.wParam == VK_PRIOR || (message.wParam == VK_TAB && ::GetKeyState(VK_SHIFT) < 0);
    SelectIndex((at + (back ? count - 1 : 1)) % std::max(count, 1));
    return true;
  }
  if (message.hwnd != input_) return false;
  switch (message.wParam) {
    case VK_RETURN:
      Send();
      return true;
    case VK_TAB:
      Complete();
      return true;
    case VK_UP:
      Recall(true);
      return true;
    case VK_DOWN:
      Recall(false);
      return true;
    case VK_PRIOR:
      view_->Scroll(SB_PAGEUP);
      return true;
    case VK_NEXT:
      view_->Scroll(SB_PAGEDOWN);
      return true;
    case VK_SHIFT:
    case VK_CONTROL:
      return false;
    default:
      completer_.Reset();
      return false;
  }
}

void ChatWindow::Command(UINT id) {
  for (const Option& option : kOptions) {
    if (option.id != id) continue;
    const bool on = !(chat_->settings().*option.setting);
    chat_->SetOption(option.setting, on);
    ::CheckMenuItem(::GetMenu(hwnd()), id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    if (id == kMenuColours) {
      shownChanges_ = ~0u;  // the view and the topic line drawn again
      ShowSelected();
    }
    return;
  }
  switch (id) {
    case kMenuSettings:
      ::ShellExecuteA(hwnd(), nullptr, "notepad.exe", chat_->settingsPath().c_str(), nullptr,
                      SW_SHOWNORMAL);
      chat_->Note({}, chitter::LineKind::Info,
                  "Changes to the settings file apply at the next start.");
      break;
    case kMenuClose:
      chat_->CloseTab(chat_->selected(), clock_.Now());
      Refresh();
      break;
    case kMenuExit:
      ::PostMessageA(hwnd(), WM_CLOSE, 0, 0);
      break;
  }
}

void ChatWindow::DrawTab(const DRAWITEMSTRUCT& item) {
  ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
  if (item.itemID >= tabList_.size()) return;
  const chitter::Activity activity = chat_->ConversationOf(tabList_[item.itemID]).activity();
  ::SetBkMode(item.hDC, TRANSPARENT);
  ::SetTextColor(item.hDC, ActivityColour(activity));
  RECT area = item.rcItem;
  area.left += 6;
  DrawWide(item.hDC, area.left, area.top + 2, area,
           chitter::Utf8ToUtf16(chat_->Title(tabList_[item.itemID])));
}

HFONT ChatWindow::TopicFont(const chitter::Style& style) {
  const int index = (style.bold ? 1 : 0) | (style.italic ? 2 : 0) | (style.underline ? 4 : 0) |
                    (style.strike ? 8 : 0);
  if (index == 0) return font_;
  if (!topicFonts_[index]) {
    LOGFONTA font = {};
    ::GetObjectA(font_, sizeof font, &font);
    font.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = style.italic;
    font.lfUnderline = style.underline;
    font.lfStrikeOut = style.strike;
    topicFonts_[index] = ::CreateFontIndirectA(&font);
  }
  return topicFonts_[index] ? topicFonts_[index] : font_;
}

void ChatWindow::DrawTopic(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  const RECT area = item.rcItem;
  ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  const HGDIOBJ old = ::SelectObject(dc, font_);
  TEXTMETRICA metrics = {};
  ::GetTextMetricsA(dc, &metrics);
  const int y =
      area.top + std::max(0, static_cast<int>(area.bottom - area.top - metrics.tmHeight) / 2);
  int x = area.left + 3;
  for (const chitter::ShownRun& run : topicRuns_) {
    if (x >= area.right) break;
    const chitter::Ink ink = chitter::InkOf(run);
    chitter::Style style = run.style;
    style.underline = style.underline || run.link;
    ::SelectObject(dc, TopicFont(style));
    ::SetTextColor(dc, Colour(ink.text));
    ::SetBkMode(dc, ink.paper == chitter::kDefaultColour ? TRANSPARENT : OPAQUE);
    if (ink.paper != chitter::kDefaultColour) ::SetBkColor(dc, Colour(ink.paper));
    DrawWide(dc, x, y, area, run.text);
    SIZE size = {};
    ::GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(run.text.c_str()),
                            static_cast<int>(run.text.size()), &size);
    x += size.cx;
  }
  ::SelectObject(dc, old);
}

void ChatWindow::OpenQueryFromList() {
  const int index = members_->selected();
  chitter::Session* session = chat_->SessionOf(shownTab_);
  const auto& members = Members();
  if (!session || index < 0 || static_cast<std::size_t>(index) >= members.size()) return;
  chitter::Conversation& query =
      session->client().OpenQuery(members[static_cast<std::size_t>(index)]->nick);
  chat_->Select(chat_->TabOf(*session, query));
  Refresh();
  ::SetFocus(input_);
}

void ChatWindow::Minimised() {
  if (chat_ && chat_->settings().tray && tray_->Show("Chitter")) ::ShowWindow(hwnd(), SW_HIDE);
}

// The answers of the look-ups, at their message and at each tick (in case
// a message was lost: a queue of messages has an end).
void ChatWindow::TakeLookUps() {
  for (const NameLookup::Answer& answer : lookup_->Take())
    chat_->OnResolved(answer.ticket, answer.addresses, clock_.Now());
}

void ChatWindow::Restore() {
  tray_->Hide();
  ::ShowWindow(hwnd(), ::IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
  ::SetForegroundWindow(hwnd());
  ::SetFocus(input_);
}

LRESULT ChatWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!chat_) return WindowBase::OnMessage(message, wParam, lParam);
  if (chitter::Numbers::IsSocketMessage(message)) {
    chat_->OnSocket(message, wParam, lParam, clock_.Now());
    return 0;
  }
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    tray_->AddAgain();
    return 0;
  }
  switch (message) {
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        Minimised();
      } else {
        Layout();
      }
      return 0;
    case WM_TIMER:
      TakeLookUps();
      chat_->Tick(clock_.Now());
      Refresh();
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) {
        SelectIndex(static_cast<int>(::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)));
        ::SetFocus(input_);
      }
      return 0;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.hwndItem == tabs_) DrawTab(item);
      if (item.hwndItem == topic_) DrawTopic(item);
      if (item.hwndItem == members_->hwnd()) {
        chitter::Session* session = chat_->SessionOf(shownTab_);
        members_->Draw(item, session ? Members() : std::vector<const chitter::Member*>(),
                       [&](const std::string& nick) { return session->client().Shown(nick); });
      }
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kMembersId && HIWORD(wParam) == LBN_DBLCLK) {
        OpenQueryFromList();
      } else if (lParam == 0) {
        Command(LOWORD(wParam));
      }
      return 0;
    case WM_SETFOCUS:
      ::SetFocus(input_);
      return 0;
    case WM_MOUSEWHEEL:
      return ::SendMessageA(view_->hwnd(), message, wParam, lParam);
    case kResolvedMessage:
      TakeLookUps();
      return 0;
    case kShowMessage:
      Restore();
      return 0;
    case kTrayMessage:
      if (lParam == WM_LBUTTONUP || lParam == WM_LBUTTONDBLCLK || lParam == WM_RBUTTONUP) Restore();
      return 0;
    case WM_CLOSE:
      chat_->Quit("Leaving", clock_.Now());
      ::DestroyWindow(hwnd());
      return 0;
    case WM_ENDSESSION:
      if (wParam) chat_->Quit("Leaving", clock_.Now());
      return 0;
  }
  return WindowBase::OnMessage(message, wParam, lParam);
}

}  // namespace ludora::win32
