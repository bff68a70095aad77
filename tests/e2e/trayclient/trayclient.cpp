// A tray program for the notification area's end-to-end tests. What it
// sees goes to trayclient.log in its own folder, a line each.
//   trayclient icon <id> <version> <tip>  adds a coloured icon with Shell_NotifyIcon
//       (and sets its version unless 0), logs every callback but mouse moves, adds
//       it again on TaskbarCreated
//   trayclient tell <id> modify|delete    has "icon <id>" change its tip or delete it
//   trayclient evict       moves Wine's own tray window out of the way
//   trayclient malformed   sends the tray window bad requests and a flood
#include <windows.h>
#include <shellapi.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT kCallback = WM_APP + 1, kModify = WM_APP + 2, kDelete = WM_APP + 3;
UINT id = 0, version = 0, taskbarCreated = 0;
char tip[64] = {};
HWND window = nullptr;

void Log(const char* format, ...) {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::strcpy(std::strrchr(path, '\\') + 1, "trayclient.log");
  if (FILE* out = std::fopen(path, "ab")) {
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(out, format, arguments);
    va_end(arguments);
    std::fputc('\n', out);
    std::fclose(out);
  }
}

BOOL Notify(DWORD message, UINT flags) {
  static const DWORD kColours[] = {0x0000FF, 0xFF0000, 0x00FF00};  // blue, red, green
  static DWORD pixels[16 * 16];
  static const BYTE opaque[16 * 16 / 8] = {};
  for (DWORD& pixel : pixels) pixel = kColours[id % 3];
  static const HICON square = ::CreateIcon(nullptr, 16, 16, 1, 32, opaque, (BYTE*)pixels);
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = window;
  data.uID = id;
  data.uFlags = flags;
  data.uCallbackMessage = kCallback;
  data.hIcon = square;
  data.uVersion = version;
  std::strcpy(data.szTip, tip);
  return ::Shell_NotifyIconA(message, &data);
}

void Add() {
  Log("%u add %d", id, Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP));
  if (version) Log("%u version %d", id, Notify(NIM_SETVERSION, 0));
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCallback && lParam != WM_MOUSEMOVE) {
    Log("%u callback %#lx", id, static_cast<unsigned long>(lParam));
  } else if (message == taskbarCreated) {
    Log("%u taskbar-created", id);
    Add();
  } else if (message == kModify) {
    std::strcat(tip, " (modified)");
    Log("%u modify %d", id, Notify(NIM_MODIFY, NIF_TIP));
  } else if (message == kDelete) {
    Log("%u delete %d", id, Notify(NIM_DELETE, 0));
  } else {
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return 0;
}

// Bad requests as a program could send them by hand, each logged with its
// answer; one sound request; then a flood of icons from this one program.
void Malformed(HWND tray) {
  struct {
    DWORD signature, message, nid[952 / 4];
  } record = {0x34753423, NIM_ADD, {952, 0, 77, NIF_TIP}};
  record.nid[1] = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window));
  const auto send = [&](const char* what, ULONG_PTR kind, DWORD size) {
    COPYDATASTRUCT data = {kind, size, &record};
    const LRESULT answer = ::SendMessageA(tray, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    if (what) Log("%s %ld", what, static_cast<long>(answer));
    return answer;
  };
  record.nid[0] = 100;
  send("malformed size", 1, sizeof record);
  record.nid[0] = 952;
  send("malformed short", 1, 200);
  send("malformed kind", 99, sizeof record);
  send("malformed wine-short", 0, 500);
  record.message = 9;
  send("malformed message", 1, sizeof record);
  record.message = NIM_ADD;
  record.nid[1] = 0xDEAD;
  send("malformed window", 1, sizeof record);
  record.nid[1] = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window));
  record.nid[3] = NIF_ICON;
  record.nid[5] = 0xBAD0;
  send("malformed icon", 1, sizeof record);
  record.nid[3] = NIF_TIP;
  send("sound add", 1, sizeof record);
  record.message = NIM_DELETE;
  send("sound delete", 1, sizeof record);
  LRESULT taken = 0;
  for (DWORD flood = 1000; flood < 1200; ++flood) {
    record.nid[2] = flood;
    record.message = NIM_ADD;
    taken += send(nullptr, 1, sizeof record);
    record.message = NIM_DELETE;
  }
  Log("flood %ld", static_cast<long>(taken));
  for (DWORD flood = 1000; flood < 1200; ++flood)
    record.nid[2] = flood, send(nullptr, 1, sizeof record);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  char command[16] = {}, action[16] = {};
  int tipAt = 0;
  std::sscanf(arguments, "%15s %u %15s %n", command, &id, action, &tipAt);
  char className[32];
  std::snprintf(className, sizeof className, "LudoraTrayClient%u", id);
  if (std::strcmp(command, "tell") == 0) {
    const HWND running = ::FindWindowA(className, nullptr);
    return running &&
                   ::PostMessageA(running, std::strcmp(action, "delete") ? kModify : kDelete, 0, 0)
               ? 0
               : 1;
  }
  // A hidden top-level window: the owner of the icon, reached by broadcasts.
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = className;
  ::RegisterClassA(&windowClass);
  window = ::CreateWindowExA(0, className, className, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             instance, nullptr);
  const HWND tray = ::FindWindowA("Shell_TrayWnd", nullptr);
  if (std::strcmp(command, "evict") == 0) {
    // A child of ours is no top-level window any more; it goes with its parent.
    const bool moved = tray && ::SetParent(tray, window);
    ::DestroyWindow(window);
    return moved && !::FindWindowA("Shell_TrayWnd", nullptr) ? 0 : 1;
  }
  if (std::strcmp(command, "malformed") == 0) return Malformed(tray), 0;
  version = static_cast<UINT>(std::atoi(action));
  std::snprintf(tip, sizeof tip, "%s", arguments + tipAt);
  taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
  Add();
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
  return 0;
}
