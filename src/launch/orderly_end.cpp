#include "launch/orderly_end.h"

#include "launch/companions.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora {

namespace {
constexpr DWORD kEndsWithin = 10000;    // ms, after it is asked to close
constexpr DWORD kIsEndedWithin = 5000;  // ms, after it is ended
}  // namespace

void SetNamedEvent(WindowsApi& api, const char* name) {
  const ScopedHandle event(api, api.OpenEventA(EVENT_MODIFY_STATE, 0, name));
  if (event) api.SetEvent(event.get());
}

void SignalOrderlyEnd(WindowsApi& api) {
  SetNamedEvent(api, companions::kOrderlyEndEvent);
}

void CloseProcessOf(WindowsApi& api, HWND owner, std::initializer_list<HWND> windows) {
  DWORD processId = 0;
  api.GetWindowThreadProcessId(owner, &processId);
  const ScopedHandle process(api, api.OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, 0, processId));
  for (const HWND window : windows) {
    if (window) api.PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (process && api.WaitForSingleObject(process.get(), kEndsWithin) != WAIT_OBJECT_0 &&
      api.TerminateProcess(process.get(), 0)) {
    api.WaitForSingleObject(process.get(), kIsEndedWithin);
  }
}

bool WaitUntil(WindowsApi& api, DWORD within, const std::function<bool()>& condition) {
  constexpr DWORD kLookAgainAfter = 50;
  for (DWORD waited = 0; !condition(); waited += kLookAgainAfter) {
    if (waited >= within) return false;
    api.Sleep(kLookAgainAfter);
  }
  return true;
}

HWND TrayDockWindow(WindowsApi& api) {
  return api.FindWindowA("Shell_TrayWnd", companions::kTrayDockTitle);
}

}  // namespace ludora
