// A stand-in game for the end-to-end tests: it appends a line saying how it
// was started to probe.log in its own folder, and ends. In its working folder:
// "hold <file>" holds the file open for itself alone, and writes held.txt;
// "explorer" stands in for Explorer (its desktop and taskbar windows, until
// ended), writing explorer.txt; "ready" writes waiting.txt, waits for the
// log-on's ready event and writes ready.txt: whether the bar was on screen;
// "post <window class> <message> <lParam>" posts the message to the window
// as any program may, and ends (1 when there was no such window).
// After its line, "play <n>" among its arguments keeps it running n seconds,
// and "launch <n> [program]" starts a copy of it (or the program named) to
// play n seconds, and ends at once.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

// Says a state was reached, with an empty file in the working folder.
void Touch(const char* name) {
  ::CloseHandle(::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

void ExplorerWindows(HINSTANCE instance) {
  for (const char* name : {"Progman", "Shell_TrayWnd"}) {
    WNDCLASSA windowClass = {0,       ::DefWindowProcA, 0,       0,       instance,
                             nullptr, nullptr,          nullptr, nullptr, name};
    ::RegisterClassA(&windowClass);
    ::CreateWindowExA(0, name, nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
  }
  Touch("explorer.txt");
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
}

void WaitForReady() {
  const HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, "msgina: ShellReadyEvent");
  Touch("waiting.txt");
  if (::WaitForSingleObject(ready, 120000) != WAIT_OBJECT_0) return;
  const HWND bar = ::FindWindowA("CorvaneLudoraBar", nullptr);
  if (FILE* out = std::fopen("ready.txt", "w")) {
    std::fprintf(out, "bar=%d\n", bar && ::IsWindowVisible(bar) ? 1 : 0);
    std::fclose(out);
  }
}

int Post(const char* arguments) {
  char windowClass[256] = {};
  unsigned message = 0;
  unsigned long lParam = 0;
  if (std::sscanf(arguments, "%255s %u %lu", windowClass, &message, &lParam) != 3) return 2;
  const HWND window = ::FindWindowA(windowClass, nullptr);
  return window && ::PostMessageA(window, message, 0, static_cast<LPARAM>(lParam)) ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  if (std::strcmp(arguments, "explorer") == 0) return ExplorerWindows(instance), 0;
  if (std::strcmp(arguments, "ready") == 0) return WaitForReady(), 0;
  if (std::strncmp(arguments, "post ", 5) == 0) return Post(arguments + 5);
  if (std::strncmp(arguments, "hold ", 5) == 0) {
    char* file = arguments + 5;
    if (*file == '"') file[std::strlen(file) - 1] = '\0', ++file;  // "<path with blanks>"
    ::CreateFileA(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Touch("held.txt");
    ::Sleep(INFINITE);
  }
  char exe[MAX_PATH] = {}, folder[MAX_PATH] = {}, log[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, exe, sizeof exe);
  ::GetCurrentDirectoryA(sizeof folder, folder);
  std::strcpy(log, exe);
  if (char* slash = std::strrchr(log, '\\')) std::strcpy(slash + 1, "probe.log");
  if (FILE* out = std::fopen(log, "a")) {
    std::fprintf(out, "exe=%s|priority=%lu|cwd=%s|cmdline=%s\n", exe,
                 static_cast<unsigned long>(::GetPriorityClass(::GetCurrentProcess())), folder,
                 ::GetCommandLineA());
    std::fclose(out);
  }
  if (const char* play = std::strstr(arguments, "play ")) ::Sleep(std::atoi(play + 5) * 1000);
  if (const char* launch = std::strstr(arguments, "launch ")) {
    char* named = nullptr;
    const long seconds = std::strtol(launch + 7, &named, 10);
    const char* program = *named == ' ' ? named + 1 : exe;
    char line[MAX_PATH + 32];
    std::snprintf(line, sizeof line, "\"%s\" play %ld", program, seconds);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child;
    if (::CreateProcessA(program, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &child))
      ::CloseHandle(child.hProcess), ::CloseHandle(child.hThread);
  }
  return 0;
}
