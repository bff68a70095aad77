#include "lobbyfind/browser_window.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "lobbyfind/join.h"
#include "lobbyfind/list_pane.h"
#include "lobbyfind/prompt_window.h"
#include "resources/resource_ids.h"
#include "win32/real_socket_api.h"

namespace ludora::win32 {

namespace lf = ludora::lobbyfind;

namespace {

constexpr char kClass[] = "CorvaneLudoraLobbyfind";
constexpr char kAppTitle[] = "Corvane Ludora Server Browser";
constexpr UINT kSocketMessage = WM_APP + 2;
constexpr UINT kResolvedMessage = WM_APP + 3;  // wParam the game (-1 - game: a favourite), lParam the address
constexpr UINT_PTR kTimer = 1;
constexpr UINT kTickMs = 10;
constexpr DWORD kRedrawMs = 250;  // the list is rebuilt from the table at most this often

enum Control { kTabs = 10, kGames, kNotEmpty, kNotFull, kPing, kFind, kServers, kPlayers, kSettings, kStatus };
enum MenuCommand {
  kRefreshAll = 100, kRefreshOne, kJoin, kAddAddress, kFavourite, kCopy, kChooseProgram, kExit,
  kViewInternet, kViewLan, kViewFavourites, kColours, kMasters
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

// A name resolved off the window's thread, with its own socket seam.
struct Resolution {
  HWND window;
  std::string name;
  WPARAM tag;
};

DWORD WINAPI ResolveName(void* parameter) {
  const std::unique_ptr<Resolution> asked(static_cast<Resolution*>(parameter));
  RealSocketApi sockets;
  const auto colon = asked->name.rfind(':');
  const auto port = ludora::SocketAddress::Parse("0.0.0.0" + asked->name.substr(colon));
  const ludora::HOSTENT* found = sockets.gethostbyname(asked->name.substr(0, colon));
  if (found && found->count > 0 && port) {
    ludora::SOCKADDR_IN record = port->ToRecord();
    record.sin_addr = found->addresses[0];
    const ludora::SocketAddress address = ludora::SocketAddress::FromRecord(record);
    ::PostMessageA(asked->window, kResolvedMessage, asked->tag,
                   static_cast<LPARAM>(static_cast<long long>(address.ip) << 16 | address.port));
  }
  return 0;
}

}  // namespace

BrowserWindow::BrowserWindow(HINSTANCE instance, ProgramState& state)
    : instance_(instance),
      state_(state),
      browser_(state.sockets, state.games, state.settings,
               ::GetTickCount() ^ (::GetCurrentProcessId() << 16)),
      view_(state.settings.view) {
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
  ::SetTimer(hwnd(), kTimer, kTickMs, nullptr);
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
    const HWND control = ::CreateWindowExA(ex, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                           hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                           instance_, nullptr);
    ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return control;
  };
  tabs_ = make(WC_TABCONTROLA, "", WS_TABSTOP, kTabs);
  for (int at = 0; at < 3; ++at) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kViewNames[at]);
    ::SendMessageA(tabs_, TCM_INSERTITEMA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&item));
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
                   {{"", 22}, {"Server", 250}, {"Game", 130}, {"Map", 100}, {"Players", 60},
                    {"Ping", 70}, {"Address", 130}},
                   true);
  players_ = MakeList(instance_, hwnd(), kPlayers, {{"Player", 170}, {"Score", 55}, {"Ping", 55}}, false);
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
  place(labels_[0], 40), place(games_, 170, 300), place(notEmpty_, 80), place(notFull_, 70);
  place(labels_[1], 80), place(ping_, 50), place(labels_[2], 35), place(find_, std::max(80, width - x - 8));
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
  if (refresh || !(shown_ & view)) RefreshAll();
  UpdateRows();
  UpdateTitle();
}

void BrowserWindow::RefreshAll() {
  shown_ |= view_;
  refreshStart_ = Now();
  refreshTime_ = 0;
  for (const auto& master : browser_.Refresh(view_)) Resolve(master.name, master.game, false);
  if (detailsOf_) browser_.engine().Ask(*detailsOf_, true);
  dirty_ = true;
}

void BrowserWindow::Resolve(const std::string& name, int game, bool favourite) {
  auto* asked = new Resolution{hwnd(), name, static_cast<WPARAM>(favourite ? -1 - game : game)};
  const HANDLE thread = ::CreateThread(nullptr, 0, &ResolveName, asked, 0, nullptr);
  if (thread) {
    ::CloseHandle(thread);
  } else {
    delete asked;
  }
}

void BrowserWindow::Resolved(WPARAM tag, LPARAM value) {
  const auto packed = static_cast<unsigned long long>(value);
  const ludora::SocketAddress address{static_cast<DWORD>(packed >> 16), static_cast<WORD>(packed & 0xFFFF)};
  const int game = static_cast<int>(static_cast<INT_PTR>(tag));
  if (game >= 0) return browser_.AskMaster(address, game);
  if (const auto server = browser_.AddFavourite(address, -1 - game)) {
    browser_.engine().Ask(*server);
    SaveSettings();
    dirty_ = true;
  }
}

