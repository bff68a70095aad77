// The time a window takes to answer a click, measured inside Windows (Wine)
// without the test's own tools in the way: clicks on a child window at one
// of two places, the one whose title the window does not show, each timed
// from the click to the window's title being that one.
//   click_probe <window class> <child class> <x1> <title1> <x2> <title2> <count> <interval ms>
// The places are x pixels from the child's left, in the middle of its top
// 20 pixels. Prints the milliseconds of each click, a line each; -1 for a
// click unanswered after 5 s.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 9) return 2;
  const HWND window = ::FindWindowA(argv[1], nullptr);
  const HWND child = window ? ::FindWindowExA(window, nullptr, argv[2], nullptr) : nullptr;
  if (!child) return 1;
  const int xs[] = {std::atoi(argv[3]), std::atoi(argv[5])};
  const char* titles[] = {argv[4], argv[6]};
  const int count = std::atoi(argv[7]), interval = std::atoi(argv[8]);
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  for (int i = 0; i < count; ++i) {
    char now[256] = "";
    ::GetWindowTextA(window, now, sizeof now);
    const int target = std::strcmp(now, titles[0]) == 0 ? 1 : 0;
    RECT area;
    ::GetWindowRect(child, &area);
    ::SetCursorPos(area.left + xs[target], area.top + 10);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    ::SendInput(2, clicks, sizeof(INPUT));
    double ms = -1;
    for (;;) {
      ::GetWindowTextA(window, now, sizeof now);
      ::QueryPerformanceCounter(&end);
      const double elapsed =
          double(end.QuadPart - start.QuadPart) * 1000 / double(frequency.QuadPart);
      if (std::strcmp(now, titles[target]) == 0) {
        ms = elapsed;
        break;
      }
      if (elapsed > 5000) break;
      ::Sleep(0);
    }
    std::printf("%.1f\n", ms);
    std::fflush(stdout);
    ::Sleep(interval);
  }
  return 0;
}
