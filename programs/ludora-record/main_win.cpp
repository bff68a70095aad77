// ludora-record.exe: records the machine for the installer and puts it back
// for the uninstaller.
#include <windows.h>

#include "ludora-record/record_tool.h"
#include "platform/resume_next.h"
#include "win32/real_windows_api.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ludora::RealWindowsApi api;
  return ludora::GuardedMain(api, "ludora-record",
                             [&] { return ludora::record::Run(api, ::GetCommandLineA()); });
}
