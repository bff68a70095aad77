#include "lobbyfind/browser_window_win.h"

#include <commctrl.h>

#include <algorithm>

#include "lobbyfind/list_pane_win.h"
#include "platform/resume_next.h"
#include "resources/resource_ids.h"

namespace ludora::win32 {

namespace lf = ludora::lobbyfind;

namespace {

constexpr char kClass[] = "CorvaneLudoraLobbyfind";
constexpr UINT kSocketMessage = WM_APP + 2;
constexpr UINT_PTR kTimer = 1;
constexpr UINT kTickMs = 10;
constexpr UINT kIdleTickMs = 500;  // nothing in flight: the timer only slowly
constexpr DWORD kRedrawMs = 250;   // the list is rebuilt from the table at most this often

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
enum MenuCommand {
  kRefreshAll = 100,
  kRefreshOne,
  kJoin,
  kAddAddress,
  kFavourite,
  kCopy,
  kChooseProgram,
  kExit,
  kViewInternet,
  kViewLan,
  kViewFavourites,
  kColours,
  kMasters
};
constexpr unsigned kViews[] = {lf::kInternet, lf::kLan, lf::kFavourites};
constexpr const char* kViewNames[] = {"Internet", "LAN", "Favourites"};

int ViewIndex(unsigned view) {
  return view == lf::kInternet ? 0 : view == lf::kLan ? 1 : 2;
}

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
               ::GetTickCount() ^ (::GetCurrentProcessId() << 16)),
      view_(state.settings.view) {
  // The favourites are in the table now, and go back to the file from it.
  std::vector<lf::Favourite>().swap(state_.settings.favourites);
  LARGE_INTEGER frequency;
  if (::QueryPerformanceFrequency(&frequency)) frequency_ = frequency.QuadPart;
  RegisterWindowClass(instance, kClass, ::LoadCursorA(nullptr, IDC_ARROW),
                      ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_LUDORA)),
                      ::GetSysColorBrush(COLOR_BTNFACE));
  CreateWindowOf(instance, kClass, kAppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                 WS_EX_CONTROLPARENT, CW_USEDEFAULT, CW_USEDEFAULT, 860, 600);
  if (!hwnd()) return;
  MakeControls();
  if (!browser_.Open(reinterpret_cast<std::uintptr_t>(hwnd()), kSocketMessage)) {
    ::MessageBoxA(hwnd(), "Windows Sockets refused a socket: no server can be asked.", kAppTitle,
                  MB_OK | MB_ICONWARNING);
  }
  Wake();
  ShowView(view_, true);
}

BrowserWindow::~BrowserWindow() {
  if (accelerators_) ::DestroyAcceleratorTable(accelerators_);
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
    item.pszText = const_cast<char*>(kViewNames[at]);
    ::SendMessageA(tabs_, TCM_INSERTITEMA, static_cast<WPARAM>(at),
                   reinterpret_cast<LPARAM>(&item));
  }
  const lf::Filter& filter = state_.settings.filter;
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

  const HMENU bar = ::CreateMenu(), server = ::CreatePopupMenu(), view = ::CreatePopupMenu();
  const auto item = [](HMENU menu, UINT id, const char* text) {
    ::AppendMenuA(menu, id ? MF_STRING : MF_SEPARATOR, id, text);
  };
  item(server, kJoin, "&Join\tEnter");
  item(server, kRefreshOne, "&Refresh this server\tShift+F5");
  item(server, kRefreshAll, "Refresh &all\tF5");
  item(server, 0, nullptr);
  item(server, kAddAddress, "Add by a&ddress...\tIns");
  item(server, kFavourite, "Add to or remove from &favourites\tCtrl+D");
  item(server, kCopy, "&Copy address\tCtrl+C");
  item(server, kChooseProgram, "C&hoose the game's program...");
  item(server, 0, nullptr);
  item(server, kExit, "E&xit");
  item(view, kViewInternet, "&Internet\tCtrl+1");
  item(view, kViewLan, "&LAN\tCtrl+2");
  item(view, kViewFavourites, "&Favourites\tCtrl+3");
  item(view, 0, nullptr);
  item(view, kColours, "Names in &colour");
  item(view, kMasters, "&Masters of the game...");
  ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(server), "&Server");
  ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), "&View");
  ::SetMenu(hwnd(), bar);
  ::CheckMenuItem(view, kColours, state_.settings.colours ? MF_CHECKED : MF_UNCHECKED);
  ACCEL keys[] = {{FVIRTKEY, VK_F5, kRefreshAll},
                  {FVIRTKEY | FSHIFT, VK_F5, kRefreshOne},
                  {FVIRTKEY, VK_INSERT, kAddAddress},
                  {FVIRTKEY | FCONTROL, 'D', kFavourite},
                  {FVIRTKEY | FCONTROL, '1', kViewInternet},
                  {FVIRTKEY | FCONTROL, '2', kViewLan},
                  {FVIRTKEY | FCONTROL, '3', kViewFavourites}};
  accelerators_ = ::CreateAcceleratorTableA(keys, static_cast<int>(std::size(keys)));
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

