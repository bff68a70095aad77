// A browser window: the menu bar, the row of buttons and the address box,
// the web browser control (or a notice in its place), and the status bar
// with its progress. Its state is the portable Frame's; this is its view,
// and the site its control reports to.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "wayview/frame.h"
#include "wayview/notice_window_win.h"
#include "wayview/web_control_win.h"
#include "win32/window_base.h"

namespace ludora::win32 {

class FrameWindow;

// The frames of the process, as each frame sees them.
class Frames {
 public:
  virtual ~Frames() = default;
  // A new frame on `address`, or (`forPage`) empty, for a page to open its
  // new window in; null when it could not be made.
  virtual FrameWindow* OpenFrame(const std::string& address, bool forPage) = 0;
  // A frame's window is gone: the frame goes too.
  virtual void FrameGone(FrameWindow* frame) = 0;
};

class FrameWindow final : public WindowBase, public wayview::FrameView, public SiteHost {
 public:
  FrameWindow(HINSTANCE instance, wayview::Program& program, Frames& frames);
  ~FrameWindow() override;

  // Makes the window and its control, shows it, and opens `address` (or
  // the home page); `forPage`: opens nothing, a page will.
  bool Open(const std::string& address, bool forPage, int show);
  // A key on its way to a window of this frame: taken by the frame's own
  // keys, the address box's Enter and Escape, or the page. Whether taken.
  bool PreTranslate(MSG& message);

 private:
  // wayview::FrameView
  ludora::HWND Window() const override;
  void SetCaption(const std::string& text) override;
  void SetAddressText(const std::string& text) override;
  void SetStatusText(const std::string& text) override;
  void SetProgress(int percent) override;
  void EnableCommand(wayview::Command command, bool enabled) override;
  void ShowNotice(const wayview::Notice* notice) override;
  void SetFullScreen(bool on) override;
  void FocusAddress() override;
  void OpenFrame(const std::string& address) override;
  void CloseFrame() override;
  bool Navigate(const std::string& address) override;
  void Browse(wayview::Command command) override;

  // SiteHost
  HWND FrameHandle() const override { return hwnd(); }
  RECT ControlRect() const override;
  wayview::Frame& Events() override { return frame_; }
  IDispatch* NewWindow() override;
  void WindowClosing(bool byScript) override;

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnNcDestroy() override;
  void MakeChildren();
  void Layout();
  void PlacePage();
  void OnCommand(WPARAM wParam);
  void AddressBoxChanged(WORD notification);
  void Complete();
  std::string AddressText() const;
  bool InAddressBox(HWND window) const;
  bool OwnWindow(HWND window) const;

  HINSTANCE instance_;
  wayview::Program& program_;
  Frames& frames_;
  wayview::Frame frame_;
  WebControl control_;
  std::unique_ptr<NoticeWindow> notice_;
  HMENU menuBar_ = nullptr;
  HMENU favoritesMenu_ = nullptr;
  std::vector<HWND> buttons_;  // in the order of wayview::kButtons
  HWND addressLabel_ = nullptr;
  HWND addressBox_ = nullptr;   // a combo box: the typed addresses are its list
  HWND addressEdit_ = nullptr;  // its edit field
  HWND go_ = nullptr;
  HWND status_ = nullptr;
  HWND progress_ = nullptr;
  std::vector<std::string> typed_;  // for completion, read when the box gets the focus
  std::size_t typedLength_ = 0;     // of the box's text before the last change
  bool completing_ = false;
  bool listDropped_ = false;
  bool fullScreen_ = false;
  WINDOWPLACEMENT placement_ = {};  // before the full-screen view
  LONG style_ = 0;
};

}  // namespace ludora::win32
