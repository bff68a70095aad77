// lobbyfind.exe: the game-server browser the quick menu's "Find and Join
// Multiplayer Games!" opens. No arguments.
#include <windows.h>
#include <commctrl.h>
#include <winsock2.h>

#include "lobbyfind/browser_window_win.h"
#include "platform/paths.h"
#include "platform/resume_next.h"
#include "platform/settings_file.h"
#include "win32/real_socket_api.h"
#include "win32/real_windows_api.h"

namespace {

namespace lf = ludora::lobbyfind;

int Run(HINSTANCE instance, ludora::RealWindowsApi& api) {
  ludora::RealSocketApi sockets;
  ludora::WSADATA data;
  if (sockets.WSAStartup(0x0202, &data) != 0) {
    ::MessageBoxA(nullptr, "Windows Sockets 2 is not installed.", "Corvane Ludora Server Browser",
                  MB_OK | MB_ICONWARNING);
    return 1;
  }
  INITCOMMONCONTROLSEX controls = {sizeof controls,
                                   ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  ludora::win32::ProgramState state{
      api, sockets, ludora::ProgramFolder(api), ludora::MakeUserSettingsFolder(api), {}};
  std::vector<lf::Game> games = lf::LoadGames(api, state.appFolder, state.userFolder);
  if (const auto text = lf::ReadUserFile(api, state.userFolder, lf::kSettingsFile)) {
    state.settings = lf::ReadSettings(ludora::ParseIni(*text), games);
  }
  int result = 1;
  {
    ludora::win32::BrowserWindow window(instance, state, std::move(games));
    if (window.hwnd()) {
      ::ShowWindow(window.hwnd(), SW_SHOWNORMAL);
      ::MSG message;
      while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (window.PreTranslate(message)) continue;
        if (window.hwnd() && ::IsDialogMessageA(window.hwnd(), &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
      }
      result = 0;
    }
  }
  sockets.WSACleanup();
  return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  ludora::RealWindowsApi api;
  return ludora::GuardedMain(api, "lobbyfind", [&] { return Run(instance, api); });
}
