// traydock.exe: the notification area while Ludora is the shell. Hosts the
// icons of Shell_NotifyIcon and shows them beside the bar when asked.
#include <windows.h>
#include <commctrl.h>

#include "traydock/tray_start.h"
#include "tuning/primitives.h"
#include "win32/real_windows_api.h"
#include "win32/tray_window.h"

namespace {

namespace traydock = ludora::traydock;

int Run(HINSTANCE instance, int show) {
  ludora::RealWindowsApi api;
  ludora::ScopedHandle firstInstance(api);
  if (traydock::DecideStart(api, firstInstance) == traydock::Start::Exit) return 0;
  ::InitCommonControls();
  const bool nt = ludora::GetPlatform(api) == ludora::Platform::Nt;
  ludora::win32::TrayWindow tray(instance, api, nt);
  if (!tray.hwnd()) return 1;
  // Programs that were running add their icons again.
  ::PostMessageA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  if (traydock::ShownAtStart(show)) tray.Show();
  if (nt) tray.LoadServiceObjects();

  ::MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  try {
    return Run(instance, show);
  } catch (...) {
    return 1;
  }
}
