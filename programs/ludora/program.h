// The program-wide state and the three windows. WinMain owns one Program;
// the unit tests make their own over the in-memory Windows.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ludora/folder_menu.h"
#include "ludora/personal_shortcuts.h"
#include "ludora/form2.h"
#include "platform/command_batches.h"
#include "ludora/session_shell.h"
#include "platform/windows_api.h"

namespace ludora {

class Form1;
class Form3;

// Makes the on-screen windows of the portable forms: the real Win32 windows,
// or the tests' fakes.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // The hidden quick-menu window, with its clock timer running.
  virtual void LoadForm1(Form1& form) = 0;
  // The defragmenter window, centred; null when it cannot be created. The
  // window system owns it and calls Program::Form2Destroyed once it is gone.
  virtual Form2View* CreateForm2(Form2& form) = 0;
};

class Program {
 public:
  Program(WindowsApi& api, WindowSystem& windows);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  WindowsApi& api() { return api_; }
  // Process starts that must not hold the bar.
  CommandBatches& starts() { return starts_; }
  // What this start does as the session's shell, if it is that.
  SessionShell& session() { return session_; }
  const std::string& appFolder() const { return appFolder_; }

  // Loads the quick-menu window the first time it is touched.
  Form1& form1();

  // The bar, until its window is closed (which leaves the program running).
  void SetForm3(Form3* form) { form3_ = form; }
  Form3* form3() { return form3_; }
  // The bar's window, owner of the shell's message boxes; 0 once it is closed.
  HWND BarWindow();

  // Shows the defragmenter, creating it when it does not exist.
  void OpenForm2();
  Form2* form2() { return defragmenter_ ? defragmenter_->form.get() : nullptr; }
  void Form2Destroyed() { defragmenter_.reset(); }

  MEMORYSTATUS memoryStatus;    // the last memory reading
  ShortcutCommands shortcuts;   // the personalized shortcuts' commands
  FolderMenuState folderMenu;   // the folder menus' one build state
  bool messageBoxOpen = false;  // one of the shell's message boxes is open

 private:
  WindowsApi& api_;
  // The session's events outlive the starts still being made at the end: a
  // watchdog started at the last moment still inherits them.
  SessionShell session_{api_};
  CommandBatches starts_{api_};
  WindowSystem& windows_;
  std::string appFolder_;
  std::unique_ptr<Form1> form1_;
  // The defragmenter and its window: both, from the moment the window
  // exists until it is gone, or neither.
  struct Defragmenter {
    std::unique_ptr<Form2> form;
    Form2View* view;
  };
  std::optional<Defragmenter> defragmenter_;
  Form3* form3_ = nullptr;
};

}  // namespace ludora
