// ludora-watch.exe: starts Ludora again when, as the session's shell, it
// ends abnormally.
#include <windows.h>

#include "platform/resume_next.h"
#include "ludora-watch/watchdog.h"
#include "win32/real_windows_api.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ludora::RealWindowsApi api;
  return ludora::GuardedMain(api, "ludora-watch",
                             [&] { return ludora::watch::Run(api, ::GetCommandLineA()); });
}
