// pno0001.exe: the quick menu's first-person shooter. Plays; or, given
// --bench [frames], measures its drawing.
#include <windows.h>

#include <cstring>
#include <new>

#include "pno0001/game_win.h"

// The C++ library's new would bring its exceptions along (tens of KB): the
// game's few allocations, all made at start, come from the process heap, and
// a machine without the memory for them gets a message instead of a game.
void* operator new(std::size_t size) {
  if (void* block = ::HeapAlloc(::GetProcessHeap(), 0, size ? size : 1)) return block;
  ::MessageBoxA(nullptr, "Not enough memory to start the game.", "Corvane Ludora Shooter",
                MB_OK | MB_ICONSTOP);
  ::ExitProcess(1);
}
void operator delete(void* block) noexcept {
  if (block) ::HeapFree(::GetProcessHeap(), 0, block);
}
void operator delete(void* block, std::size_t) noexcept {
  operator delete(block);
}

namespace {

// The frames asked for after --bench (2000 unless a number follows), or 0
// when the command line does not ask for the benchmark.
int BenchFrames(const char* commandLine) {
  const char* bench = std::strstr(commandLine, "--bench");
  if (!bench) return 0;
  const char* digits = bench + 7;
  while (*digits == ' ') ++digits;
  int frames = 0;
  for (; *digits >= '0' && *digits <= '9' && frames < 1000000; ++digits)
    frames = frames * 10 + (*digits - '0');
  return frames > 0 ? frames : 2000;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  auto* game = new ludora::pno0001::Game(instance);
  const int frames = BenchFrames(::GetCommandLineA());
  const int code = frames > 0 ? game->Bench(frames) : game->Play(show);
  delete game;
  return code;
}
