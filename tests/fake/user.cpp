// Menus, windows and messages of the in-memory Windows.
#include "fake/user.h"

#include <algorithm>
#include <cstdio>

#include "fake/fake_windows.h"

namespace ludora::testing {

UINT FakeUser::FindCommand(HMENU menu, const std::vector<std::string>& captions) const {
  for (std::size_t level = 0; level < captions.size(); ++level) {
    const auto& items = menus.at(menu);
    const auto item = std::find_if(items.begin(), items.end(), [&](const FakeMenuItem& i) {
      return i.text == captions[level] && !(i.flags & MF_SEPARATOR);
    });
    if (item == items.end() || bool(item->flags & MF_POPUP) == (level + 1 == captions.size()))
      return 0;
    if (level + 1 == captions.size()) return static_cast<UINT>(item->id);
    menu = item->id;
  }
  return 0;
}

HWND FakeWindows::DoGetDesktopWindow(bool failing) {
  return failing ? 0 : 0x10010;
}

BOOL FakeWindows::DoGetCursorPos(bool failing, POINT* point) {
  return failing ? 0 : (*point = cursor, 1);
}

BOOL FakeWindows::DoSetForegroundWindow(bool failing, HWND) {
  log.push_back("foreground");
  return !failing;
}

HMENU FakeWindows::DoCreatePopupMenu(bool failing) {
  if (failing) return Refuse(0, ERROR_NOT_ENOUGH_MEMORY);
  const HMENU menu = Open(Kind::Menu, "menu");
  menus[menu];
  return menu;
}

BOOL FakeWindows::DoInsertMenuA(bool failing, HMENU menu, UINT position, UINT flags,
                                std::uintptr_t id, const char* text) {
  if (failing) return Refuse(0, ERROR_NOT_ENOUGH_MEMORY);
  if (!Is(menu, Kind::Menu)) return Refuse(0, 1401);  // ERROR_INVALID_MENU_HANDLE
  auto& items = menus[menu];                          // by position: past the end appends
  items.insert(items.begin() + std::min<std::size_t>(position, items.size()),
               {flags, id, text ? text : ""});
  return 1;
}

BOOL FakeWindows::DoTrackPopupMenu(bool failing, HMENU menu, UINT flags, int x, int y, int, HWND,
                                   const RECT*) {
  char entry[64];
  std::snprintf(entry, sizeof entry, "track %d,%d flags=%#x", x, y, flags);
  log.push_back(entry);
  trackedMenus.push_back(menu);
  if (failing) return 0;
  return onTrackPopupMenu ? static_cast<BOOL>(onTrackPopupMenu(menu)) : 0;
}

BOOL FakeWindows::DoDestroyMenu(bool failing, HMENU menu) {
  if (failing || !Close(menu, Kind::Menu)) return 0;
  for (const FakeMenuItem& item : menus[menu])
    if (item.flags & MF_POPUP) DoDestroyMenu(false, item.id);  // within the one call
  return 1;
}

int FakeWindows::DoMessageBoxA(bool failing, HWND owner, const std::string& text,
                               const std::string& caption, UINT type) {
  log.push_back("msgbox " + caption + " | " + text + " | style=" + std::to_string(type) +
                (owner ? " owner=" + std::to_string(owner) : ""));
  if (failing) return 0;
  if (onMessageBox) onMessageBox();
  return messageBoxAnswer;
}

BOOL FakeWindows::DoPeekMessageA(bool failing, MSG* message, HWND, UINT, UINT, UINT) {
  if (failing) return 0;  // what waits stays in the queue
  if (onProcessMessages && !messageDelivered_) {
    messageDelivered_ = true;
    *message = MSG{0x3003, 0x0113, 1, 0, 0, {}};  // WM_TIMER for the bar
    return 1;
  }
  messageDelivered_ = false;
  ++messagePasses;
  return 0;
}

BOOL FakeWindows::DoTranslateMessage(bool failing, const MSG*) {
  return !failing;
}

LPARAM FakeWindows::DoDispatchMessageA(bool failing, const MSG*) {
  if (!failing && onProcessMessages) onProcessMessages();
  return 0;
}

void FakeWindows::DoPostQuitMessage(bool failing, int) {
  if (!failing) log.push_back("quit");
}

BOOL FakeWindows::DoPostMessageA(bool failing, HWND window, UINT message, WPARAM wParam,
                                 LPARAM lParam) {
  std::string entry = message == WM_NULL ? "post WM_NULL" : "post " + std::to_string(message);
  if (wParam || lParam) {
    entry += " to=" + std::to_string(window) + " " + std::to_string(wParam) + "," +
             std::to_string(lParam);
  }
  log.push_back(entry);
  return !failing;
}

HWND FakeWindows::DoFindWindowA(bool failing, const char* className, const char*) {
  return DoFindWindowExA(failing, 0, 0, className, nullptr);
}

HWND FakeWindows::DoFindWindowExA(bool failing, HWND parent, HWND after, const char* className,
                                  const char*) {
  if (failing || parent || !className) return 0;
  bool past = after == 0;
  for (const auto& [windowClass, window] : windowsByClass) {
    if (windowClass != className) continue;
    if (past) return window;
    past = window == after;
  }
  return 0;
}

int FakeWindows::DoGetWindowTextA(bool failing, HWND window, char* text, int size) {
  const auto found = windowTitles.find(window);
  if (failing || size <= 0) return 0;
  return static_cast<int>(
      CopyName(found == windowTitles.end() ? "" : found->second, text, static_cast<DWORD>(size)));
}

int FakeWindows::DoGetSystemMetrics(bool failing, int index) {
  const auto found = systemMetrics.find(index);
  return failing || found == systemMetrics.end() ? 0 : found->second;
}

short FakeWindows::DoGetAsyncKeyState(bool failing, int key) {
  return !failing && keysDown.contains(key) ? static_cast<short>(0x8000) : 0;
}

DWORD FakeWindows::DoGetWindowThreadProcessId(bool failing, HWND window, DWORD* id) {
  *id = failing ? 0 : windows.contains(window) ? windows[window] : kShellProcess;
  return failing ? 0 : 1;
}

BOOL FakeWindows::DoIsWindow(bool failing, HWND window) {
  return !failing && windows.contains(window);
}

BOOL FakeWindows::DoAllowSetForegroundWindow(bool failing, DWORD processId) {
  log.push_back("allow-foreground " + std::to_string(processId));
  return !failing;
}

HICON FakeWindows::DoCopyIcon(bool failing, HICON icon) {
  const bool known = icons.contains(icon) || Is(icon, Kind::Icon);
  return failing || !known ? Refuse(0, 1402) : Open(Kind::Icon, "copy");  // ..._CURSOR_HANDLE
}

HICON FakeWindows::DoCreateIcon(bool failing, HMODULE, int width, int height, BYTE, BYTE,
                                const BYTE*, const BYTE*) {
  if (failing) return Refuse(0, ERROR_NOT_ENOUGH_MEMORY);
  return Open(Kind::Icon, std::to_string(width) + "x" + std::to_string(height));
}

BOOL FakeWindows::DoDestroyIcon(bool failing, HICON icon) {
  return failing || !Close(icon, Kind::Icon) ? Refuse(0, 1402) : 1;
}

BOOL FakeWindows::DoGetOpenFileNameA(bool failing, OPENFILENAMEA* dialog) {
  log.push_back("open-dialog " + std::string(dialog->lpstrTitle));
  if (failing || !openDialogPick) return 0;
  std::snprintf(dialog->lpstrFile, dialog->nMaxFile, "%s", openDialogPick->c_str());
  return 1;
}

HWND FakeWindows::DoGetForegroundWindow(bool failing) {
  return failing ? 0 : foreground;
}

BOOL FakeWindows::DoGetWindowRect(bool failing, HWND window, RECT* rect) {
  if (failing || !windowPlaces.contains(window)) return Refuse(0, 1400);  // no such window
  return *rect = windowPlaces[window].first, 1;
}

LONG FakeWindows::DoGetWindowLongA(bool failing, HWND window, int) {  // GWL_STYLE
  return failing || !windowPlaces.contains(window) ? Refuse(0, 1400) : windowPlaces[window].second;
}

BOOL FakeWindows::DoGetLastInputInfo(bool failing, LASTINPUTINFO* info) {
  if (failing || !lastInput) return Refuse(0, ERROR_CALL_NOT_IMPLEMENTED);
  return info->dwTime = *lastInput, 1;
}

BOOL FakeWindows::DoPlaySoundA(bool failing, const char* sound, HMODULE, DWORD) {
  log.push_back("sound " + std::string(sound ? sound : ""));
  return !failing;
}

}  // namespace ludora::testing
