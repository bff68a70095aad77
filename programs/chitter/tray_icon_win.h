// The window's icon in the notification area (traydock's or Explorer's)
// while it is minimised there: a click brings the window back, and another
// icon shows while a line that named the user waits to be seen.
#pragma once

#include <string>

#include "win32/win.h"

namespace ludora::win32 {

class TrayIcon {
 public:
  TrayIcon(HWND owner, UINT message, HICON icon) : owner_(owner), message_(message), icon_(icon) {}
  ~TrayIcon() { Hide(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Whether the notification area took it.
  bool Show(const std::string& tip);
  void Hide();
  void Attention(bool on);
  bool shown() const { return shown_; }
  // A new notification area (TaskbarCreated): the icon goes to it.
  void AddAgain();

 private:
  bool Tell(DWORD command);

  HWND owner_;
  UINT message_;
  HICON icon_;
  std::string tip_;
  bool shown_ = false;
  bool attention_ = false;
};

}  // namespace ludora::win32
