// The time a window takes to answer a click, measured inside Windows (Wine)
// without the test's own tools in the way: clicks on a child window at one
// of two places, the one whose title the window does not show, each timed
// from the click to the window's title being that one, and on to the switch
// finished: the window's thread idle and nothing of the window left to paint.
//   click_probe <window class> <child class> <x1> <title1> <x2> <title2> <count> <interval ms>
// The places are x pixels from the child's left, in the middle of its top
// 20 pixels. Prints the milliseconds of each click, a line each: to the
// title, then to the finished switch; -1 for one not reached after 5 s.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

BOOL CALLBACK AddUpdated(HWND child, LPARAM count) {
  RECT area;
  if (::IsWindowVisible(child) && ::GetUpdateRect(child, &area, FALSE))
    ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// Whether the window's thread has taken a message sent now (it takes one
// only between the others it handles), and no window of it waits to be
// painted then. The thread paints only once its queue is empty, and a paint
// clears the update region when it begins, so the question is asked again
// after one that found nothing to paint: the paint that emptied it has
// ended when the thread takes the second message.
bool Idle(HWND window) {
  DWORD_PTR answer = 0;
  const auto answered = [&] {
    return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer) != 0;
  };
  const auto painted = [&] {
    RECT area;
    int updated = ::GetUpdateRect(window, &area, FALSE) ? 1 : 0;
    ::EnumChildWindows(window, AddUpdated, reinterpret_cast<LPARAM>(&updated));
    return updated == 0;
  };
  return answered() && painted() && answered() && painted();
}

}  // namespace

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
    const auto elapsed = [&] {
      ::QueryPerformanceCounter(&end);
      return double(end.QuadPart - start.QuadPart) * 1000 / double(frequency.QuadPart);
    };
    ::QueryPerformanceCounter(&start);
    ::SendInput(2, clicks, sizeof(INPUT));
    double titled = -1, finished = -1;
    for (;;) {
      ::GetWindowTextA(window, now, sizeof now);
      const double ms = elapsed();
      if (std::strcmp(now, titles[target]) == 0) {
        titled = ms;
        break;
      }
      if (ms > 5000) break;
      ::Sleep(0);
    }
    while (titled >= 0) {
      const bool idle = Idle(window);
      const double ms = elapsed();
      if (idle) {
        finished = ms;
        break;
      }
      if (ms > 5000) break;
      ::Sleep(1);
    }
    std::printf("%.1f %.1f\n", titled, finished);
    std::fflush(stdout);
    ::Sleep(interval);
  }
  return 0;
}
