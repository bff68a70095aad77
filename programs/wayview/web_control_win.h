// The web browser control of Windows (CLSID_WebBrowser, the engine of
// Internet Explorer 4 and later), in-place active in a frame window, its
// events going to the frame through a BrowserSite.
#pragma once

#include "wayview/browser_site_win.h"

namespace ludora::win32 {

class WebControl {
 public:
  WebControl() = default;
  ~WebControl() { Close(); }
  WebControl(const WebControl&) = delete;
  WebControl& operator=(const WebControl&) = delete;

  // Creates and activates the control in `host`'s frame; false where
  // Windows has no such control, or it would not start.
  bool Create(SiteHost& host);
  // Deactivates and releases it; its events stop first.
  void Close();
  explicit operator bool() const { return browser_ != nullptr; }

  bool Navigate(const std::string& address);
  void GoBack() {
    if (browser_) browser_->GoBack();
  }
  void GoForward() {
    if (browser_) browser_->GoForward();
  }
  void Stop() {
    if (browser_) browser_->Stop();
  }
  void Refresh() {
    if (browser_) browser_->Refresh();
  }
  // Where the control is, in the frame's client area (empty: out of sight).
  void Place(const RECT& rect);
  // The keyboard focus into the page.
  void Focus();
  // Passes a key to the page, as the control wants it (Tab, Backspace,
  // the edit keys); whether the page took it.
  bool TranslateKey(MSG& message);
  // The control as a page's new window wants it (a reference added).
  IDispatch* Application();

 private:
  SiteHost* host_ = nullptr;
  IOleObject* object_ = nullptr;
  IWebBrowser2* browser_ = nullptr;
  BrowserSite* site_ = nullptr;
  DWORD eventsCookie_ = 0;
};

}  // namespace ludora::win32