void BrowserWindow::Tick() {
  const DWORD now = Now();
  const bool busy = browser_.engine().Busy();
  browser_.Tick(now);
  if (busy && !browser_.engine().Busy()) {
    refreshTime_ = now - refreshStart_;
    dirty_ = true;
  }
  if (dirty_ && now - lastUpdate_ >= kRedrawMs) UpdateRows();
  const auto& details = browser_.engine().details();
  if (details.ready && !detailsShown_ && details.server == detailsOf_) UpdateDetails();
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

void BrowserWindow::UpdateRows() {
  const auto selected = Selected();
  rows_ = lf::VisibleRows(browser_.servers(), browser_.games(), view_, state_.settings.filter, sort_);
  ::SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  int row = -1;
  for (std::size_t at = 0; selected && at < rows_.size(); ++at) {
    if (rows_[at] == *selected) row = static_cast<int>(at);
  }
  if (row != SelectedRow(list_)) SelectRow(list_, row);
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
  if (browser_.engine().Busy()) {
    title += "answered " + std::to_string(progress.answered) + " of " + std::to_string(progress.asked);
  } else {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", refreshTime_ / 1000.0);
    title += std::to_string(progress.answered) + " of " + std::to_string(progress.asked) +
             " answered in " + seconds + " s";
  }
  std::string status = std::to_string(rows_.size()) + " shown";
  if (const auto server = Selected()) {
    const lf::Server& row = browser_.servers()[*server];
    title += " - " + lf::Summary(row);
    status += "   " + row.address.ToString();
  }
  if (title != title_) ::SetWindowTextA(hwnd(), title.c_str());
  title_ = title;
  ::SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(status.c_str()));
}

std::optional<std::size_t> BrowserWindow::Selected() const {
  const int row = SelectedRow(list_);
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return std::nullopt;
  return rows_[static_cast<std::size_t>(row)];
}

void BrowserWindow::SelectionChanged() {
  const auto server = Selected();
  if (server == detailsOf_) return;
  detailsOf_ = server;
  detailsShown_ = false;
  FillList(players_, {});
  FillList(settings_, {});
  if (server) browser_.engine().Ask(*server, true);
  UpdateTitle();
}

void BrowserWindow::UpdateDetails() {
  const auto& details = browser_.engine().details();
  detailsShown_ = true;
  std::vector<std::vector<std::string>> players, settings;
  for (const lf::Player& player : details.players) {
    const std::string time = player.seconds >= 0 ? std::to_string(player.seconds / 60) + " min" : "";
    players.push_back({lf::StripColours(player.name), std::to_string(player.score),
                       player.ping >= 0 ? std::to_string(player.ping) : time});
  }
  for (const auto& [key, value] : details.settings) settings.push_back({key, lf::StripColours(value)});
  FillList(players_, players);
  FillList(settings_, settings);
}

void BrowserWindow::Join() {
  const auto server = Selected();
  if (!server) return;
  const lf::Server& row = browser_.servers()[*server];
  if (row.game < 0) return;
  lf::Game& game = browser_.games()[static_cast<std::size_t>(row.game)];
  std::string program = lf::FindProgram(state_.api, game);
  if (program.empty()) {
    ChooseProgram(row.game);
    program = lf::FindProgram(state_.api, game);
    if (program.empty()) return;
  }
  std::string password;
  if (row.locked) {
    const auto given = AskText(instance_, hwnd(), "Password", "This server asks for a password:", "", true);
    if (!given) return;
    password = *given;
  }
  if (!lf::StartGame(state_.api, program, lf::JoinArguments(game, row.address, password))) {
    ::MessageBoxA(hwnd(), ("Windows could not start " + program + ".").c_str(), kAppTitle,
                  MB_OK | MB_ICONWARNING);
  }
}

void BrowserWindow::ChooseProgram(int row) {
  if (row < 0) return;
  lf::Game& game = browser_.games()[static_cast<std::size_t>(row)];
  char path[MAX_PATH] = {};
  const std::string title = "Where is " + game.name + "?";
  ludora::OPENFILENAMEA dialog;
  dialog.hwndOwner = reinterpret_cast<std::uintptr_t>(hwnd());
  dialog.lpstrFilter = "Programs (*.exe)\0*.exe\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!state_.api.GetOpenFileNameA(&dialog)) return;
  game.path = path;
  SaveGames();
}

void BrowserWindow::AddByAddress() {
  const int filterGame = state_.settings.filter.game;
  const int game = filterGame >= 0 ? filterGame : 0;
  if (browser_.games().empty()) return;
  const auto text = AskText(instance_, hwnd(), "Add a server",
                            "Address of a " + browser_.games()[static_cast<std::size_t>(game)].name +
                                " server (host or a.b.c.d, and :port):",
                            "");
  if (!text || text->empty()) return;
  const lf::Game& row = browser_.games()[static_cast<std::size_t>(game)];
  const std::string withPort =
      text->find(':') == std::string::npos ? *text + ':' + std::to_string(row.firstPort) : *text;
  const auto address = ludora::SocketAddress::Parse(withPort);
  if (!address) return Resolve(withPort, game, true);
  Resolved(static_cast<WPARAM>(-1 - game),
           static_cast<LPARAM>(static_cast<long long>(address->ip) << 16 | address->port));
}

