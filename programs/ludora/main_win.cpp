// Ludora's entry point: the real Windows, the program state, the bar.
#include <windows.h>

#include "ludora/form1.h"
#include "ludora/form3.h"
#include "platform/resume_next.h"
#include "ludora/program.h"
#include "ludora/bar_window_win.h"
#include "win32/real_windows_api.h"
#include "ludora/window_system_win.h"

namespace {

int Run(HINSTANCE instance, ludora::RealWindowsApi& api) {
  using namespace ludora;
  win32::Win32WindowSystem windows(instance);
  Program program(api, windows);
  windows.SetProgram(&program);

  win32::BarWindow bar(windows);
  Form3 form3(program, bar);
  bar.Attach(form3);
  program.SetForm3(&form3);

  switch (form3.Load()) {
    case Form3::LoadResult::EndProgram:
      return 0;
    case Form3::LoadResult::NoBar:
      return 1;  // no desktop: whatever restarts a shell must see a failure
    case Form3::LoadResult::Run:
      break;
  }
  bar.Show();

  ::MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  program.session().EndedOrderly();  // every window closed: not to be started again
  return 0;
}

}  // namespace

// The window procedures catch what their handlers throw; this is for what
// could go wrong before the first window exists.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Never destroyed: a batch of process starts still being made when the
  // program ends goes on using it until Windows ends its thread.
  static auto& api = *new ludora::RealWindowsApi;
  return ludora::GuardedMain(api, "WinMain", [&] { return Run(instance, api); });
}
