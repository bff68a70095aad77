// The real windows behind the portable forms. The program ends when the
// last of its windows is gone.
#pragma once

#include <memory>

#include "ludora/program.h"
#include "win32/win.h"

namespace ludora::win32 {

class QuickMenuWindow;

class Win32WindowSystem : public WindowSystem {
 public:
  explicit Win32WindowSystem(HINSTANCE instance);
  ~Win32WindowSystem() override;

  void SetProgram(Program* program) { program_ = program; }
  HINSTANCE instance() const { return instance_; }

  void LoadForm1(Form1& form) override;
  Form2View* CreateForm2(Form2& form) override;

  // Bookkeeping of the live windows; the last one to go ends the loop.
  void WindowCreated() { ++liveWindows_; }
  void WindowGone();
  void Form2Gone() { program_->Form2Destroyed(); }
  // The bar's window is closed: nothing may call into it any more.
  void BarGone() { program_->SetForm3(nullptr); }
  // Windows ends the session: an orderly end of the shell.
  void SessionEnding() { program_->session().EndedOrderly(); }

 private:
  HINSTANCE instance_;
  Program* program_ = nullptr;
  std::unique_ptr<QuickMenuWindow> form1Window_;
  int liveWindows_ = 0;
};

}  // namespace ludora::win32
