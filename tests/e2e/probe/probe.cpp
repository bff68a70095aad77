// A stand-in game for the end-to-end tests: it appends one line to
// probe.log in its own folder, saying how it was started, and ends.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char exe[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, exe, sizeof exe);
  char folder[MAX_PATH] = {};
  ::GetCurrentDirectoryA(sizeof folder, folder);
  char log[MAX_PATH] = {};
  std::strcpy(log, exe);
  if (char* slash = std::strrchr(log, '\\')) std::strcpy(slash + 1, "probe.log");
  if (FILE* out = std::fopen(log, "a")) {
    std::fprintf(out, "exe=%s|priority=%lu|cwd=%s|cmdline=%s\n", exe,
                 static_cast<unsigned long>(::GetPriorityClass(::GetCurrentProcess())), folder,
                 ::GetCommandLineA());
    std::fclose(out);
  }
  return 0;
}