void BrowserWindow::ShowView(unsigned view, bool refresh) {
  view_ = view;
  ::SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(ViewIndex(view)), 0);
  if (refresh || !(shown_ & view) || browser_.Interrupted(view)) RefreshAll();
  UpdateRows();
  UpdateTitle();
}

void BrowserWindow::RefreshAll() {
  shown_ |= view_;
  refreshStart_ = Now();
  refreshTime_ = 0;
  refreshing_ = true;
  for (const auto& master : browser_.Refresh(view_)) Resolve(master.name, master.game, false);
  if (selected_) browser_.engine().Ask(*selected_, true);
  dirty_ = true;
  Wake();
}

void BrowserWindow::ReadAnswers() {
  readLater_ = false;
  const DWORD now = Now();
  if (browser_.Read(now)) dirty_ = true;
  RefreshDone(now);
}

// A click or a key in the queue. Named flags only: Windows 98 and 2000 fail
// the call for QS_RAWINPUT, which newer headers put in QS_INPUT.
bool BrowserWindow::InputWaiting() {
  return HIWORD(::GetQueueStatus(QS_MOUSEBUTTON | QS_KEY)) != 0;
}

void BrowserWindow::Tick() {
  if (readLater_) ReadAnswers();
  const DWORD now = Now();
  browser_.Tick(now);
  RefreshDone(now);
  if (dirty_ && now - lastUpdate_ >= kRedrawMs) UpdateRows();
  const auto& details = browser_.engine().details();
  if (details.ready && !detailsShown_ && details.server == selected_) UpdateDetails();
  Pace(browser_.engine().Idle() && !dirty_ ? kIdleTickMs : kTickMs);
}

void BrowserWindow::Wake() {
  Pace(kTickMs);
}

// The timer at `ms`, set again only when that changes.
void BrowserWindow::Pace(UINT ms) {
  if (ms != tickMs_ && ::SetTimer(hwnd(), kTimer, ms, nullptr)) tickMs_ = ms;
}

// The refresh's time, taken once when its last answer (or timeout) is in.
void BrowserWindow::RefreshDone(DWORD now) {
  if (!refreshing_ || browser_.engine().Refreshing()) return;
  refreshing_ = false;
  refreshTime_ = now - refreshStart_;
  dirty_ = true;
}

