// One browser window's state, driven by the web browser control's events
// and the user's commands, and shown through a small view: the caption,
// the address box, the buttons, the status text and progress, and a notice
// in place of a page that could not be opened.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/windows_api.h"
#include "wayview/commands.h"
#include "wayview/favorites.h"
#include "wayview/notice.h"
#include "wayview/program.h"

namespace ludora::wayview {

// The on-screen frame and its control: the Windows window, or the tests' fake.
class FrameView {
 public:
  virtual ~FrameView() = default;
  virtual HWND Window() const = 0;  // the owner of message boxes
  virtual void SetCaption(const std::string& text) = 0;
  virtual void SetAddressText(const std::string& text) = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetProgress(int percent) = 0;  // 0 to 100; -1 hides the bar
  virtual void EnableCommand(Command command, bool enabled) = 0;
  virtual void ShowNotice(const Notice* notice) = 0;  // nullptr: the page again
  virtual void SetFullScreen(bool on) = 0;
  virtual void FocusAddress() = 0;
  virtual void OpenFrame(const std::string& address) = 0;  // in a new window
  virtual void CloseFrame() = 0;
  // The control: false where the frame has none.
  virtual bool Navigate(const std::string& address) = 0;
  virtual void Browse(Command command) = 0;  // Back, Forward, Stop or Refresh
};

class Frame {
 public:
  // The control's CommandStateChange commands.
  static constexpr LONG kNavigateForward = 1;  // CSC_NAVIGATEFORWARD
  static constexpr LONG kNavigateBack = 2;     // CSC_NAVIGATEBACK

  Frame(Program& program, FrameView& view);

  // The window is up: opens `address` (a page's new window, the command
  // line's), or the home page when it is empty or cannot be opened.
  void Start(const std::string& address);
  // The window is up for a page's new window: the page opens it.
  void StartForPage();

  // The user.
  void Run(Command command);
  void AddressEntered(const std::string& typed);
  // The Favorites menu or one of its folders opens; a favourite picked.
  void FavoritesOpen(HMENU menu) { favorites_.OpenRoot(menu, program_.favoritesFolder()); }
  void FavoritesFolderOpens(HMENU menu) { favorites_.OpenSubmenu(menu); }
  void FavoritePicked(UINT id);

  // The control's events; `topLevel` is false for a frame inside the page.
  // Whether the navigation is cancelled: the control's own error page is, for our notice.
  bool BeforeNavigate(const std::string& address, bool topLevel);
  void NavigateComplete(const std::string& address, bool topLevel);
  void DocumentComplete(bool topLevel);
  // Whether the control's own error page is cancelled for ours.
  bool NavigateError(const std::string& address, LONG status, bool topLevel);
  void TitleChange(const std::string& title);
  // The page closes its window (window.close()): at once when a page's
  // script opened the window, else when the user agrees. Not called from
  // within the control's event: the frame may go while the question is open.
  void PageClosesWindow(bool byScript);
  void StatusTextChange(const std::string& text);
  void ProgressChange(LONG progress, LONG progressMax);
  void CommandStateChange(LONG command, bool enabled);
  void DownloadBegin() { SetBusy(true); }
  void DownloadComplete() { SetBusy(false); }

 private:
  void Open(const std::string& asked);
  void Reset();
  void ShowNotice(std::optional<Notice> notice);
  void SetBusy(bool busy);
  void ShowCaption();
  // A message box over the frame, and the user's answer; nothing when the
  // frame did not outlive it. The box's message loop dispatches what comes
  // meanwhile, and a WM_CLOSE among it (a page's window.close(), the shell
  // closing its companions) ends the window and this frame with it: after
  // a box, nothing of the frame is touched until this says it is there.
  std::optional<int> Ask(const std::string& text, UINT type);
  bool Tell(const std::string& text);  // whether the frame outlived the box

  Program& program_;
  WindowsApi& api_;
  FrameView& view_;
  FavoritesMenu favorites_;
  std::string address_;  // of the page shown, or being opened
  std::string title_;
  std::optional<Notice> notice_;
  bool busy_ = false;
  bool fullScreen_ = false;
  std::shared_ptr<char> life_ = std::make_shared<char>();  // its watches expire with the frame
};

}  // namespace ludora::wayview
