// Form3, the bar: the start-up window. Its load handler runs the start-up
// sequence; its six hot spots open the folder menus, the quick menu, the
// web browser and the display settings.
#pragma once

#include <string>
#include <string_view>

#include "memory/memory_reading.h"
#include "platform/scoped.h"

namespace ludora {

class Program;

class Form3View {
 public:
  virtual ~Form3View() = default;
  virtual HWND Handle() = 0;
  virtual void Move(int left, int top) = 0;
  virtual void SetClockTooltip(const std::string& text) = 0;  // Label7's tooltip
  // Ctrl+Esc and the Windows key come to the bar (as the session's shell):
  // on the NT family as the system's notices to a shell; on the older one,
  // which gives a shell none, as hot keys.
  virtual void TakeTaskListKeys(bool asHotKeys) = 0;
};

class Form3 {
 public:
  Form3(Program& program, Form3View& view);

  enum class LoadResult { Run, EndProgram, NoBar };
  // The start-up sequence. EndProgram: another instance runs; this one has
  // unloaded its window and must end at once. NoBar: the bar's window could
  // not be created, so no paint will ever come: the service stops have
  // been started and the default open command written, and the program
  // ends as having failed, for whatever restarts a shell to see.
  LoadResult Load();
  // The bar has been painted. The first time, the start-up's last step
  // runs: the `sc stop` commands, which so never keep the bar from showing,
  // made on a thread of their own, so they never hold it after it shows.
  void Painted();
  void Unload();
  void Terminate();

  // A click on one of the labels, by name ("Label1" ... "Label7").
  void LabelClick(std::string_view label);

  void Label1_Click();  // hot spot: the all-users Start-menu programs as a menu
  void Label2_Click();  // hot spot: the games folder as a menu
  void Label3_Click();  // hot spot: the companion web browser
  void Label4_Click();  // hot spot: the display settings
  void Label5_Click();  // hot spot: the desktop folder as a menu
  void Label6_Click();  // hot spot at the left end: the quick menu
  // Ctrl+Esc or the Windows key: the quick menu, at Label6 under the bar,
  // as the session's shell. False under another shell: the key is Windows'
  // own, for that shell's Start menu.
  bool TaskListKey();

  void memorycheck();
  Form3View& view() { return view_; }

 private:
  void ShowFolderMenu(std::int16_t selector);
  void ShowQuickMenu(const char* handler, const POINT* at);
  bool Busy() const;

  Program& program_;
  Form3View& view_;
  MemoryFigures memory_;
  ScopedHandle instanceMutex_;  // held for the life of the process
  bool servicesToStop_ = false;
};

}  // namespace ludora
