// Form1, the hidden window that owns the quick menu: its clock timer, its
// unload handlers, and the click handler of every quick-menu item.
#pragma once

#include <functional>
#include <string>

#include "memory/memory_reading.h"
#include "ludora/quick_menu.h"

namespace ludora {

class Program;

class Form1 {
 public:
  explicit Form1(Program& program);

  QuickMenu& menu() { return menu_; }
  const QuickMenu& menu() const { return menu_; }

  void Timer1_Timer();  // the clock, every 30 seconds: the `datetime` item and the bar's tooltip
  void Unload();
  void Terminate();

  // The 8.3 form of the application folder (taken from the running program;
  // the argument is not used). Empty when Windows cannot give it.
  std::string getShortFileName(const std::string& fileName);
  void memorycheck();

  // Runs the click handler of a picked item; items without one do nothing.
  void Click(const MenuPick& pick);

  void mnuludora_Click();       // "Set Ludora as default shell"
  void mnuexplorer_Click();     // "Set Explorer as default shell"
  void mnurealtime_Click();     // "Real-time Game Performance Mode"
  void mnuhigh_Click();         // "High Game Performance Mode"
  void mnunormal_Click();       // "Normal Game Performance"
  void mnukrieger_Click();      // the game kept in the application folder
  void mnudefraghd_Click();     // "Defragment Hard Drives"
  void mnuabout_Click();        // "About Ludora..."
  void mnushutdown_Click();     // "Shut Down..."
  void mnugoto_Click();         // "Add Game Shortcut to Games List"
  void mnumanagegames_Click();  // "Manage Games List"
  void mnudefrag_Click();       // "Defragment Memory"
  void menu_Click(int index);   // personalized shortcut number `index`

 private:
  // Shows a message box of the shell's; the bar does not react meanwhile.
  void ShowModal(const std::function<void()>& box);

  Program& program_;
  QuickMenu menu_;
  MemoryFigures memory_;
};

}  // namespace ludora
