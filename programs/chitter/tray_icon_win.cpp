#include "chitter/tray_icon_win.h"

#include <shellapi.h>

#include <cstring>

namespace ludora::win32 {

// Windows 95's record, which every shell takes.
bool TrayIcon::Tell(DWORD command) {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = owner_;
  data.uID = 1;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = message_;
  data.hIcon = attention_ ? ::LoadIconA(nullptr, IDI_INFORMATION) : icon_;
  std::strncpy(data.szTip, tip_.c_str(), 63);
  return ::Shell_NotifyIconA(command, &data) != FALSE;
}

bool TrayIcon::Show(const std::string& tip) {
  tip_ = tip;
  shown_ = Tell(shown_ ? NIM_MODIFY : NIM_ADD) || shown_;
  return shown_;
}

void TrayIcon::Hide() {
  if (shown_) Tell(NIM_DELETE);
  shown_ = attention_ = false;
}

void TrayIcon::Attention(bool on) {
  if (attention_ == on) return;
  attention_ = on;
  if (shown_) Tell(NIM_MODIFY);
}

void TrayIcon::AddAgain() {
  if (shown_) Tell(NIM_ADD);
}

}  // namespace ludora::win32
