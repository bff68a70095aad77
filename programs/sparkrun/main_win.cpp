// sparkrun.exe: starts the program named on its command line in the high
// priority class, or the one picked in an Open dialog.
#include <windows.h>

#include "sparkrun/launch_request.h"
#include "platform/resume_next.h"
#include "win32/real_windows_api.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ludora::RealWindowsApi api;
  return ludora::GuardedMain(api, "sparkrun",
                             [&] { return ludora::sparkrun::Run(api, ::GetCommandLineA()); });
}
