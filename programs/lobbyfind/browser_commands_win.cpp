// The commands of lobbyfind's window: join, add, favourites, masters, the
// game's program, copy; the user's files written; names resolved off the
// window's thread.
#include "lobbyfind/browser_window_win.h"

#include <commdlg.h>

#include <cstring>
#include <memory>

#include "lobbyfind/join.h"
#include "lobbyfind/prompt_window_win.h"
#include "lobbyfind/resolver.h"
#include "win32/real_socket_api.h"

namespace ludora::win32 {

namespace lf = ludora::lobbyfind;

void BrowserWindow::Resolve(const std::string& name, int game, bool favourite) {
  lf::ResolveLater(state_.api, std::make_unique<ludora::RealSocketApi>(),
                   reinterpret_cast<std::uintptr_t>(hwnd()), kResolvedMessage, name, game,
                   favourite);
}

void BrowserWindow::Resolved(const lf::Resolved& resolved) {
  if (!resolved.favourite) return browser_.MasterResolved(resolved.address, resolved.game);
  if (browser_.FavouriteResolved(resolved.address, resolved.game)) SaveSettings();
}

void BrowserWindow::Join() {
  const auto server = browser_.selected();
  if (!server) return;
  // A copy: the dialogs' message loops below read the socket, whose answers
  // may add servers and move the table.
  const lf::Server row = browser_.servers()[*server];
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
    const auto given =
        AskText(instance_, hwnd(), "Password", "This server asks for a password:", "", true);
    if (!given) return;
    password = *given;
  }
  if (!lf::StartGame(state_.api, program, lf::JoinArguments(game, row.address, password))) {
    ::MessageBoxA(hwnd(), ("Windows could not start " + program + ".").c_str(), lf::kAppTitle,
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
  const int filterGame = browser_.filter().game;
  const int game = filterGame >= 0 ? filterGame : 0;
  if (browser_.games().empty()) return;
  const auto text =
      AskText(instance_, hwnd(), "Add a server",
              "Address of a " + browser_.games()[static_cast<std::size_t>(game)].name +
                  " server (host or a.b.c.d, and :port):",
              "");
  if (!text || text->empty()) return;
  const lf::Game& row = browser_.games()[static_cast<std::size_t>(game)];
  const std::string withPort =
      text->find(':') == std::string::npos ? *text + ':' + std::to_string(row.firstPort) : *text;
  const auto address = ludora::SocketAddress::Parse(withPort);
  if (!address) return Resolve(withPort, game, true);
  Resolved({*address, game, true});
}

void BrowserWindow::ToggleFavourite(bool leaveOnly) {
  if (leaveOnly ? browser_.LeaveFavourites() : browser_.ToggleFavourite()) SaveSettings();
}

void BrowserWindow::EditMasters() {
  const int row = browser_.filter().game >= 0 ? browser_.filter().game : 0;
  if (browser_.games().empty()) return;
  lf::Game& game = browser_.games()[static_cast<std::size_t>(row)];
  std::string masters;
  for (const std::string& master : game.masters) masters += (masters.empty() ? "" : " ") + master;
  const auto text =
      AskText(instance_, hwnd(), "Masters of " + game.name,
              "Masters of " + game.name + ", host:port, separated by blanks:", masters);
  if (!text) return;
  const auto read = lf::ReadGames(ludora::ParseIni("[Masters]\nProtocol=q3\nMasters=" + *text));
  game.masters = read.empty() ? std::vector<std::string>() : read[0].masters;
  SaveGames();
}

void BrowserWindow::CopyAddress() {
  const auto server = browser_.selected();
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
  state_.settings.view = browser_.view();
  state_.settings.filter = browser_.filter();
  state_.settings.favourites = browser_.Favourites();
  lf::SaveUserFile(state_.api, state_.userFolder, lf::kSettingsFile,
                   ludora::WriteIni(lf::WriteSettings(state_.settings, browser_.games())));
}

void BrowserWindow::SaveGames() {
  lf::SaveUserFile(state_.api, state_.userFolder, lf::kGamesFile,
                   "; The games of lobbyfind, the user's copy: edit freely.\r\n" +
                       ludora::WriteIni(lf::WriteGames(browser_.games())));
}

}  // namespace ludora::win32
