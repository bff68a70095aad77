// lobbyfind.exe: the game-server browser the quick menu's "Find and Join
// Multiplayer Games!" opens. No arguments.
#include <windows.h>
#include <commctrl.h>
#include <winsock2.h>

#include "lobbyfind/browser_window.h"
#include "platform/paths.h"
#include "platform/resume_next.h"
#include "platform/scoped.h"
#include "win32/real_socket_api.h"
#include "win32/real_windows_api.h"

namespace {

namespace lf = ludora::lobbyfind;

constexpr int kAppData = 0x1A;  // CSIDL_APPDATA

// The user's own folder for lobbyfind's files, made when missing; empty
// where Windows has no Application Data folder to say (98 without the
// desktop update), and then nothing is saved. The NT family names it in
// the environment, which spares loading the shell's DLLs (a megabyte and
// more of the program's memory) for one path.
std::string UserFolder(ludora::WindowsApi& api) {
  char path[MAX_PATH] = {};
  const DWORD length = api.ExpandEnvironmentStringsA("%APPDATA%", path, sizeof path);
  if (length == 0 || length > sizeof path || path[0] == '%') {
    ludora::ScopedPidl folder(api);
    path[0] = '\0';
    if (api.SHGetSpecialFolderLocation(0, kAppData, folder.out()) != 0 ||
        !api.SHGetPathFromIDListA(folder.get(), path) || !path[0]) {
      return {};
    }
  }
  const std::string mine = std::string(path) + "\\Corvane Ludora";
  ::CreateDirectoryA(mine.c_str(), nullptr);
  return mine;
}

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
  ludora::win32::ProgramState state{api, sockets, ludora::ProgramFolder(api), UserFolder(api),
                                    {},  {}};
  state.games = lf::LoadGames(api, state.appFolder, state.userFolder);
  if (const auto text = lf::ReadWholeFile(api, state.userFolder + "\\" + lf::kSettingsFile);
      text && !state.userFolder.empty()) {
    state.settings = lf::ReadSettings(lf::ParseIni(*text), state.games);
  }
  int result = 1;
  {
    ludora::win32::BrowserWindow window(instance, state);
    if (window.hwnd()) {
      ::ShowWindow(window.hwnd(), SW_SHOWNORMAL);
      ::MSG message;
      while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (::TranslateAcceleratorA(window.hwnd(), window.accelerators(), &message)) continue;
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
