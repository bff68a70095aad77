// chitter.exe: Corvane Ludora's chat, an IRC client a player keeps open
// beside the game.
#include <windows.h>
#include <commctrl.h>

#include "chitter/chat.h"
#include "chitter/chat_window_win.h"
#include "chitter/log_files_win.h"
#include "chitter/name_lookup_win.h"
#include "platform/paths.h"
#include "platform/resume_next.h"
#include "platform/scoped.h"
#include "platform/settings_file.h"
#include "win32/real_socket_api.h"
#include "win32/real_windows_api.h"

namespace {

namespace win32 = ludora::win32;

constexpr char kInstanceName[] = "CorvaneLudoraChitter";  // the mutex of the first chitter

// "<Application Data>\Corvane\Ludora\Chitter", made when missing; the
// program's own folder where Windows has no such place.
std::string SettingsFolder(ludora::WindowsApi& api) {
  std::string folder = ludora::MakeUserSettingsFolder(api);
  if (!folder.empty()) {
    folder += "\\Chitter";
    ::CreateDirectoryA(folder.c_str(), nullptr);
  }
  const DWORD attributes =
      folder.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    folder = ludora::ProgramFolder(api);
  return folder;
}

// A chitter that runs already comes to the front instead.
bool ShowFirst(ludora::WindowsApi& api) {
  const HWND first = ::FindWindowA(win32::kChitterClass, nullptr);
  if (!first) return false;
  DWORD process = 0;
  ::GetWindowThreadProcessId(first, &process);
  api.AllowSetForegroundWindow(process);
  return ::PostMessageA(first, win32::kShowMessage, 0, 0) != FALSE;
}

int Run(HINSTANCE instance, ludora::RealWindowsApi& api, int show) {
  const ludora::ScopedHandle firstInstance(api, api.CreateMutexA(nullptr, FALSE, kInstanceName));
  if (api.GetLastError() == ERROR_ALREADY_EXISTS && ShowFirst(api)) return 0;
  ludora::RealSocketApi sockets;
  ludora::WSADATA data;
  if (sockets.WSAStartup(0x0202, &data) != 0 && sockets.WSAStartup(0x0101, &data) != 0) {
    ::MessageBoxA(nullptr, "Windows Sockets could not be started.", "Chitter", MB_ICONERROR);
    return 1;
  }
  ::InitCommonControls();
  const win32::WindowsCodePage ansi;
  const win32::WideText text(ansi);
  win32::ChatWindow window(instance, text);
  if (!window.hwnd()) return 1;
  win32::NameLookup lookup(window.hwnd());
  win32::LogFiles logs;
  ludora::chitter::Chat chat({api, sockets, lookup, ansi, &logs,
                              reinterpret_cast<std::uintptr_t>(window.hwnd()),
                              SettingsFolder(api)});
  window.Attach(chat, lookup);
  ::ShowWindow(window.hwnd(), show);

  ::MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (window.PreTranslate(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  sockets.WSACleanup();
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  ludora::RealWindowsApi api;
  return ludora::GuardedMain(api, "chitter", [&] { return Run(instance, api, show); });
}
