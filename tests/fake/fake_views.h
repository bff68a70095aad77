// Stand-ins for the on-screen windows, remembering what the forms asked of
// them; with GoogleTest and the test support, all a shell test includes.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "fake/test_support.h"
#include "ludora/form2.h"
#include "ludora/form1.h"
#include "ludora/form3.h"
#include "ludora/program.h"

namespace ludora::testing {

// The views write into the fake's log too, so one log orders everything.
class FakeForm3View : public Form3View {
 public:
  explicit FakeForm3View(FakeWindows& api) : api_(api) {}
  HWND Handle() override { return handle; }
  HWND handle = 0x3003;  // 0: the bar's window could not be created
  void Move(int left, int top) override {
    api_.log.push_back("view move " + std::to_string(left) + "," + std::to_string(top));
  }
  void SetClockTooltip(const std::string& text) override {
    clockTooltip = text;
    api_.log.push_back("view tooltip " + text);
  }
  void TakeTaskListKeys(bool asHotKeys) override {
    api_.log.push_back(asHotKeys ? "view task-list hot keys" : "view task-list keys");
  }

  std::string clockTooltip;

 private:
  FakeWindows& api_;
};

// Closed, its window goes at the next pass of the message loop, and the
// program is told, as with the real one; a call after Close would reach a
// deleted window.
class FakeForm2View : public Form2View {
 public:
  void SetProgressText(const std::string& text) override { Live(), progress = text; }
  void SetTimerEnabled(bool enabled) override { Live(), timerEnabled = enabled; }
  void SetCloseAreaEnabled(bool enabled) override { Live(), closeEnabled = enabled; }
  void Show() override { Live(), ++shown; }
  void Close() override { Live(), closed = true; }

  std::string progress = "0% Complete";
  bool timerEnabled = false;
  bool closeEnabled = false;
  int shown = 0;
  bool closed = false;
  bool destroyed = false;

 private:
  void Live() const { EXPECT_FALSE(closed) << "a call on a closed defragmenter window"; }
};

class FakeWindowSystem : public WindowSystem {
 public:
  explicit FakeWindowSystem(FakeWindows& api) : api_(api) {}
  void LoadForm1(Form1&) override { api_.log.push_back("load Form1"); }
  Form2View* CreateForm2(Form2&) override {
    if (form2Fails == Form2Failure::Throws) throw std::bad_alloc();
    if (form2Fails == Form2Failure::NoWindow) return nullptr;
    form2Views.push_back(std::make_unique<FakeForm2View>());
    return form2Views.back().get();
  }
  // The message loop: windows closed since are gone.
  void DestroyClosed() {
    for (auto& view : form2Views)
      if (view->closed && !std::exchange(view->destroyed, true)) program->Form2Destroyed();
  }

  enum class Form2Failure { None, Throws, NoWindow };
  Form2Failure form2Fails = Form2Failure::None;
  std::vector<std::unique_ptr<FakeForm2View>> form2Views;
  Program* program = nullptr;

 private:
  FakeWindows& api_;
};

// The whole shell over the in-memory Windows, as WinMain would assemble it.
struct FakeShell {
  explicit FakeShell(const std::function<void(FakeWindows&)>& setup = [](FakeWindows&) {})
      : prepared((setup(api), true)) {
    program.SetForm3(&form3);
    windows.program = &program;
  }

  // The log of everything after start-up, for tests of a later action.
  Log LogSince(std::size_t mark) const {
    return {api.log.begin() + static_cast<std::ptrdiff_t>(mark), api.log.end()};
  }
  // The bar's first paint, and the process starts it hands over, all made.
  void Paint() {
    form3.Painted();
    api.JoinThreads();
    program.starts().WaitUntilMade(0);
  }
  // What picking a quick-menu item, or clicking a label of the bar, did.
  Log Pick(QuickItem item, int index = 0) {
    windows.DestroyClosed();
    const std::size_t mark = api.log.size();
    program.form1().Click({item, index});
    return LogSince(mark);
  }
  Log Click(const char* label) {
    windows.DestroyClosed();
    const std::size_t mark = api.log.size();
    form3.LabelClick(label);
    return LogSince(mark);
  }

  FakeWindows api;
  bool prepared;  // `setup` has prepared the machine before the program looks at it
  FakeWindowSystem windows{api};
  Program program{api, windows};
  FakeForm3View view{api};
  Form3 form3{program, view};
};

struct Started : FakeShell {
  Started() { form3.Load(); }
};

}  // namespace ludora::testing
