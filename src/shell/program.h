// The program-wide state and the three windows. WinMain owns one Program;
// the unit tests make their own over the in-memory Windows.
#pragma once

#include <memory>
#include <string>

#include "launch/folder_menu.h"
#include "launch/personal_shortcuts.h"
#include "memory/form2.h"
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
  // The defragmenter window, shown and centred. The window system owns it
  // and calls Program::Form2Destroyed once it is gone.
  virtual Form2View& CreateForm2(Form2& form) = 0;
};

class Program {
 public:
  Program(WindowsApi& api, WindowSystem& windows);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  WindowsApi& api() { return api_; }
  const std::string& appFolder() const { return appFolder_; }

  // Loads the quick-menu window the first time it is touched.
  Form1& form1();
  bool form1Loaded() const { return form1_ != nullptr; }

  // The bar, until its window is closed (which leaves the program running).
  void SetForm3(Form3* form) { form3_ = form; }
  Form3* form3() { return form3_; }
  // The bar's window, owner of the shell's message boxes; 0 once it is closed.
  HWND BarWindow();

  // Shows the defragmenter, creating it when it does not exist.
  void OpenForm2();
  Form2* form2() { return form2_.get(); }
  void Form2Destroyed() { form2_.reset(); }

  MEMORYSTATUS memoryStatus;    // the last memory reading
  ShortcutCommands shortcuts;   // the personalized shortcuts' commands
  FolderMenuState folderMenu;   // the folder menus' one build state
  bool messageBoxOpen = false;  // one of the shell's message boxes is open

 private:
  WindowsApi& api_;
  WindowSystem& windows_;
  std::string appFolder_;
  std::unique_ptr<Form1> form1_;
  std::unique_ptr<Form2> form2_;
  Form2View* form2View_ = nullptr;
  Form3* form3_ = nullptr;
};

// The folder of `modulePath`, without the trailing backslash.
std::string FolderOf(const std::string& modulePath);

}  // namespace ludora