void BrowserWindow::ToggleFavourite() {
  const auto server = Selected();
  if (!server) return;
  browser_.servers()[*server].views ^= lf::kFavourites;
  SaveSettings();
  dirty_ = true;
  UpdateRows();
}

void BrowserWindow::EditMasters() {
  const int row = state_.settings.filter.game >= 0 ? state_.settings.filter.game : 0;
  if (browser_.games().empty()) return;
  lf::Game& game = browser_.games()[static_cast<std::size_t>(row)];
  std::string masters;
  for (const std::string& master : game.masters) masters += (masters.empty() ? "" : " ") + master;
  const auto text = AskText(instance_, hwnd(), "Masters of " + game.name,
                            "Masters of " + game.name + ", host:port, separated by blanks:", masters);
  if (!text) return;
  const auto read = lf::ReadGames(lf::ParseIni("[Masters]\nProtocol=q3\nMasters=" + *text));
  game.masters = read.empty() ? std::vector<std::string>() : read[0].masters;
  SaveGames();
}

void BrowserWindow::CopyAddress() {
  const auto server = Selected();
  if (!server || !::OpenClipboard(hwnd())) return;
  const std::string text = browser_.servers()[*server].address.ToString();
  ::EmptyClipboard();
  if (const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    std::memcpy(::GlobalLock(memory), text.c_str(), text.size() + 1);
    ::GlobalUnlock(memory);
    if (!::SetClipboardData(CF_TEXT, memory)) ::GlobalFree(memory);
  }
  ::CloseClipboard();
}

void BrowserWindow::SaveSettings() {
  state_.settings.view = view_;
  state_.settings.favourites.clear();
  const lf::ServerTable& servers = browser_.servers();
  for (std::size_t at = 0; at < servers.size(); ++at) {
    if ((servers[at].views & lf::kFavourites) && servers[at].game >= 0) {
      state_.settings.favourites.push_back(
          {servers[at].address, browser_.games()[static_cast<std::size_t>(servers[at].game)].name});
    }
  }
  if (state_.userFolder.empty()) return;
  lf::SaveFile(state_.api, state_.userFolder + "\\" + lf::kSettingsFile,
                  lf::WriteIni(lf::WriteSettings(state_.settings, browser_.games())));
}

void BrowserWindow::SaveGames() {
  if (state_.userFolder.empty()) return;
  lf::SaveFile(state_.api, state_.userFolder + "\\" + lf::kGamesFile,
                  "; The games of lobbyfind, the user's copy: edit freely.\r\n" +
                      lf::WriteIni(lf::WriteGames(browser_.games())));
}

void BrowserWindow::Command(int id) {
  switch (id) {
    case kRefreshAll: return RefreshAll();
    case kRefreshOne:
      if (const auto server = Selected()) {
        browser_.engine().Ask(*server);
        browser_.engine().Ask(*server, true);
        detailsShown_ = false;
      }
      return;
    case kJoin:
    case IDOK:  // Enter, as IsDialogMessage hands it over
      return Join();
    case kAddAddress: return AddByAddress();
    case kFavourite: return ToggleFavourite();
    case kCopy: return CopyAddress();
    case kChooseProgram:
      if (const auto server = Selected()) ChooseProgram(browser_.servers()[*server].game);
      return;
    case kExit: ::DestroyWindow(hwnd()); return;
    case kViewInternet: case kViewLan: case kViewFavourites:
      return ShowView(kViews[id - kViewInternet], false);
    case kColours: {
      state_.settings.colours = !state_.settings.colours;
      ::CheckMenuItem(::GetMenu(hwnd()), kColours, state_.settings.colours ? MF_CHECKED : MF_UNCHECKED);
      ::InvalidateRect(list_, nullptr, FALSE);
      return;
    }
    case kMasters: return EditMasters();
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
      if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= rows_.size()) {
        return 0;
      }
      const std::string text =
          lf::CellText(browser_.servers()[rows_[static_cast<std::size_t>(item.iItem)]], browser_.games(),
                       static_cast<lf::Column>(item.iSubItem), false);
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
      const auto column = static_cast<lf::Column>(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
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
      if (browser_.Read(Now())) dirty_ = true;
      return 0;
    case kResolvedMessage:
      Resolved(wParam, lParam);
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
                 ((LOWORD(wParam) == kNotEmpty || LOWORD(wParam) == kNotFull) && HIWORD(wParam) == BN_CLICKED) ||
                 ((LOWORD(wParam) == kPing || LOWORD(wParam) == kFind) && HIWORD(wParam) == EN_CHANGE)) {
        ReadFilters();
      }
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) ::SetFocus(list_);
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
