// A stand-in game for the end-to-end tests: it appends one line to
// probe.log in its own folder, saying how it was started, and ends.
// "probe.exe hold <file>" instead holds the file open for itself alone,
// and says so with held.txt in its working folder.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  if (std::strncmp(arguments, "hold ", 5) == 0) {
    char* file = arguments + 5;
    if (*file == '"') file[std::strlen(file) - 1] = '\0', ++file;  // "<path with blanks>"
    ::CreateFileA(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ::CloseHandle(::CreateFileA("held.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ::Sleep(INFINITE);
  }
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
