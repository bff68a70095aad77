#include "lobbyfind/browser_window_win.h"

#include <commctrl.h>

#include <algorithm>

#include "lobbyfind/list_pane_win.h"
#include "resources/resource_ids.h"

namespace ludora::win32 {

namespace lf = ludora::lobbyfind;
using lf::Command;

namespace {

constexpr char kClass[] = "CorvaneLudoraLobbyfind";
constexpr UINT kSocketMessage = WM_APP + 2;
constexpr UINT_PTR kTimer = 1;

enum Control {
  kTabs = 10,
  kGames,
  kNotEmpty,
  kNotFull,
  kPing,
  kFind,
  kServers,
  kPlayers,
  kSettings,
  kStatus
};
constexpr UINT kCommandIds = 100;  // a command's id: this plus its number

UINT IdOf(Command command) {
  return kCommandIds + static_cast<UINT>(command);
}

// The menu bar, a row a line; a row without a caption is a separator.
struct MenuRow {
  int menu;
  const char* caption;
  Command command;
};
constexpr const char* kMenus[] = {"&Server", "&View"};
constexpr MenuRow kMenuRows[] = {
    {0, "&Join\tEnter", Command::Join},
    {0, "&Refresh this server\tShift+F5", Command::RefreshOne},
    {0, "Refresh &all\tF5", Command::RefreshAll},
    {0, nullptr, Command::None},
    {0, "Add by a&ddress...\tIns", Command::AddAddress},
    {0, "Add to or remove from &favourites\tCtrl+D", Command::Favourite},
    {0, "&Copy address\tCtrl+C", Command::CopyAddress},
    {0, "C&hoose the game's program...", Command::ChooseProgram},
    {0, nullptr, Command::None},
    {0, "E&xit", Command::Exit},
    {1, "&Internet\tCtrl+1", Command::ShowInternet},
    {1, "&LAN\tCtrl+2", Command::ShowLan},
    {1, "&Favourites\tCtrl+3", Command::ShowFavourites},
    {1, nullptr, Command::None},
    {1, "Names in &colour", Command::Colours},
    {1, "&Masters of the game...", Command::Masters},
};

std::string WindowText(HWND window) {
  char text[256] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

BrowserWindow::BrowserWindow(HINSTANCE instance, ProgramState& state, std::vector<lf::Game> games)
    : instance_(instance),
      state_(state),
      browser_(state.sockets, std::move(games), state.settings,
               ::GetTickCount() ^ (::GetCurrentProcessId() << 16), *this,
               [this] { return static_cast<std::uint32_t>(Now()); }) {
  // The favourites are in the table now, and go back to the file from it.
  std::vector<lf::Favourite>().swap(state_.settings.favourites);
  LARGE_INTEGER frequency;
  if (::QueryPerformanceFrequency(&frequency)) frequency_ = frequency.QuadPart;
  RegisterWindowClass(instance, kClass, ::LoadCursorA(nullptr, IDC_ARROW),
                      ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_LUDORA)),
                      ::GetSysColorBrush(COLOR_BTNFACE));
  CreateWindowOf(instance, kClass, lf::kAppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                 WS_EX_CONTROLPARENT, CW_USEDEFAULT, CW_USEDEFAULT, 860, 600);
  if (!hwnd()) return;
  MakeControls();
  if (!browser_.Open(reinterpret_cast<std::uintptr_t>(hwnd()), kSocketMessage)) {
    ::MessageBoxA(hwnd(), "Windows Sockets refused a socket: no server can be asked.",
                  lf::kAppTitle, MB_OK | MB_ICONWARNING);
  }
  browser_.Start();
}

BrowserWindow::~BrowserWindow() {
  if (hwnd()) ::DestroyWindow(hwnd());
}

// Milliseconds from the performance counter, where Windows has one: the
// tick count moves in steps of 10 to 55 ms, too coarse for a ping.
DWORD BrowserWindow::Now() const {
  LARGE_INTEGER counter;
  if (frequency_ <= 0 || !::QueryPerformanceCounter(&counter)) return ::GetTickCount();
  return static_cast<DWORD>(counter.QuadPart / (frequency_ / 1000 > 0 ? frequency_ / 1000 : 1));
}

void BrowserWindow::MakeControls() {
  const HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  const auto make = [&](const char* type, const char* text, DWORD style, int id, DWORD ex = 0) {
    const HWND control =
        ::CreateWindowExA(ex, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return control;
  };
  tabs_ = make(WC_TABCONTROLA, "", WS_TABSTOP, kTabs);
  for (int at = 0; at < 3; ++at) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(lf::kViewNames[at]);
    ::SendMessageA(tabs_, TCM_INSERTITEMA, static_cast<WPARAM>(at),
                   reinterpret_cast<LPARAM>(&item));
  }
  const lf::Filter& filter = browser_.filter();
  labels_.push_back(make("STATIC", "&Game:", SS_RIGHT, -1));
  games_ = make("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kGames);
  ::SendMessageA(games_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("All games"));
  for (const lf::Game& game : browser_.games()) {
    ::SendMessageA(games_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(game.name.c_str()));
  }
  ::SendMessageA(games_, CB_SETCURSEL, static_cast<WPARAM>(filter.game + 1), 0);
  notEmpty_ = make("BUTTON", "Not &empty", WS_TABSTOP | BS_AUTOCHECKBOX, kNotEmpty);
  notFull_ = make("BUTTON", "Not f&ull", WS_TABSTOP | BS_AUTOCHECKBOX, kNotFull);
  ::SendMessageA(notEmpty_, BM_SETCHECK, filter.notEmpty ? BST_CHECKED : BST_UNCHECKED, 0);
  ::SendMessageA(notFull_, BM_SETCHECK, filter.notFull ? BST_CHECKED : BST_UNCHECKED, 0);
  labels_.push_back(make("STATIC", "&Ping at most:", SS_RIGHT, -1));
  ping_ = make("EDIT", filter.maxPing > 0 ? std::to_string(filter.maxPing).c_str() : "",
               WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, kPing, WS_EX_CLIENTEDGE);
  labels_.push_back(make("STATIC", "F&ind:", SS_RIGHT, -1));
  find_ = make("EDIT", filter.text.c_str(), WS_TABSTOP | ES_AUTOHSCROLL, kFind, WS_EX_CLIENTEDGE);
  list_ = MakeList(instance_, hwnd(), kServers,
                   {{"", 22},
                    {"Server", 250},
                    {"Game", 130},
                    {"Map", 100},
                    {"Players", 60},
                    {"Ping", 70},
                    {"Address", 130}},
                   true);
  players_ =
      MakeList(instance_, hwnd(), kPlayers, {{"Player", 170}, {"Score", 55}, {"Ping", 55}}, false);
  settings_ = MakeList(instance_, hwnd(), kSettings, {{"Setting", 150}, {"Value", 250}}, false);
  status_ = make(STATUSCLASSNAMEA, "", SBARS_SIZEGRIP, kStatus);

  const HMENU bar = ::CreateMenu();
  int menu = 0;
  for (const char* title : kMenus) {
    const HMENU popup = ::CreatePopupMenu();
    for (const MenuRow& row : kMenuRows) {
      if (row.menu != menu) continue;
      ::AppendMenuA(popup, row.caption ? MF_STRING : MF_SEPARATOR,
                    row.caption ? IdOf(row.command) : 0, row.caption);
    }
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
    ++menu;
  }
  ::SetMenu(hwnd(), bar);
  ::CheckMenuItem(bar, IdOf(Command::Colours),
                  MF_BYCOMMAND | (state_.settings.colours ? MF_CHECKED : MF_UNCHECKED));
  Layout();
  ::SetFocus(list_);
}

void BrowserWindow::Layout() {
  RECT area = {};
  ::GetClientRect(hwnd(), &area);
  ::SendMessageA(status_, WM_SIZE, 0, 0);
  RECT bar = {};
  ::GetWindowRect(status_, &bar);
  const int width = area.right, height = area.bottom - (bar.bottom - bar.top);
  ::MoveWindow(tabs_, 4, 4, width - 8, 24, TRUE);
  int x = 8;
  const auto place = [&](HWND control, int w, int h = 22) {
    ::MoveWindow(control, x, 34, w, h, TRUE);
    x += w + 6;
  };
  for (const auto& [control, w] : {std::pair{labels_[0], 40},
                                   {games_, 170},
                                   {notEmpty_, 80},
                                   {notFull_, 70},
                                   {labels_[1], 80},
                                   {ping_, 50},
                                   {labels_[2], 35}}) {
    place(control, w, control == games_ ? 300 : 22);  // a combo box's height is its list's
  }
  place(find_, std::max(80, width - x - 8));
  const int top = 62, detailsHeight = std::max(80, height / 3);
  const int listHeight = std::max(40, height - top - detailsHeight - 8);
  ::MoveWindow(list_, 4, top, width - 8, listHeight, TRUE);
  const int below = top + listHeight + 4, half = (width - 12) / 2;
  ::MoveWindow(players_, 4, below, half, height - below - 4, TRUE);
  ::MoveWindow(settings_, 8 + half, below, width - 12 - half, height - below - 4, TRUE);
}

// A click or a key in the queue. Named flags only: Windows 98 and 2000 fail
// the call for QS_RAWINPUT, which newer headers put in QS_INPUT.
bool BrowserWindow::InputWaiting() {
  return HIWORD(::GetQueueStatus(QS_MOUSEBUTTON | QS_KEY)) != 0;
}

void BrowserWindow::ReadFilters() {
  lf::Filter filter;
  filter.game = static_cast<int>(::SendMessageA(games_, CB_GETCURSEL, 0, 0)) - 1;
  filter.notEmpty = ::SendMessageA(notEmpty_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  filter.notFull = ::SendMessageA(notFull_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  filter.maxPing = std::atoi(WindowText(ping_).c_str());
  filter.text = WindowText(find_);
  browser_.SetFilter(filter);
}

void BrowserWindow::SetTitle(const std::string& text) {
  ::SetWindowTextA(hwnd(), text.c_str());
}

void BrowserWindow::SetStatus(const std::string& text) {
  ::SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void BrowserWindow::ShowTab(int tab) {
  ::SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
}

void BrowserWindow::SetRowCount(std::size_t rows) {
  ::SendMessageA(list_, LVM_SETITEMCOUNT, rows, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void BrowserWindow::SelectRow(int row) {
  if (row < 0 || row != SelectedRow(list_)) win32::SelectRow(list_, row);
}

void BrowserWindow::RedrawRows() {
  ::InvalidateRect(list_, nullptr, FALSE);
}

void BrowserWindow::ShowDetails(const lf::TextRows& players, const lf::TextRows& settings) {
  FillList(players_, players);
  FillList(settings_, settings);
}

bool BrowserWindow::SetTimer(UINT ms) {
  return ::SetTimer(hwnd(), kTimer, ms, nullptr) != 0;
}

void BrowserWindow::ResolveMaster(const std::string& name, int game) {
  Resolve(name, game, false);
}

bool BrowserWindow::PreTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  if (!hwnd() || (message.hwnd != hwnd() && !::IsChild(hwnd(), message.hwnd))) return false;
  const Command command = lf::CommandOfKey(
      static_cast<UINT>(message.wParam), ::GetKeyState(VK_CONTROL) < 0, ::GetKeyState(VK_MENU) < 0,
      ::GetKeyState(VK_SHIFT) < 0, message.hwnd == list_);
  if (command == Command::None) return false;
  Run(command);
  return true;
}

void BrowserWindow::Run(Command command) {
  switch (command) {
    case Command::None:
      return;
    case Command::Join:
      return Join();
    case Command::RefreshOne:
      return browser_.RefreshSelected();
    case Command::RefreshAll:
      return browser_.RefreshAll();
    case Command::AddAddress:
      return AddByAddress();
    case Command::Favourite:
      return ToggleFavourite(false);
    case Command::LeaveFavourites:
      return ToggleFavourite(true);
    case Command::CopyAddress:
      return CopyAddress();
    case Command::ChooseProgram:
      if (const auto server = browser_.selected()) ChooseProgram(browser_.servers()[*server].game);
      return;
    case Command::Exit:  // as the close box: the settings are saved
      ::PostMessageA(hwnd(), WM_CLOSE, 0, 0);
      return;
    case Command::ShowInternet:
      return browser_.ShowView(lf::kInternet);
    case Command::ShowLan:
      return browser_.ShowView(lf::kLan);
    case Command::ShowFavourites:
      return browser_.ShowView(lf::kFavourites);
    case Command::Colours:
      state_.settings.colours = !state_.settings.colours;
      ::CheckMenuItem(::GetMenu(hwnd()), IdOf(Command::Colours),
                      MF_BYCOMMAND | (state_.settings.colours ? MF_CHECKED : MF_UNCHECKED));
      ::InvalidateRect(list_, nullptr, FALSE);
      return;
    case Command::Masters:
      return EditMasters();
  }
}

LRESULT BrowserWindow::Notify(const NMHDR& header) {
  if (header.idFrom == kTabs && header.code == TCN_SELCHANGE) {
    const auto at = ::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0);
    browser_.ShowView(lf::kViews[std::clamp<LRESULT>(at, 0, 2)]);
    return 0;
  }
  if (header.idFrom != kServers) return 0;
  switch (header.code) {
    case LVN_GETDISPINFOA: {
      auto& item = reinterpret_cast<NMLVDISPINFOA&>(const_cast<NMHDR&>(header)).item;
      const auto server = browser_.ServerOfRow(item.iItem);
      if (!(item.mask & LVIF_TEXT) || !server) return 0;
      const std::string text = lf::CellText(browser_.servers()[*server], browser_.games(),
                                            static_cast<lf::Column>(item.iSubItem), false);
      lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
      return 0;
    }
    case NM_CUSTOMDRAW: {
      const auto& draw = reinterpret_cast<const NMLVCUSTOMDRAW&>(header);
      const auto server = browser_.ServerOfRow(static_cast<int>(draw.nmcd.dwItemSpec));
      std::string name;
      if (state_.settings.colours && draw.iSubItem == static_cast<int>(lf::Column::Name) &&
          server) {
        const std::string& coloured = browser_.servers()[*server].name;
        if (lf::StripColours(coloured) != coloured) name = coloured;
      }
      return DrawColouredNames(draw, name);
    }
    case LVN_ITEMCHANGED:
      browser_.RowSelected(win32::SelectedRow(list_));
      return 0;
    case LVN_COLUMNCLICK:
      browser_.SortBy(
          static_cast<lf::Column>(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem));
      return 0;
    case NM_DBLCLK:
      Join();
      return 0;
  }
  return 0;
}

LRESULT BrowserWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kSocketMessage:
      browser_.SocketReady(InputWaiting());
      return 0;
    case kResolvedMessage:
      Resolved(lf::UnpackResolved(static_cast<std::uint32_t>(wParam),
                                  static_cast<std::uint32_t>(lParam)));
      return 0;
    case WM_TIMER:
      if (wParam == kTimer) browser_.Timer();
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {640, 360};
      return 0;
    case WM_NOTIFY:
      return Notify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
      if (lParam == 0) {  // a menu's: Enter in a box, IDOK, is none
        const UINT id = LOWORD(wParam);
        if (id > kCommandIds && id <= IdOf(Command::Masters)) {
          Run(static_cast<Command>(id - kCommandIds));
        }
      } else if ((LOWORD(wParam) == kGames && HIWORD(wParam) == CBN_SELCHANGE) ||
                 ((LOWORD(wParam) == kNotEmpty || LOWORD(wParam) == kNotFull) &&
                  HIWORD(wParam) == BN_CLICKED) ||
                 ((LOWORD(wParam) == kPing || LOWORD(wParam) == kFind) &&
                  HIWORD(wParam) == EN_CHANGE)) {
        ReadFilters();
      }
      return 0;
    case WM_ACTIVATE:  // the keyboard back where it was
      if (LOWORD(wParam) == WA_INACTIVE) {
        focus_ = ::GetFocus();
      } else {
        ::SetFocus(focus_ && ::IsChild(hwnd(), focus_) ? focus_ : list_);
      }
      return 0;
    case WM_CLOSE:
      SaveSettings();
      ::DestroyWindow(hwnd());
      return 0;
  }
  return WindowBase::OnMessage(message, wParam, lParam);
}

void BrowserWindow::OnNcDestroy() {
  ::PostQuitMessage(0);
}

}  // namespace ludora::win32
