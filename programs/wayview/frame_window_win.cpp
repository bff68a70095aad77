#include "wayview/frame_window_win.h"

#include <commctrl.h>

#include <algorithm>

#include "resources/resource_ids.h"
#include "wayview/address.h"
#include "wayview/typed_urls.h"

namespace ludora::win32 {

namespace {

using wayview::Command;

constexpr char kClass[] = "CorvaneLudoraWayview";
constexpr UINT kCommandIds = 100;  // a command's id: this plus its number
constexpr UINT kAddressId = 90;
constexpr UINT kGoId = 91;
constexpr UINT kStatusId = 92;
constexpr UINT kGoMessage = WM_APP + 1;          // a typed address picked from the box's list
constexpr UINT kPageClosesMessage = WM_APP + 2;  // wParam: whether a page's script opened it
constexpr int kRowHeight = 30;
constexpr int kProgressWidth = 150;
constexpr int kMaxBoxText = 32767;  // the address box takes this much; longer is cut there

UINT IdOf(Command command) {
  return kCommandIds + static_cast<UINT>(command);
}

// The menu bar, a row a line; a row without a caption is a separator.
struct MenuRow {
  int menu;
  const char* caption;
  Command command;
};
constexpr const char* kMenus[] = {"&File", "&View", "&Go", "F&avorites"};
constexpr int kFavorites = 3;
constexpr UINT kFavoritesKept = 3;  // the items above the favourites
constexpr MenuRow kMenuRows[] = {
    {0, "&New Window\tCtrl+N", Command::NewWindow},
    {0, "Open &Address\tCtrl+L", Command::FocusAddress},
    {0, nullptr, Command::None},
    {0, "&Close\tCtrl+W", Command::Close},
    {1, "&Stop\tEsc", Command::Stop},
    {1, "&Refresh\tF5", Command::Refresh},
    {1, nullptr, Command::None},
    {1, "&Full Screen\tF11", Command::FullScreen},
    {2, "&Back\tAlt+Left", Command::Back},
    {2, "&Forward\tAlt+Right", Command::Forward},
    {2, "&Home Page\tAlt+Home", Command::Home},
    {2, nullptr, Command::None},
    {2, "Use the &Current Page as Home", Command::SetHome},
    {2, "Use &Ludora's Start Page as Home", Command::ResetHome},
    {3, "&Add to Favorites\tCtrl+D", Command::AddFavorite},
    {3, "&Organize Favorites...", Command::OrganizeFavorites},
    {3, nullptr, Command::None},
};

// The buttons' captions, in the order of wayview::kButtons.
constexpr const char* kButtonCaptions[] = {"Back", "Forward", "Stop", "Refresh", "Home"};

HMENU MakeMenuBar(HMENU& favorites) {
  const HMENU bar = ::CreateMenu();
  int menu = 0;
  for (const char* title : kMenus) {
    const HMENU popup = ::CreatePopupMenu();
    for (const MenuRow& row : kMenuRows) {
      if (row.menu != menu) continue;
      ::AppendMenuA(popup, row.caption ? MF_STRING : MF_SEPARATOR, IdOf(row.command), row.caption);
    }
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
    if (menu++ == kFavorites) favorites = popup;
  }
  return bar;
}

HWND Child(HINSTANCE instance, HWND parent, const char* windowClass, const char* text, DWORD style,
           UINT id) {
  const HWND child =
      ::CreateWindowExA(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, nullptr);
  ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                 0);
  return child;
}

int CaptionWidth(HWND window) {
  char text[64] = {};
  ::GetWindowTextA(window, text, sizeof text);
  SIZE size = {};
  if (const HDC dc = ::GetDC(window)) {
    const HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(std::char_traits<char>::length(text)),
                            &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
  }
  return size.cx;
}

}  // namespace

FrameWindow::FrameWindow(HINSTANCE instance, wayview::Program& program, Frames& frames)
    : instance_(instance), program_(program), frames_(frames), frame_(program, *this) {}

FrameWindow::~FrameWindow() {
  control_.Close();
  if (hwnd()) ::DestroyWindow(hwnd());
}

