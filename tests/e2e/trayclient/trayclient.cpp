// A tray program for the notification area's end-to-end tests; it logs to C:\trayclient.log.
// "icon <id> <version> <tip>[|<title>|<text>]" adds an icon (again on TaskbarCreated) with that
// balloon, and logs its callbacks but mouse moves; "tell <id> <what>" has that one do one of
// kTold; "evict" moves Wine's own tray window out of the way; "malformed"
// sends the tray window bad requests, then a sound one.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr UINT kCallback = WM_APP + 1, kTell = WM_APP + 2;  // wParam: what, as in kTold
// For "tell": change the tip, delete, balloon again, cover the screen or not, log if in front.
const char* const kTold[] = {"modify", "delete", "balloon", "cover", "shrink", "front"};
UINT id = 0, version = 0, taskbarCreated = ~0u;  // no message until registered
char tip[64] = {}, title[64] = {}, text[256] = {};
HWND window = nullptr;

void Log(const char* what, long value) {
  if (FILE* out = std::fopen("C:\\trayclient.log", "ab")) {
    std::fprintf(out, "%u %s %#lx\n", id, what, static_cast<unsigned long>(value));
    std::fclose(out);
  }
}

BOOL Notify(DWORD message, UINT flags) {
  static DWORD pixels[16 * 16];
  static const BYTE opaque[16 * 16 / 8] = {};
  for (DWORD& pixel : pixels) pixel = id % 2 ? 0xFF0000 : 0x00FF00;  // red or green
  static const HICON square = ::CreateIcon(nullptr, 16, 16, 1, 32, opaque, (BYTE*)pixels);
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE, data.hWnd = window, data.uID = id, data.uFlags = flags;
  data.uCallbackMessage = kCallback, data.hIcon = square, data.uVersion = version;
  std::strcpy(data.szTip, tip);
  if (flags & NIF_INFO) {  // asks for one second: held to the shortest time
    std::strcpy(data.szInfoTitle, title), std::strcpy(data.szInfo, text);
    data.uTimeout = 1000, data.dwInfoFlags = NIIF_INFO;
  }
  return ::Shell_NotifyIconA(message, &data);
}

void Add() {
  Log("add", Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP));
  if (version) Log("version", Notify(NIM_SETVERSION, 0));
  if (*text) Log("balloon", Notify(NIM_MODIFY, NIF_INFO));
}

void Tell(WPARAM what) {
  if (what == 0) std::strcat(tip, " (modified)");
  if (what == 3 || what == 4) {  // the whole screen, or a part
    ::SetWindowPos(window, HWND_TOP, 0, 0, what == 3 ? ::GetSystemMetrics(SM_CXSCREEN) : 200,
                   what == 3 ? ::GetSystemMetrics(SM_CYSCREEN) : 100, SWP_SHOWWINDOW);
    ::SetForegroundWindow(window);
  }
  Log(kTold[what], what < 3 ? Notify(what == 1 ? NIM_DELETE : NIM_MODIFY, what ? NIF_INFO : NIF_TIP)
                            : ::GetForegroundWindow() == window);
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCallback && lParam != WM_MOUSEMOVE) return Log("callback", long(lParam)), 0;
  if (message == taskbarCreated) return Log("taskbar-created", 0), Add(), 0;
  if (message == kTell && wParam < sizeof kTold / sizeof *kTold) return Tell(wParam), 0;
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

// Windows' record of NIM_ADD with an XP NOTIFYICONDATAW for a window of
// ours, spoilt in turn, each answer logged; the sound one added and deleted.
void Malformed(HWND tray) {
  struct {
    DWORD signature, message, nid[952 / 4];
  } record = {0x34753423, NIM_ADD, {952, DWORD(UINT_PTR(window)), 77, NIF_TIP}};
  const auto send = [&](const char* what, ULONG_PTR kind, DWORD size) {
    COPYDATASTRUCT data = {kind, size, &record};
    Log(what, long(::SendMessageA(tray, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data))));
  };
  send("cut-short", 1, 200);
  record.nid[0] = 100;
  send("bad-size", 1, sizeof record);
  record.nid[0] = 952, record.nid[1] = 0xDEAD;
  send("bad-window", 1, sizeof record);
  record.nid[1] = DWORD(UINT_PTR(window)), record.nid[3] = NIF_ICON, record.nid[5] = 0xBAD0;
  send("bad-icon", 1, sizeof record);
  record.nid[3] = NIF_TIP;
  send("sound-add", 1, sizeof record);
  record.message = NIM_DELETE;
  send("sound-delete", 1, sizeof record);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  char command[16] = {}, className[32];
  int tipAt = 0;
  std::sscanf(arguments, "%15s %u %u %n", command, &id, &version, &tipAt);
  std::snprintf(className, sizeof className, "LudoraTrayClient%u", id);
  if (std::strcmp(command, "tell") == 0) {
    char told[16] = {};
    std::sscanf(arguments, "%*s %*u %15s", told);
    WPARAM what = 0;
    while (what < sizeof kTold / sizeof *kTold && std::strcmp(kTold[what], told) != 0) ++what;
    const HWND running = ::FindWindowA(className, nullptr);
    return ::PostMessageA(running, kTell, what, 0) ? 0 : 1;
  }
  // A hidden top-level window: the owner of the icon, reached by broadcasts.
  WNDCLASSA windowClass = {0,       Procedure, 0,       0,       instance,
                           nullptr, nullptr,   nullptr, nullptr, className};
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
  const char* rest = arguments + tipAt;
  rest += *rest == '"';  // quoted, as one argument with spaces
  std::sscanf(rest, "%63[^|\"]|%63[^|]|%255[^\"]", tip, title, text);
  taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
  Add();
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
  return 0;
}
