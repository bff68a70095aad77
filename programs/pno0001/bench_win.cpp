// pno0001.exe --bench [frames]: the recorded run drawn tick by tick at
// 640 x 480 into the window, as fast as it goes.
#include <windows.h>

#include <cstring>

#include "pno0001/game_win.h"
#include "pno0001/replay.h"
#include "pno0001/status.h"

namespace ludora::pno0001 {

namespace {

// To the standard output: redirected, or Wine's; else the console of the
// command prompt that started it (Windows XP); else a message box.
void Print(const char* text) {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (!out || out == INVALID_HANDLE_VALUE) {
    using Attach = BOOL(WINAPI*)(DWORD);
    const auto attach = reinterpret_cast<Attach>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "AttachConsole")));
    if (attach && attach(static_cast<DWORD>(-1)))  // the parent's
      out = ::CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                          nullptr);
  }
  DWORD written = 0;
  if (out && out != INVALID_HANDLE_VALUE &&
      ::WriteFile(out, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr))
    return;
  ::MessageBoxA(nullptr, text, "Corvane Ludora Shooter", MB_OK | MB_ICONINFORMATION);
}

// Frames a second to one decimal, from a count and a time in counter ticks.
void Rate(char* text, int frames, LONGLONG ticks, LONGLONG frequency) {
  const LONGLONG tenths = ticks > 0 ? frames * frequency * 10 / ticks : 0;
  ::wsprintfA(text, "%d.%d", static_cast<int>(tenths / 10), static_cast<int>(tenths % 10));
}

}  // namespace

int Game::Bench(int frames) {
  benchmark_ = true;
  if (!MakeWindow("Corvane Ludora Shooter - benchmark", SW_SHOWNORMAL)) return 1;
  session_ = Session(0);
  session_.NewGame();
  Replay run = BenchRun();
  frame_ = {pixels_.data(), 640, 480};
  const HDC dc = ::GetDC(window_);
  LARGE_INTEGER frequency, start, end, before, after;
  ::QueryPerformanceFrequency(&frequency);
  LONGLONG drawing = 0;
  ::QueryPerformanceCounter(&start);
  for (int i = 0; i < frames && window_; ++i) {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    session_.Tick(run.Next());
    ::QueryPerformanceCounter(&before);
    renderer_.DrawView(session_.world(), frame_);
    DrawStatus(session_, frame_);
    ::QueryPerformanceCounter(&after);
    drawing += after.QuadPart - before.QuadPart;
    Present(dc, frame_);
  }
  ::GdiFlush();
  ::QueryPerformanceCounter(&end);
  ::ReleaseDC(window_, dc);
  char shown[16], drawn[16], text[256];
  Rate(shown, frames, end.QuadPart - start.QuadPart, frequency.QuadPart);
  Rate(drawn, frames, drawing, frequency.QuadPart);
  ::wsprintfA(text,
              "pno0001 --bench: %d frames at 640x480: %s frames per second drawn and shown "
              "(%s drawing alone); end state %08lx\r\n",
              frames, shown, drawn, static_cast<unsigned long>(session_.world().Fingerprint()));
  Print(text);
  if (window_) ::DestroyWindow(window_);
  return 0;
}

}  // namespace ludora::pno0001
