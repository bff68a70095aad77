// The frame of wayview.exe as its portable state drives it: what it shows,
// and what it asked of the control.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "wayview/frame.h"

namespace ludora::wayview {

struct FakeFrameView : FrameView {
  HWND Window() const override { return 0x77; }
  void SetCaption(const std::string& text) override { caption = text; }
  void SetAddressText(const std::string& text) override { address = text; }
  void SetStatusText(const std::string& text) override { status = text; }
  void SetProgress(int percent) override { progress = percent; }
  void EnableCommand(Command command, bool on) override { enabled[command] = on; }
  void ShowNotice(const Notice* shown) override {
    notice = shown ? std::optional(*shown) : std::nullopt;
  }
  void SetFullScreen(bool on) override { fullScreen = on; }
  void FocusAddress() override { actions.push_back("focus-address"); }
  void OpenFrame(const std::string& at) override { actions.push_back("new-window " + at); }
  void CloseFrame() override { actions.push_back("close"); }
  bool Navigate(const std::string& at) override {
    actions.push_back("navigate " + at);
    return hasControl;
  }
  void Browse(Command command) override {
    actions.push_back("browse " + std::to_string(int(command)));
  }

  bool hasControl = true;
  std::string caption, address, status;
  int progress = 0;
  std::map<Command, bool> enabled;
  std::optional<Notice> notice;
  bool fullScreen = false;
  std::vector<std::string> actions;
};

}  // namespace ludora::wayview
