#include "traydock/tray_start.h"

#include "platform/win_constants.h"

namespace ludora::traydock {

Start DecideStart(WindowsApi& api, ScopedHandle& instance, bool shown) {
  instance = ScopedHandle(api, api.CreateMutexA(nullptr, 0, kInstanceName));
  if (instance && api.GetLastError() == ERROR_ALREADY_EXISTS) {
    const HWND first = shown ? api.FindWindowA(kTrayClass, kTrayTitle) : 0;
    if (first) {
      DWORD process = 0;
      api.GetWindowThreadProcessId(first, &process);
      api.AllowSetForegroundWindow(process);
      api.PostMessageA(first, kShowMessage, 0, 0);
    }
    api.OutputDebugStringA("traydock: already running");
    return Start::Exit;
  }
  if (!api.FindWindowA(kTrayClass, nullptr)) return Start::Host;
  api.OutputDebugStringA("traydock: another tray host runs");
  return Start::Exit;
}

bool ShownAtStart(int showCommand) {
  for (const int hidden :
       {SW_HIDE, SW_SHOWMINIMIZED, SW_MINIMIZE, SW_SHOWMINNOACTIVE, SW_FORCEMINIMIZE}) {
    if (showCommand == hidden) return false;
  }
  return true;
}

}  // namespace ludora::traydock
