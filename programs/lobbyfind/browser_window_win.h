// lobbyfind's window: the views (Internet, LAN, favourites) as tabs, the
// filters, the list of servers, and the players and settings of the one
// selected. It hands Windows' events to the browser, which drives it back
// through BrowserView; keys become commands as lobbyfind/commands.h says.
#pragma once

#include <string>
#include <vector>

#include "lobbyfind/browser.h"
#include "lobbyfind/commands.h"
#include "lobbyfind/resolver.h"
#include "platform/windows_api.h"
#include "win32/window_base.h"

namespace ludora::win32 {

// A name resolved: its address and tag as lobbyfind/resolver.h packs them.
inline constexpr UINT kResolvedMessage = WM_APP + 3;

// What WinMain owns for the window: the seams, the folders, the settings.
struct ProgramState {
  ludora::WindowsApi& api;
  ludora::SocketApi& sockets;
  std::string appFolder, userFolder;
  lobbyfind::UserSettings settings;
};

class BrowserWindow : public WindowBase, lobbyfind::BrowserView {
 public:
  // The games go to the browser, whose table the window reads from then on.
  BrowserWindow(HINSTANCE instance, ProgramState& state, std::vector<lobbyfind::Game> games);
  ~BrowserWindow() override;
  // A key for the window or one of its controls, as a command of the
  // window's: true when it was one, and is done.
  bool PreTranslate(const MSG& message);

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnNcDestroy() override;
  void MakeControls();
  void Layout();
  void Run(lobbyfind::Command command);
  LRESULT Notify(const NMHDR& header);
  static bool InputWaiting();
  void ReadFilters();
  void Join();
  void AddByAddress();
  void ToggleFavourite(bool leaveOnly);
  void EditMasters();
  void ChooseProgram(int game);
  void CopyAddress();
  void Resolve(const std::string& name, int game, bool favourite);
  void Resolved(const lobbyfind::Resolved& resolved);
  void SaveSettings();
  void SaveGames();
  DWORD Now() const;

  // lobbyfind::BrowserView
  void SetTitle(const std::string& text) override;
  void SetStatus(const std::string& text) override;
  void ShowTab(int tab) override;
  void SetRowCount(std::size_t rows) override;
  void SelectRow(int row) override;
  void RedrawRows() override;
  void ShowDetails(const lobbyfind::TextRows& players,
                   const lobbyfind::TextRows& settings) override;
  bool SetTimer(UINT ms) override;
  void ResolveMaster(const std::string& name, int game) override;

  HINSTANCE instance_;
  ProgramState& state_;
  long long frequency_ = 0;
  lobbyfind::Browser browser_;
  HWND tabs_ = nullptr, games_ = nullptr, notEmpty_ = nullptr, notFull_ = nullptr, ping_ = nullptr,
       find_ = nullptr, list_ = nullptr, players_ = nullptr, settings_ = nullptr, status_ = nullptr;
  std::vector<HWND> labels_;
  HWND focus_ = nullptr;  // the control with the keyboard when the window went inactive
};

}  // namespace ludora::win32
