// parlour.exe, the games room: every game on the machine in one window,
// started with a key or a gamepad, its play time recorded. One room runs
// at a time: a second start shows the first.
#include <windows.h>

#include "parlour/games_room.h"
#include "parlour/library_file.h"
#include "parlour/room_window_win.h"
#include "platform/paths.h"
#include "platform/resume_next.h"
#include "platform/scoped.h"
#include "win32/real_windows_api.h"

namespace {

constexpr char kInstanceName[] = "CorvaneLudoraGamesRoom";

int Run(HINSTANCE instance, ludora::RealWindowsApi& api) {
  const ludora::ScopedHandle first(api, api.CreateMutexA(nullptr, FALSE, kInstanceName));
  if (first && api.GetLastError() == ERROR_ALREADY_EXISTS) {
    if (const HWND room = ::FindWindowA(ludora::win32::kRoomClass, nullptr)) {
      DWORD pid = 0;
      ::GetWindowThreadProcessId(room, &pid);
      api.AllowSetForegroundWindow(pid);
      ::PostMessageA(room, ludora::win32::kShowRoom, 0, 0);
    }
    return 0;
  }
  const std::string folder = ludora::ProgramFolder(api);
  ludora::parlour::GamesRoom state(api, folder, ludora::parlour::LibraryPath(api, folder));
  state.Load();
  ludora::win32::RoomWindow window(instance, api, state);
  if (!window.hwnd()) return 1;
  window.Show();
  ::UpdateWindow(window.hwnd());
  window.Search(false);  // new games join the room as they are found

  ::MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  ludora::RealWindowsApi api;
  return ludora::GuardedMain(api, "parlour", [&] { return Run(instance, api); });
}
