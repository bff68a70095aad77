// wayview.exe: the web browser Ludora's bar and quick menu open, a frame
// around the web browser control of Windows. An address may follow on the
// command line; without one it opens the home page. The windows a page or
// Ctrl+N opens belong to the same process, which ends with its last window.
#include "win32/win.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/resume_next.h"
#include "platform/settings_file.h"
#include "wayview/frame_window_win.h"
#include "win32/real_windows_api.h"

namespace {

namespace win32 = ludora::win32;

class Browser final : public win32::Frames {
 public:
  Browser(HINSTANCE instance, ludora::wayview::Program& program)
      : instance_(instance), program_(program) {}

  win32::FrameWindow* OpenFrame(const std::string& address, bool forPage) override {
    return Open(address, forPage, SW_SHOWNORMAL);
  }

  win32::FrameWindow* Open(const std::string& address, bool forPage, int show) {
    if (!program_.FrameOpens()) return nullptr;  // a page's new window is then cancelled
    frames_.push_back(std::make_unique<win32::FrameWindow>(instance_, program_, *this));
    win32::FrameWindow* frame = frames_.back().get();
    if (frame->Open(address, forPage, show)) return frame;
    frames_.pop_back();
    program_.FrameCloses();
    if (frames_.empty()) ::PostQuitMessage(1);
    return nullptr;
  }

  void FrameGone(win32::FrameWindow* frame) override {
    if (std::erase_if(frames_, [&](const auto& held) { return held.get() == frame; })) {
      program_.FrameCloses();
    }
    if (frames_.empty()) ::PostQuitMessage(0);
  }

  // A key message for a window of one of the frames: that frame's first.
  bool PreTranslate(MSG& message) {
    for (const auto& frame : frames_) {
      if (frame->hwnd() == message.hwnd || ::IsChild(frame->hwnd(), message.hwnd)) {
        return frame->PreTranslate(message);
      }
    }
    return false;
  }

 private:
  HINSTANCE instance_;
  ludora::wayview::Program& program_;
  std::vector<std::unique_ptr<win32::FrameWindow>> frames_;
};

// The address on the command line, without the quotes a shell may put around it.
std::string AddressArgument(const char* commandLine) {
  std::string text = commandLine ? commandLine : "";
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

int Run(HINSTANCE instance, ludora::RealWindowsApi& api, const char* commandLine, int show) {
  const bool ole = SUCCEEDED(::OleInitialize(nullptr));
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  if (!::InitCommonControlsEx(&controls)) ::InitCommonControls();
  ludora::wayview::Program program(api);
  // The settings' folder, in the maker's folder under Application Data.
  ludora::MakeSettingsFolder(api, program.settingsFolder());
  int result = 1;
  {
    Browser browser(instance, program);
    if (browser.Open(AddressArgument(commandLine), false, show)) {
      MSG message;
      while ((result = ::GetMessageA(&message, nullptr, 0, 0)) > 0) {
        if (browser.PreTranslate(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
      }
      result = result < 0 ? 1 : static_cast<int>(message.wParam);
    }
  }
  if (ole) ::OleUninitialize();
  return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  ludora::RealWindowsApi api;
  return ludora::GuardedMain(api, "wayview", [&] { return Run(instance, api, commandLine, show); });
}
