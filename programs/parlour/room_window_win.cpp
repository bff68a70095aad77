#include "parlour/room_window_win.h"

#include <algorithm>
#include <memory>

#include "parlour/dialogs_win.h"
#include "parlour/shortcut_games.h"
#include "platform/paths.h"
#include "platform/resume_next.h"
#include "win32/real_windows_api.h"

namespace ludora::win32 {

namespace {

constexpr UINT_PTR kTileTimer = 1, kPlayTimer = 2, kPadTimer = 3, kPadLookTimer = 4;
constexpr UINT kTileMs = 10, kPadMs = 50, kFirstPadLookMs = 500, kPadLookMs = 5000;
// What runs is looked at every second, and four times as often in a game's
// first seconds, when launchers hand on and end.
constexpr UINT kPlayMs = 1000, kStartingPlayMs = 250;
constexpr DWORD kStartingMs = 8000;
constexpr DWORD kTileBudgetMs = 30;  // loading tiles, at most this long a tick

struct SearchJob {
  std::shared_ptr<PostedQueue<std::unique_ptr<parlour::Discovery>>> finds;
  std::string gamesFolder;
};

// The search's thread: its own adapter, its find put in the window's queue
// (none when the search failed), and freed with it when the window is gone.
DWORD WINAPI SearchThread(void* parameter) {
  const std::unique_ptr<SearchJob> job(static_cast<SearchJob*>(parameter));
  ludora::RealWindowsApi api;
  std::unique_ptr<parlour::Discovery> found;
  ludora::Attempt(api, "parlour search", [&] {
    found = std::make_unique<parlour::Discovery>(parlour::DiscoverGames(api, job->gamesFolder));
    api.OutputDebugStringA("parlour: found " + parlour::DescribeFinds(*found) + "\n");
  });
  job->finds->Put(std::move(found));
  return 0;
}

}  // namespace

RoomWindow::RoomWindow(HINSTANCE instance, ludora::WindowsApi& api, parlour::GamesRoom& room)
    : instance_(instance), api_(api), room_(room), tiles_(api) {
  RegisterWindowClass(instance, kRoomClass, ::LoadCursorA(nullptr, IDC_ARROW),
                      ::LoadIconA(instance, MAKEINTRESOURCEA(1)), nullptr, CS_DBLCLKS);
  CreateWindowOf(instance, kRoomClass, kRoomTitle, WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0,
                 ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  if (!hwnd()) return;
  finds_ = PostedQueue<std::unique_ptr<parlour::Discovery>>::Make(hwnd(), kSearchDone);
  ::SetTimer(hwnd(), kPadLookTimer, kFirstPadLookMs, nullptr);
}

RoomWindow::~RoomWindow() {
  if (hwnd()) ::DestroyWindow(hwnd());
}

void RoomWindow::Show() {
  ::ShowWindow(hwnd(), SW_SHOWNORMAL);
  ::SetForegroundWindow(hwnd());
  ::SetFocus(hwnd());
  Changed();
}

void RoomWindow::Search(bool offer) {
  offerAfterSearch_ = offerAfterSearch_ || offer;
  if (searching_) return;
  auto* job = new SearchJob{finds_, room_.appFolder() + "\\games"};
  DWORD id = 0;
  const HANDLE thread = ::CreateThread(nullptr, 0, &SearchThread, job, 0, &id);
  if (!thread) {
    delete job;
    return;
  }
  ::SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
  ::CloseHandle(thread);
  searching_ = true;
  Changed();
}

void RoomWindow::FoundGames(std::unique_ptr<parlour::Discovery> discovery) {
  searching_ = false;
  const bool firstTime = room_.library().games.empty();
  if (discovery) room_.TakeFinds(std::move(discovery->games), offerAfterSearch_);
  if (!room_.Offers().empty() && (offerAfterSearch_ || firstTime)) Offer();
  offerAfterSearch_ = false;
  tiles_.Clear();
  Changed();
}

void RoomWindow::Offer() {
  if (room_.Offers().empty()) return;
  if (const auto chosen = ChooseOffers(instance_, hwnd(), room_.Offers()))
    room_.AnswerOffers(*chosen);
  Changed();
}

void RoomWindow::Properties() {
  const int game = room_.room().SelectedGame();
  if (game < 0) return;
  const auto& all = room_.room().Categories();
  const std::vector<std::string> categories(all.begin() + 3, all.end());
  if (const auto edit =
          EditProperties(instance_, hwnd(), api_, room_.library().games[game], categories)) {
    room_.Edit(game, *edit);
    tiles_.Forget(game);
  }
  Changed();
}

void RoomWindow::AddGame() {
  char picked[260] = {};
  ludora::OPENFILENAMEA open;
  open.hwndOwner = reinterpret_cast<std::uintptr_t>(hwnd());
  open.lpstrFilter = "Games (*.exe;*.lnk;*.bat;*.com)\0*.exe;*.lnk;*.bat;*.com;*.pif\0";
  open.lpstrFile = picked;
  open.nMaxFile = sizeof picked;
  open.lpstrTitle = "Add a Game";
  open.Flags = 0x1000 | 0x800 | 0x4 | 0x100000;  // must exist, hide read-only, a shortcut as itself
  if (!api_.GetOpenFileNameA(&open)) return;
  const std::string path = picked;
  std::optional<parlour::FoundGame> find;
  if (parlour::Lower(path).ends_with(".lnk")) find = parlour::GameFromShortcut(api_, path);
  if (!find) find = parlour::FoundGame(parlour::Stem(path), path);
  room_.Add(std::move(*find));
  Changed();
}

void RoomWindow::Close() {
  if (room_.Playing()) {
    ::ShowWindow(hwnd(), SW_HIDE);  // the play time is still to be recorded
  } else {
    ::DestroyWindow(hwnd());
  }
}

void RoomWindow::Changed() {
  // A window ended meanwhile (closed inside a dialog's or a box's loop) has
  // nothing left to lay out.
  RECT client = {};
  if (!hwnd() || !::GetClientRect(hwnd(), &client)) return;
  layout_ = {client.right, client.bottom};
  parlour::Room& room = room_.room();
  room.SetGrid(layout_.Columns(), layout_.Rows());
  // The rows in view, then the row above and the row below them.
  const int columns = layout_.Columns(), count = static_cast<int>(room.Shown().size());
  const int first = room.TopRow() * columns, last = first + (layout_.Rows() + 1) * columns;
  std::vector<int> games;
  for (const auto& [from, to] :
       {std::pair{first, last}, {first - columns, first}, {last, last + columns}})
    for (int position = std::max(from, 0); position < std::min(to, count); ++position)
      games.push_back(room.Shown()[position]);
  tiles_.Keep(games);
  ::SetTimer(hwnd(), kTileTimer, kTileMs, nullptr);
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void RoomWindow::Timer(WPARAM timer) {
  if (timer == kTileTimer) {
    const DWORD start = ::GetTickCount();
    int loaded = 0;
    while (::GetTickCount() - start < kTileBudgetMs &&
           (loaded = tiles_.LoadNext(room_.library())) >= 0) {
      const auto& shown = room_.room().Shown();
      const auto at = std::find(shown.begin(), shown.end(), loaded);
      if (at == shown.end()) continue;
      const RECT tile =
          ToRect(layout_.Tile(static_cast<int>(at - shown.begin()), room_.room().TopRow()));
      ::InvalidateRect(hwnd(), &tile, FALSE);
    }
    if (loaded < 0) ::KillTimer(hwnd(), kTileTimer);
  } else if (timer == kPlayTimer) {
    if (room_.Follow(::GetTickCount())) Changed();
    if (::GetTickCount() - lastStart_ >= kStartingMs)
      ::SetTimer(hwnd(), kPlayTimer, kPlayMs, nullptr);
    if (!room_.Playing()) {
      ::KillTimer(hwnd(), kPlayTimer);
      if (!::IsWindowVisible(hwnd())) ::DestroyWindow(hwnd());
    }
  } else if (timer == kPadLookTimer) {
    ::SetTimer(hwnd(), kPadLookTimer, kPadLookMs, nullptr);
    if (!padPresent_ && (padPresent_ = pad_.Look())) ::SetTimer(hwnd(), kPadTimer, kPadMs, nullptr);
  } else if (timer == kPadTimer && ::GetForegroundWindow() == hwnd()) {
    const std::optional<parlour::PadReading> reading = pad_.Read();
    if (!reading) {
      padPresent_ = false;
      ::KillTimer(hwnd(), kPadTimer);
      return;
    }
    Pad(padCommands_.Read(*reading, static_cast<std::uint32_t>(::GetTickCount())));
  }
}

void RoomWindow::Pad(const std::vector<parlour::PadCommand>& commands) {
  using parlour::PadCommand;
  for (const PadCommand command : commands) {
    switch (command) {
      case PadCommand::Left:
        Key(VK_LEFT);
        break;
      case PadCommand::Right:
        Key(VK_RIGHT);
        break;
      case PadCommand::Up:
        Key(VK_UP);
        break;
      case PadCommand::Down:
        Key(VK_DOWN);
        break;
      case PadCommand::Play:
        Key(VK_RETURN);
        break;
      case PadCommand::Back:
        Key(VK_ESCAPE);
        break;
      case PadCommand::Menu:
        Key(VK_APPS);
        break;
      case PadCommand::PreviousCategory:
        room_.room().ChangeCategory(-1), Changed();
        break;
      case PadCommand::NextCategory:
        room_.room().ChangeCategory(1), Changed();
        break;
    }
  }
}

void RoomWindow::Key(WPARAM key) {
  room_.Quiet();
  parlour::Room& room = room_.room();
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  switch (key) {
    case VK_LEFT:
      room.Move(-1, 0);
      break;
    case VK_RIGHT:
      room.Move(1, 0);
      break;
    case VK_UP:
      room.Move(0, -1);
      break;
    case VK_DOWN:
      room.Move(0, 1);
      break;
    case VK_PRIOR:
      room.Page(-1);
      break;
    case VK_NEXT:
      room.Page(1);
      break;
    case VK_HOME:
      room.Home();
      break;
    case VK_END:
      room.End();
      break;
    case VK_TAB:
      room.ChangeCategory(shift ? -1 : 1);
      break;
    case VK_BACK:
      room.Erase();
      break;
    case VK_RETURN:
      return Do(kPlay);
    case VK_ESCAPE:
      if (!room.Back()) return Close();
      break;
    case VK_F2:
      return Do(kProperties);
    case VK_F3:
      return Do(room.SortOrder() == parlour::Sort::Name         ? kSortLast
                : room.SortOrder() == parlour::Sort::LastPlayed ? kSortTime
                                                                : kSortName);
    case VK_F5:
      return Do(kFind);
    case VK_INSERT:
      return Do(kAdd);
    case VK_DELETE:
      return Do(kRemove);
    case VK_APPS: {
      const RECT tile = ToRect(layout_.Tile(std::max(room.Selection(), 0), room.TopRow()));
      POINT at = {tile.left + 16, tile.top + 16};
      ::ClientToScreen(hwnd(), &at);
      return Menu(at, room.Selection() >= 0);
    }
    default:
      return;
  }
  Changed();
}

void RoomWindow::Click(int x, int y, bool twice) {
  for (std::size_t i = 0; i < categoryTabs_.size(); ++i) {
    const POINT at = {x, y};
    if (::PtInRect(&categoryTabs_[i], at)) {
      room_.room().SelectCategory(static_cast<int>(i));
      return Changed();
    }
  }
  const int position =
      layout_.HitTile(x, y, room_.room().TopRow(), static_cast<int>(room_.room().Shown().size()));
  if (position < 0) return;
  room_.room().Select(position);
  Changed();
  if (twice) Do(kPlay);
}

void RoomWindow::Menu(POINT at, bool onGame) {
  const HMENU menu = ::CreatePopupMenu();
  if (!menu) return;
  const parlour::Room& room = room_.room();
  if (onGame) {
    const parlour::Game& game = room_.library().games[room.SelectedGame()];
    ::AppendMenuA(menu, MF_STRING, kPlay, "&Play\tEnter");
    ::SetMenuDefaultItem(menu, kPlay, FALSE);
    ::AppendMenuA(menu, MF_STRING, kOpenFolder, "Open &folder");
    ::AppendMenuA(menu, MF_STRING, kProperties, "P&roperties...\tF2");
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING | (game.favourite ? MF_CHECKED : 0), kFavourite, "Fa&vourite");
    ::AppendMenuA(menu, MF_STRING | (game.hidden ? MF_CHECKED : 0), kHide, "&Hide");
    ::AppendMenuA(menu, MF_STRING, kRemove, "Re&move\tDel");
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  }
  ::AppendMenuA(menu, MF_STRING, kFind, "&Find games...\tF5");
  ::AppendMenuA(menu, MF_STRING, kAdd, "&Add a game...\tIns");
  ::AppendMenuA(menu, MF_STRING | (room.ShowsHidden() ? MF_CHECKED : 0), kShowHidden,
                "Show hidden &games");
  const UINT sort = room.SortOrder() == parlour::Sort::Name         ? kSortName
                    : room.SortOrder() == parlour::Sort::LastPlayed ? kSortLast
                                                                    : kSortTime;
  for (const auto& [command, caption] : {std::pair{kSortName, "Sort by &name"},
                                         {kSortLast, "Sort by &last played"},
                                         {kSortTime, "Sort by play &time"}})
    ::AppendMenuA(menu, MF_STRING | (command == sort ? MF_CHECKED : 0), command, caption);
  ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu, MF_STRING, kClose, "&Close\tEsc");
  ::SetForegroundWindow(hwnd());
  const UINT picked = static_cast<UINT>(::TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr));
  ::DestroyMenu(menu);
  if (picked) Do(picked);
}

