// The orderly end of Ludora as the session's shell, told to its watchdog by
// an event, so that the watchdog lets it be: Ludora's own end, the
// session's, and the uninstaller's close. And the end of a companion that
// must make way: asked to close, waited for, ended when it will not.
#pragma once

#include <functional>
#include <initializer_list>

#include "platform/windows_api.h"

namespace ludora {

void SignalOrderlyEnd(WindowsApi& api);

// Sets the event of that name, when one exists.
void SetNamedEvent(WindowsApi& api, const char* name);

// Closes `windows` of the process that owns `owner`, and waits for it to
// end. A window of its own may keep it going (the defragmenter ignores a
// close while it counts): ended then, as its files are about to be replaced
// or removed, or its place taken.
void CloseProcessOf(WindowsApi& api, HWND owner, std::initializer_list<HWND> windows);

// Looks at `condition` every 50 ms until it holds or `within` ms have gone;
// whether it held.
bool WaitUntil(WindowsApi& api, DWORD within, const std::function<bool()>& condition);

// The window of Ludora's notification area, traydock.exe; 0 when none runs.
HWND TrayDockWindow(WindowsApi& api);

}  // namespace ludora
