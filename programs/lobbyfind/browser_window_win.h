// lobbyfind's window: the views (Internet, LAN, favourites) as tabs, the
// filters, the list of servers, and the players and settings of the one
// selected. A timer drives the queries; Windows' socket message brings
// the answers; the list is redrawn from the table a few times a second.
#pragma once

#include <string>
#include <vector>

#include "lobbyfind/browser.h"
#include "lobbyfind/resolver.h"
#include "lobbyfind/server_view.h"
#include "platform/windows_api.h"
#include "win32/window_base.h"

namespace ludora::win32 {

inline constexpr char kAppTitle[] = "Corvane Ludora Server Browser";
// A name resolved: its address and tag as lobbyfind/resolver.h packs them.
inline constexpr UINT kResolvedMessage = WM_APP + 3;

// What WinMain owns for the window: the seams, the folders, the settings.
struct ProgramState {
  ludora::WindowsApi& api;
  ludora::SocketApi& sockets;
  std::string appFolder, userFolder;
  lobbyfind::UserSettings settings;
};

class BrowserWindow : public WindowBase {
 public:
  // The games go to the browser, whose table the window reads from then on.
  BrowserWindow(HINSTANCE instance, ProgramState& state, std::vector<lobbyfind::Game> games);
  ~BrowserWindow() override;
  HACCEL accelerators() const { return accelerators_; }

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnNcDestroy() override;
  void MakeControls();
  void Layout();
  void Command(int id);
  LRESULT Notify(const NMHDR& header);
  void ShowView(unsigned view, bool refresh);
  void RefreshAll();
  void Tick();
  void ReadAnswers();
  static bool InputWaiting();
  void Pace(UINT ms);
  void Wake();  // the timer fast again: queries are waiting
  void RefreshDone(DWORD now);
  void UpdateRows();
  void UpdateTitle();
  void UpdateDetails();
  void ReadFilters();
  std::optional<std::size_t> RowServer() const;  // the server of the list's selected row
  void SelectionChanged();
  void Join();
  void AddByAddress();
  void ToggleFavourite();
  void EditMasters();
  void ChooseProgram(int game);
  void CopyAddress();
  void Resolve(const std::string& name, int game, bool favourite);
  void Resolved(const lobbyfind::Resolved& resolved);
  void SaveSettings();
  void SaveGames();
  DWORD Now() const;

  HINSTANCE instance_;
  ProgramState& state_;
  lobbyfind::Browser browser_;
  HACCEL accelerators_ = nullptr;
  HWND tabs_ = nullptr, games_ = nullptr, notEmpty_ = nullptr, notFull_ = nullptr, ping_ = nullptr,
       find_ = nullptr, list_ = nullptr, players_ = nullptr, settings_ = nullptr, status_ = nullptr;
  std::vector<HWND> labels_;
  unsigned view_ = lobbyfind::kFavourites;
  unsigned shown_ = 0;  // the views refreshed in this run
  lobbyfind::Sort sort_;
  std::vector<std::size_t> rows_;
  std::optional<std::size_t> selected_;  // the server selected, whatever its row
  bool updating_ = false;                // the list is being set to the table
  std::size_t listCount_ = 0;            // the rows the list was told of
  bool dirty_ = false, detailsShown_ = false, refreshing_ = false;
  bool readLater_ = false;  // answers left to the timer while input waited
  DWORD refreshStart_ = 0, refreshTime_ = 0, lastUpdate_ = 0;
  std::string title_;
  HWND focus_ = nullptr;  // the control with the keyboard when the window went inactive
  long long frequency_ = 0;
  UINT tickMs_ = 0;
};

}  // namespace ludora::win32