void RoomWindow::Do(UINT command) {
  parlour::Room& room = room_.room();
  const int game = room.SelectedGame();
  switch (command) {
    case kPlay:
      if (room_.Play(lastStart_ = ::GetTickCount()))
        ::SetTimer(hwnd(), kPlayTimer, kStartingPlayMs, nullptr);
      break;
    case kOpenFolder:
      if (game >= 0) {
        const parlour::Game& entry = room_.library().games[game];
        api_.ShellExecuteA(0, nullptr,
                           entry.folder.empty() ? FolderOf(entry.program) : entry.folder, nullptr,
                           nullptr, SW_SHOWNORMAL);
      }
      break;
    case kProperties:
      return Properties();
    case kFavourite:
      room_.ToggleFavourite();
      break;
    case kHide:
      room_.ToggleHidden();
      break;
    case kRemove:
      if (game < 0) break;
      LoadCommonControls();
      if (::MessageBoxA(hwnd(),
                        ("Remove \"" + room_.library().games[game].name +
                         "\" from the games room? The game stays on the computer.")
                            .c_str(),
                        kRoomTitle, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        room_.Remove();
        tiles_.Clear();
      }
      break;
    case kFind:
      return Search(true);
    case kAdd:
      return AddGame();
    case kShowHidden:
      room.ShowHidden(!room.ShowsHidden());
      break;
    case kSortName:
      room.SetSort(parlour::Sort::Name);
      break;
    case kSortLast:
      room.SetSort(parlour::Sort::LastPlayed);
      break;
    case kSortTime:
      room.SetSort(parlour::Sort::PlayTime);
      break;
    case kClose:
      return Close();
  }
  Changed();
}

LRESULT RoomWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // Paint covers all of it
    case WM_SIZE:
      Changed();
      return 0;
    case WM_KEYDOWN:
      Key(wParam);
      return 0;
    case WM_CHAR:
      if (wParam >= 0x20 && wParam != 0x7F) room_.room().Type(static_cast<char>(wParam)), Changed();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Click(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)),
            message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_RBUTTONUP: {
      const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
      const int position = layout_.HitTile(x, y, room_.room().TopRow(),
                                           static_cast<int>(room_.room().Shown().size()));
      if (position >= 0) room_.room().Select(position), Changed();
      POINT at = {x, y};
      ::ClientToScreen(hwnd(), &at);
      Menu(at, position >= 0);
      return 0;
    }
    case WM_CONTEXTMENU:
      if (lParam == -1) Key(VK_APPS);  // from the keyboard; the mouse's comes as WM_RBUTTONUP
      return 0;
    case WM_MOUSEWHEEL:
      room_.room().Scroll(static_cast<short>(HIWORD(wParam)) > 0 ? -1 : 1);
      Changed();
      return 0;
    case WM_TIMER:
      Timer(wParam);
      return 0;
    case kShowRoom:
      Show();
      return 0;
    case kSearchDone:
      for (auto& found : finds_->Take()) FoundGames(std::move(found));
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_ENDSESSION:
      if (wParam) room_.EndPlays();
      return 0;
  }
  return WindowBase::OnMessage(message, wParam, lParam);
}

void RoomWindow::OnNcDestroy() {
  ::PostQuitMessage(0);
}

}  // namespace ludora::win32
