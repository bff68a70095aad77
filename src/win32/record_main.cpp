// ludora-record.exe: records the machine for the installer and puts it back
// for the uninstaller.
#include <windows.h>

#include "record/record_tool.h"
#include "win32/real_windows_api.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ludora::RealWindowsApi api;
  try {
    return ludora::record::Run(api, ::GetCommandLineA());
  } catch (...) {
    return 1;
  }
}
