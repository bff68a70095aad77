// The yardstick of wayview's start-up bench: a static MinGW program that
// shows an 800 x 600 window titled "Bare Request", as the frame opens, and
// then, given "host:port/path", sends that one HTTP request through Winsock.
// Nothing else.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcA(window, message, wParam, lParam);
}

// "127.0.0.1:8000/x" -> a GET of /x from 127.0.0.1 port 8000.
void Request(const char* target) {
  char host[64] = {}, path[256] = "/";
  unsigned port = 80;
  if (std::sscanf(target, "%63[^:]:%u%255s", host, &port, path) < 2) return;
  WSADATA data;
  if (::WSAStartup(MAKEWORD(1, 1), &data) != 0) return;
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = ::htons(static_cast<u_short>(port));
  address.sin_addr.s_addr = ::inet_addr(host);
  char request[320];
  std::snprintf(request, sizeof request, "GET %s HTTP/1.0\r\n\r\n", path);
  if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    ::send(s, request, static_cast<int>(std::strlen(request)), 0);
  }
  ::closesocket(s);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "BareRequest";
  windowClass.hbrBackground = ::GetSysColorBrush(COLOR_WINDOW);
  ::RegisterClassA(&windowClass);
  const HWND window =
      ::CreateWindowExA(0, "BareRequest", "Bare Request", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
  ::ShowWindow(window, SW_SHOWNORMAL);
  ::UpdateWindow(window);
  if (commandLine && *commandLine) Request(commandLine);
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
  return 0;
}
