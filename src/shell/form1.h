// Form1, the hidden window that owns the quick menu: its clock timer, its
// unload handlers, and the click handler of every quick-menu item.
#pragma once

#include <string>

#include "memory/memory_reading.h"
#include "shell/quick_menu.h"

namespace ludora {

class Program;

class Form1 {
 public:
  explicit Form1(Program& program);

  QuickMenu& menu() { return menu_; }
  const QuickMenu& menu() const { return menu_; }

  void Timer1_Timer();
  void Unload();
  void Terminate();

  // The 8.3 form of the application folder (taken from the running program;
  // the argument is not used). Empty when Windows cannot give it.
  std::string getShortFileName(const std::string& fileName);
  void memorycheck();

  // Runs the click handler of a picked item; items without one do nothing.
  void Click(const MenuPick& pick);

  void mnuludora_Click();
  void mnuexplorer_Click();
  void mnurealtime_Click();
  void mnuhigh_Click();
  void mnunormal_Click();
  void mnukrieger_Click();
  void mnudefraghd_Click();
  void mnuabout_Click();
  void mnushutdown_Click();
  void mnugoto_Click();
  void mnumanagegames_Click();
  void mnudefrag_Click();
  void menu_Click(int index);

 private:
  Program& program_;
  QuickMenu menu_;
  MemoryFigures memory_;
};

}  // namespace ludora