bool FrameWindow::Open(const std::string& address, bool forPage, int show) {
  RegisterWindowClass(instance_, kClass, ::LoadCursorA(nullptr, IDC_ARROW),
                      ::LoadIconA(instance_, MAKEINTRESOURCEA(IDI_LUDORA)),
                      ::GetSysColorBrush(COLOR_BTNFACE));
  CreateWindowOf(instance_, kClass, "Wayview", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                 CW_USEDEFAULT, CW_USEDEFAULT, 800, 600);
  if (!hwnd()) return false;
  menuBar_ = MakeMenuBar(favoritesMenu_);
  ::SetMenu(hwnd(), menuBar_);
  MakeChildren();
  control_.Create(*this);
  Layout();
  ::ShowWindow(hwnd(), show);
  ::UpdateWindow(hwnd());
  if (forPage) {
    frame_.StartForPage();
  } else {
    frame_.Start(address);
  }
  return true;
}

void FrameWindow::MakeChildren() {
  for (std::size_t at = 0; at < std::size(wayview::kButtons); ++at) {
    buttons_.push_back(Child(instance_, hwnd(), "BUTTON", kButtonCaptions[at], BS_PUSHBUTTON,
                             IdOf(wayview::kButtons[at])));
  }
  addressLabel_ = Child(instance_, hwnd(), "STATIC", "Address", SS_CENTERIMAGE, 0);
  addressBox_ = Child(instance_, hwnd(), "COMBOBOX", "",
                      WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, kAddressId);
  addressEdit_ = ::GetWindow(addressBox_, GW_CHILD);
  ::SendMessageA(addressBox_, CB_LIMITTEXT, kMaxBoxText, 0);
  go_ = Child(instance_, hwnd(), "BUTTON", "Go", BS_PUSHBUTTON, kGoId);
  status_ = Child(instance_, hwnd(), STATUSCLASSNAMEA, "", SBARS_SIZEGRIP, kStatusId);
  progress_ = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, 0, 0, 0, 0, status_, nullptr,
                                instance_, nullptr);
  notice_ = std::make_unique<NoticeWindow>(instance_, hwnd(), IdOf(Command::Retry),
                                           IdOf(Command::OpenElsewhere));
}

RECT FrameWindow::ControlRect() const {
  RECT client = {};
  ::GetClientRect(hwnd(), &client);
  if (!fullScreen_) {
    RECT status = {};
    ::GetWindowRect(status_, &status);
    client.top = kRowHeight;
    client.bottom = std::max(client.top, client.bottom - (status.bottom - status.top));
  }
  return client;
}

