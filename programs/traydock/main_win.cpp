// traydock.exe: the notification area while Ludora is the shell. Hosts the
// icons of Shell_NotifyIcon and shows them beside the bar when asked.
#include <windows.h>
#include <commctrl.h>

#include "platform/resume_next.h"
#include "traydock/tray_start.h"
#include "tuning/primitives.h"
#include "win32/real_windows_api.h"
#include "traydock/tray_window_win.h"

namespace {

namespace traydock = ludora::traydock;

int Run(HINSTANCE instance, ludora::RealWindowsApi& api, int show) {
  ludora::ScopedHandle firstInstance(api);
  const bool shown = traydock::ShownAtStart(show);
  if (traydock::DecideStart(api, firstInstance, shown) == traydock::Start::Exit) return 0;
  ::InitCommonControls();
  const bool nt = ludora::GetPlatform(api) == ludora::Platform::Nt;
  ludora::win32::TrayWindow tray(instance, api, nt);
  if (!tray.hwnd()) return 1;
  // Programs that were running add their icons again.
  ::PostMessageA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  if (shown) tray.Show();
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
  ludora::RealWindowsApi api;
  return ludora::GuardedMain(api, "traydock", [&] { return Run(instance, api, show); });
}