void BrowserWindow::ReadFilters() {
  lf::Filter& filter = state_.settings.filter;
  filter.game = static_cast<int>(::SendMessageA(games_, CB_GETCURSEL, 0, 0)) - 1;
  filter.notEmpty = ::SendMessageA(notEmpty_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  filter.notFull = ::SendMessageA(notFull_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  filter.maxPing = std::atoi(WindowText(ping_).c_str());
  filter.text = WindowText(find_);
  dirty_ = true;
  UpdateRows();
}

// The rows again from the table; the server selected stays selected in its
// new row, or is no longer selected when the view or the filters hide it.
void BrowserWindow::UpdateRows() {
  rows_ =
      lf::VisibleRows(browser_.servers(), browser_.games(), view_, state_.settings.filter, sort_);
  int row = -1;
  for (std::size_t at = 0; selected_ && at < rows_.size(); ++at) {
    if (rows_[at] == *selected_) row = static_cast<int>(at);
  }
  {
    const FlagScope updating(updating_);
    // Only when the count changes: the list sets its scroll bars again on
    // each, tens of milliseconds under Wine, while the rows are only redrawn.
    if (rows_.size() != listCount_) {
      ::SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(),
                     LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
      listCount_ = rows_.size();
    }
    // Nothing selected: no row keeps the keyboard's mark either, or Home on
    // that row would select nothing.
    if (row < 0 || row != SelectedRow(list_)) SelectRow(list_, row);
  }
  if (row < 0 && selected_) SelectionChanged();
  ::InvalidateRect(list_, nullptr, FALSE);
  dirty_ = false;
  lastUpdate_ = Now();
  UpdateTitle();
}

// The title says the view, its progress and the server selected, so that it
// reads in the task list too.
void BrowserWindow::UpdateTitle() {
  const lf::Progress& progress = browser_.engine().progress();
  std::string title = std::string(kAppTitle) + " - " + kViewNames[ViewIndex(view_)] + ": ";
  if (browser_.engine().Refreshing()) {
    title +=
        "answered " + std::to_string(progress.answered) + " of " + std::to_string(progress.asked);
  } else {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", refreshTime_ / 1000.0);
    title += std::to_string(progress.answered) + " of " + std::to_string(progress.asked) +
             " answered in " + seconds + " s";
  }
  std::string status = std::to_string(rows_.size()) + " shown";
  if (const auto server = selected_) {
    const lf::Server& row = browser_.servers()[*server];
    title += " - " + lf::Summary(row);
    status += "   " + row.address.ToString();
  }
  if (title != title_) ::SetWindowTextA(hwnd(), title.c_str());
  title_ = title;
  ::SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(status.c_str()));
}

std::optional<std::size_t> BrowserWindow::RowServer() const {
  const int row = SelectedRow(list_);
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return std::nullopt;
  return rows_[static_cast<std::size_t>(row)];
}

void BrowserWindow::SelectionChanged() {
  if (updating_) return;
  const auto server = RowServer();
  if (server == selected_) return;
  selected_ = server;
  detailsShown_ = false;
  FillList(players_, {});
  FillList(settings_, {});
  if (server) browser_.engine().Ask(*server, true), Wake();
  UpdateTitle();
}

void BrowserWindow::UpdateDetails() {
  const auto& details = browser_.engine().details();
  detailsShown_ = true;
  std::vector<std::vector<std::string>> players, settings;
  for (const lf::Player& player : details.players) {
    const std::string time =
        player.seconds >= 0 ? std::to_string(player.seconds / 60) + " min" : "";
    players.push_back({lf::StripColours(player.name), std::to_string(player.score),
                       player.ping >= 0 ? std::to_string(player.ping) : time});
  }
  for (const auto& [key, value] : details.settings)
    settings.push_back({key, lf::StripColours(value)});
  FillList(players_, players);
  FillList(settings_, settings);
}

void BrowserWindow::Command(int id) {
  switch (id) {
    case kRefreshAll:
      return RefreshAll();
    case kRefreshOne:
      if (const auto server = selected_) {
        browser_.engine().Ask(*server);
        browser_.engine().Ask(*server, true);
        detailsShown_ = false;
        Wake();
      }
      return;
    case IDOK:  // Enter, as IsDialogMessage hands it over: a join from the list only
      if (::GetFocus() != list_) return;
      [[fallthrough]];
    case kJoin:
      return Join();
    case kAddAddress:
      return AddByAddress();
    case kFavourite:
      return ToggleFavourite();
    case kCopy:
      return CopyAddress();
    case kChooseProgram:
      if (const auto server = selected_) ChooseProgram(browser_.servers()[*server].game);
      return;
    case kExit:  // as the close box: the settings are saved
      ::PostMessageA(hwnd(), WM_CLOSE, 0, 0);
      return;
    case kViewInternet:
    case kViewLan:
    case kViewFavourites:
      return ShowView(kViews[id - kViewInternet], false);
    case kColours: {
      state_.settings.colours = !state_.settings.colours;
      ::CheckMenuItem(::GetMenu(hwnd()), kColours,
                      state_.settings.colours ? MF_CHECKED : MF_UNCHECKED);
      ::InvalidateRect(list_, nullptr, FALSE);
      return;
    }
    case kMasters:
      return EditMasters();
  }
}

LRESULT BrowserWindow::Notify(const NMHDR& header) {
  if (header.idFrom == kTabs && header.code == TCN_SELCHANGE) {
    const auto at = ::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0);
    ShowView(kViews[std::clamp<LRESULT>(at, 0, 2)], false);
    return 0;
  }
  if (header.idFrom != kServers) return 0;
  switch (header.code) {
    case LVN_GETDISPINFOA: {
      auto& item = reinterpret_cast<NMLVDISPINFOA&>(const_cast<NMHDR&>(header)).item;
      if (!(item.mask & LVIF_TEXT) || item.iItem < 0 ||
          static_cast<std::size_t>(item.iItem) >= rows_.size()) {
        return 0;
      }
      const std::string text =
          lf::CellText(browser_.servers()[rows_[static_cast<std::size_t>(item.iItem)]],
                       browser_.games(), static_cast<lf::Column>(item.iSubItem), false);
      lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
      return 0;
    }
    case NM_CUSTOMDRAW: {
      const auto& draw = reinterpret_cast<const NMLVCUSTOMDRAW&>(header);
      const auto row = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
      std::string name;
      if (state_.settings.colours && draw.iSubItem == static_cast<int>(lf::Column::Name) &&
          row < rows_.size()) {
        const std::string& coloured = browser_.servers()[rows_[row]].name;
        if (lf::StripColours(coloured) != coloured) name = coloured;
      }
      return DrawColouredNames(draw, name);
    }
    case LVN_ITEMCHANGED:
      SelectionChanged();
      return 0;
    case LVN_COLUMNCLICK: {
      const auto column =
          static_cast<lf::Column>(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      sort_.descending = sort_.column == column ? !sort_.descending : column == lf::Column::Players;
      sort_.column = column;
      UpdateRows();
      return 0;
    }
    case NM_DBLCLK:
    case NM_RETURN:
      Join();
      return 0;
    case LVN_KEYDOWN: {
      const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
      if (key == VK_DELETE && view_ == lf::kFavourites) ToggleFavourite();
      if (key == 'C' && (::GetKeyState(VK_CONTROL) & 0x8000)) CopyAddress();
      return 0;
    }
  }
  return 0;
}

LRESULT BrowserWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kSocketMessage:
      // Windows hands posted messages over before the mouse's and the
      // keyboard's, so under a stream of answers a click would wait for
      // all of them. With input waiting the answers are left to the timer,
      // whose message comes after input; unread, the socket posts nothing
      // more meanwhile.
      if (InputWaiting()) {
        readLater_ = true;
        Wake();
      } else {
        ReadAnswers();
      }
      return 0;
    case kResolvedMessage:
      Resolved(lf::UnpackResolved(static_cast<std::uint32_t>(wParam),
                                  static_cast<std::uint32_t>(lParam)));
      return 0;
    case WM_TIMER:
      if (wParam == kTimer) Tick();
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
      if (lParam == 0) {
        Command(LOWORD(wParam));
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