void FrameWindow::Layout() {
  if (!notice_) return;  // the window is still being made
  RECT client = {};
  ::GetClientRect(hwnd(), &client);
  ::SendMessageA(status_, WM_SIZE, 0, 0);  // the status bar places itself at the bottom
  RECT status = {};
  ::GetClientRect(status_, &status);
  const int parts[] = {std::max(0, static_cast<int>(status.right) - kProgressWidth - 20), -1};
  ::SendMessageA(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  RECT part = {};
  ::SendMessageA(status_, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
  ::MoveWindow(progress_, part.left + 2, part.top + 2,
               std::min<int>(kProgressWidth, part.right - part.left - 4),
               part.bottom - part.top - 4, TRUE);

  int x = 4;
  for (const HWND button : buttons_) {
    const int width = std::max(48, CaptionWidth(button) + 20);
    ::MoveWindow(button, x, 3, width, kRowHeight - 6, TRUE);
    x += width + 2;
  }
  const int labelWidth = CaptionWidth(addressLabel_) + 8;
  ::MoveWindow(addressLabel_, x + 6, 3, labelWidth, kRowHeight - 6, TRUE);
  x += 6 + labelWidth;
  const int goWidth = std::max(36, CaptionWidth(go_) + 20);
  const int boxWidth = std::max(80, static_cast<int>(client.right) - x - goWidth - 10);
  ::MoveWindow(addressBox_, x, 4, boxWidth, 240, TRUE);
  ::MoveWindow(go_, x + boxWidth + 4, 3, goWidth, kRowHeight - 6, TRUE);

  PlacePage();
}

// The control in the page's place, or out of sight under a notice there.
void FrameWindow::PlacePage() {
  const RECT page = ControlRect();
  notice_->Place(page);
  control_.Place(notice_->shown() ? RECT{0, 0, 0, 0} : page);
}

// ---- The view of the portable frame.

ludora::HWND FrameWindow::Window() const {
  return reinterpret_cast<ludora::HWND>(hwnd());
}

void FrameWindow::SetCaption(const std::string& text) {
  ::SetWindowTextA(hwnd(), text.c_str());
}

void FrameWindow::SetAddressText(const std::string& text) {
  typedLength_ = text.size();  // not typed: nothing to complete
  ::SetWindowTextA(addressEdit_, text.c_str());
}

void FrameWindow::SetStatusText(const std::string& text) {
  ::SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void FrameWindow::SetProgress(int percent) {
  if (percent >= 0) ::SendMessageA(progress_, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  ::ShowWindow(progress_, percent >= 0 ? SW_SHOWNA : SW_HIDE);
}

void FrameWindow::EnableCommand(Command command, bool enabled) {
  const auto button =
      std::find(std::begin(wayview::kButtons), std::end(wayview::kButtons), command);
  if (button != std::end(wayview::kButtons)) {
    ::EnableWindow(buttons_[static_cast<std::size_t>(button - std::begin(wayview::kButtons))],
                   enabled);
  }
  ::EnableMenuItem(menuBar_, IdOf(command), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void FrameWindow::ShowNotice(const wayview::Notice* notice) {
  notice_->Show(notice);
  PlacePage();
}

void FrameWindow::SetFullScreen(bool on) {
  if (on == fullScreen_) return;
  fullScreen_ = on;
  if (on) {
    placement_.length = sizeof placement_;
    ::GetWindowPlacement(hwnd(), &placement_);
    style_ = ::GetWindowLongA(hwnd(), GWL_STYLE);
    ::SetMenu(hwnd(), nullptr);
    ::SetWindowLongA(hwnd(), GWL_STYLE, style_ & ~(WS_CAPTION | WS_THICKFRAME));
    ::SetWindowPos(hwnd(), HWND_TOP, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
                   ::GetSystemMetrics(SM_CYSCREEN), SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  } else {
    ::SetWindowLongA(hwnd(), GWL_STYLE, style_);
    ::SetMenu(hwnd(), menuBar_);
    ::SetWindowPlacement(hwnd(), &placement_);
    ::SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  }
  for (const HWND row : {addressLabel_, addressBox_, go_, status_}) {
    ::ShowWindow(row, on ? SW_HIDE : SW_SHOW);
  }
  for (const HWND button : buttons_) ::ShowWindow(button, on ? SW_HIDE : SW_SHOW);
  Layout();
}

void FrameWindow::FocusAddress() {
  if (fullScreen_) frame_.Run(Command::FullScreen);  // the box is in the row the view hides
  ::SetFocus(addressEdit_);
  ::SendMessageA(addressEdit_, EM_SETSEL, 0, -1);
}

void FrameWindow::OpenFrame(const std::string& address) {
  frames_.OpenFrame(address, false);
}

void FrameWindow::CloseFrame() {
  ::PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

bool FrameWindow::Navigate(const std::string& address) {
  return control_.Navigate(address);
}

void FrameWindow::Browse(Command command) {
  switch (command) {
    case Command::Back:
      return control_.GoBack();
    case Command::Forward:
      return control_.GoForward();
    case Command::Stop:
      return control_.Stop();
    case Command::Refresh:
      return control_.Refresh();
    default:
      return;
  }
}

// ---- What the control asks of the frame.

IDispatch* FrameWindow::NewWindow() {
  FrameWindow* opened = frames_.OpenFrame("", true);
  return opened ? opened->control_.Application() : nullptr;
}

// Asked from the frame's own message, not inside the control's event: a
// close while the question is open ends the control too.
void FrameWindow::WindowClosing(bool byScript) {
  ::PostMessageA(hwnd(), kPageClosesMessage, byScript ? 1 : 0, 0);
}

// ---- The user.

std::string FrameWindow::AddressText() const {
  std::string text(static_cast<std::size_t>(kMaxBoxText) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      std::max(0, ::GetWindowTextA(addressEdit_, text.data(), kMaxBoxText + 1))));
  return text;
}

bool FrameWindow::InAddressBox(HWND window) const {
  return window && (window == addressEdit_ || window == addressBox_);
}

bool FrameWindow::OwnWindow(HWND window) const {
  return InAddressBox(window) || window == go_ || window == status_ ||
         std::find(buttons_.begin(), buttons_.end(), window) != buttons_.end() ||
         window == notice_->hwnd() || ::GetParent(window) == notice_->hwnd();
}

bool FrameWindow::PreTranslate(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  const bool inBox = InAddressBox(message.hwnd);
  const bool dropped = ::SendMessageA(addressBox_, CB_GETDROPPEDSTATE, 0, 0) != 0;
  if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
    if (inBox && message.wParam == VK_RETURN) {
      listDropped_ = false;
      if (dropped) ::SendMessageA(addressBox_, CB_SHOWDROPDOWN, FALSE, 0);
      frame_.AddressEntered(AddressText());
      return true;
    }
    if (inBox && message.wParam == VK_ESCAPE) {
      if (dropped) return false;  // the list closes
      frame_.Run(Command::ResetAddress);
      control_.Focus();
      return true;
    }
    const Command command =
        wayview::CommandOfKey(static_cast<UINT>(message.wParam), ::GetKeyState(VK_CONTROL) < 0,
                              ::GetKeyState(VK_MENU) < 0, ::GetKeyState(VK_SHIFT) < 0);
    if (command != Command::None) {
      frame_.Run(command);
      return true;
    }
  }
  // The rest of the keys go to the page first, unless they are the frame's own windows'.
  return !OwnWindow(message.hwnd) && control_.TranslateKey(message);
}

// Inline completion: what the user typed at the end of the box goes on as
// the first typed address that continues it, the added part selected, so
// that typing on replaces it and Backspace takes it away.
void FrameWindow::Complete() {
  const std::string text = AddressText();
  DWORD start = 0, end = 0;
  ::SendMessageA(addressEdit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  const bool typedOn = text.size() > typedLength_ && start == end && end == text.size();
  typedLength_ = text.size();
  if (!typedOn || text.size() > wayview::kMaxAddress) return;
  const auto completed = wayview::CompleteAddress(text, typed_);
  if (!completed || completed->size() <= text.size()) return;
  completing_ = true;
  ::SetWindowTextA(addressEdit_, completed->c_str());
  ::SendMessageA(addressEdit_, EM_SETSEL, text.size(), -1);
  completing_ = false;
}

void FrameWindow::AddressBoxChanged(WORD notification) {
  switch (notification) {
    case CBN_SETFOCUS:
      typed_ = wayview::ReadTypedUrls(program_.api());
      typedLength_ = AddressText().size();
      return;
    case CBN_EDITUPDATE:
      if (!completing_) Complete();
      return;
    case CBN_DROPDOWN:
      listDropped_ = true;
      typed_ = wayview::ReadTypedUrls(program_.api());
      ::SendMessageA(addressBox_, CB_RESETCONTENT, 0, 0);
      for (const std::string& url : typed_) {
        ::SendMessageA(addressBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(url.c_str()));
      }
      return;
    case CBN_SELENDOK:  // picked from the open list: opened once the list is closed
      if (listDropped_) ::PostMessageA(hwnd(), kGoMessage, 0, 0);
      listDropped_ = false;
      return;
    case CBN_CLOSEUP:
      listDropped_ = false;
      return;
  }
}

void FrameWindow::OnCommand(WPARAM wParam) {
  const UINT id = LOWORD(wParam);
  if (id == kAddressId) return AddressBoxChanged(HIWORD(wParam));
  if (id == kGoId) return frame_.AddressEntered(AddressText());
  if (id >= wayview::FavoritesMenu::kFirstId) return frame_.FavoritePicked(id);
  if (id > kCommandIds && id <= IdOf(Command::ResetHome)) {
    frame_.Run(static_cast<Command>(id - kCommandIds));
  }
}

LRESULT FrameWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(wParam);
      return 0;
    case kGoMessage:
      frame_.AddressEntered(AddressText());
      return 0;
    case kPageClosesMessage:
      frame_.PageClosesWindow(wParam != 0);
      return 0;
    case WM_INITMENUPOPUP: {
      const auto menu = reinterpret_cast<HMENU>(wParam);
      if (menu == favoritesMenu_) {
        while (::GetMenuItemCount(menu) > static_cast<int>(kFavoritesKept)) {
          ::DeleteMenu(menu, kFavoritesKept, MF_BYPOSITION);  // submenus go with their items
        }
        frame_.FavoritesOpen(reinterpret_cast<ludora::HMENU>(menu));
      } else {
        frame_.FavoritesFolderOpens(reinterpret_cast<ludora::HMENU>(menu));
      }
      return 0;
    }
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETFOCUS:
      if (!notice_) break;
      if (notice_->shown()) {
        notice_->Focus();
      } else if (control_) {
        control_.Focus();
      } else {
        ::SetFocus(addressEdit_);
      }
      return 0;
    case WM_DESTROY:
      control_.Close();
      if (fullScreen_) ::DestroyMenu(menuBar_);  // not the window's now: not destroyed with it
      return 0;
  }
  return WindowBase::OnMessage(message, wParam, lParam);
}

void FrameWindow::OnNcDestroy() {
  frames_.FrameGone(this);  // the last thing: this object goes with it
}

}  // namespace ludora::win32
