// Stand-ins for the on-screen windows: they remember what the forms asked of them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fake/fake_windows.h"
#include "memory/form2.h"
#include "shell/form1.h"
#include "shell/form3.h"
#include "shell/program.h"

namespace ludora::testing {

// The views write into the fake's log too, so one log orders everything.
class FakeForm3View : public Form3View {
 public:
  explicit FakeForm3View(FakeWindows& api) : api_(api) {}
  HWND Handle() override { return 0x3003; }
  void Move(int left, int top) override {
    api_.log.push_back("view move " + std::to_string(left) + "," + std::to_string(top));
  }
  void SetClockTooltip(const std::string& text) override {
    clockTooltip = text;
    api_.log.push_back("view tooltip " + text);
  }

  std::string clockTooltip;

 private:
  FakeWindows& api_;
};

class FakeForm2View : public Form2View {
 public:
  void SetProgressText(const std::string& text) override { progress = text; }
  void SetTimerEnabled(bool enabled) override { timerEnabled = enabled; }
  void SetCloseAreaEnabled(bool enabled) override { closeEnabled = enabled; }
  void Show() override { ++shown; }
  void Close() override { closed = true; }

  std::string progress = "0% Complete";
  bool timerEnabled = false;
  bool closeEnabled = false;
  int shown = 0;
  bool closed = false;
};

class FakeWindowSystem : public WindowSystem {
 public:
  explicit FakeWindowSystem(FakeWindows& api) : api_(api) {}
  void LoadForm1(Form1&) override { api_.log.push_back("load Form1"); }
  Form2View& CreateForm2(Form2&) override {
    form2Views.push_back(std::make_unique<FakeForm2View>());
    return *form2Views.back();
  }

  std::vector<std::unique_ptr<FakeForm2View>> form2Views;

 private:
  FakeWindows& api_;
};

// The whole shell over the in-memory Windows, as WinMain would assemble it.
struct FakeShell {
  // `setup` prepares the machine before the program looks at it.
  explicit FakeShell(const std::function<void(FakeWindows&)>& setup = [](FakeWindows&) {})
      : api(Prepared(setup)) {
    program.SetForm3(&form3);
  }

  // The log of everything after start-up, for tests of a later action.
  std::vector<std::string> LogSince(std::size_t mark) const {
    return {api.log.begin() + static_cast<std::ptrdiff_t>(mark), api.log.end()};
  }
  // What picking a quick-menu item, or clicking a label of the bar, did.
  std::vector<std::string> Pick(QuickItem item, int index = 0) {
    const std::size_t mark = api.log.size();
    program.form1().Click({item, index});
    return LogSince(mark);
  }
  std::vector<std::string> Click(const char* label) {
    const std::size_t mark = api.log.size();
    form3.LabelClick(label);
    return LogSince(mark);
  }

  FakeWindows api;
  FakeWindowSystem windows{api};

 private:
  static FakeWindows Prepared(const std::function<void(FakeWindows&)>& setup) {
    FakeWindows api;
    setup(api);
    return api;
  }

 public:
  Program program{api, windows};
  FakeForm3View view{api};
  Form3 form3{program, view};
};

}  // namespace ludora::testing
