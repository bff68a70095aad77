#include "ludora/form1.h"

#include <array>
#include <string_view>
#include <vector>

#include "ludora/commands.h"
#include "platform/paths.h"
#include "platform/resume_next.h"
#include "ludora/games_list.h"
#include "ludora/personal_shortcuts.h"
#include "ludora/clock_text.h"
#include "ludora/form3.h"
#include "ludora/program.h"
#include "tuning/open_command.h"
#include "ludora/performance_modes.h"
#include "tuning/primitives.h"
#include "tuning/shell_switch.h"

namespace ludora {

namespace {

using enum QuickItem;

struct Route {
  QuickItem item;
  void (Form1::*handler)();
};

// The items whose commands are not rows of the command table.
constexpr std::array<Route, 12> kRoutes = {{
    {mnuludora, &Form1::mnuludora_Click},
    {mnuexplorer, &Form1::mnuexplorer_Click},
    {mnurealtime, &Form1::mnurealtime_Click},
    {mnuhigh, &Form1::mnuhigh_Click},
    {mnunormal, &Form1::mnunormal_Click},
    {mnukrieger, &Form1::mnukrieger_Click},
    {mnudefraghd, &Form1::mnudefraghd_Click},
    {mnuabout, &Form1::mnuabout_Click},
    {mnushutdown, &Form1::mnushutdown_Click},
    {mnugoto, &Form1::mnugoto_Click},
    {mnumanagegames, &Form1::mnumanagegames_Click},
    {mnudefrag, &Form1::mnudefrag_Click},
}};

}  // namespace

Form1::Form1(Program& program) : program_(program) {}

void Form1::Timer1_Timer() {
  ResumeNext(
      program_.api(), "Form1.Timer1", [&] { menu_[datetime].caption = ClockText(program_.api()); },
      [&] {
        // Once the bar is closed there is no tooltip left to refresh.
        if (Form3* form3 = program_.form3()) {
          form3->view().SetClockTooltip(ClockText(program_.api()));
        }
      });
}

void Form1::Unload() {
  WriteDefaultOpenCommand(program_.api());
}

void Form1::Terminate() {
  WriteDefaultOpenCommand(program_.api());
}

std::string Form1::getShortFileName(const std::string& /*fileName*/) {
  return ShortPathOf(program_.api(), program_.appFolder());
}

void Form1::memorycheck() {
  ludora::memorycheck(program_.api(), program_.memoryStatus, memory_);
}

void Form1::Click(const MenuPick& pick) {
  Attempt(program_.api(), NameOf(pick.item).data(), [&] {
    if (pick.item == QuickItem::menu) {
      menu_Click(pick.index);
      return;
    }
    for (const Route& route : kRoutes) {
      if (route.item == pick.item) {
        (this->*route.handler)();
        return;
      }
    }
    RunCommand(program_.api(), program_.appFolder(), pick.item);
  });
}

void Form1::ShowModal(const std::function<void()>& box) {
  // Owned by the bar, the box disables it; the flag keeps the hot spots
  // still too, on any Windows, until the box is closed.
  const FlagScope open(program_.messageBoxOpen);
  box();
}

void Form1::mnuludora_Click() {
  WindowsApi& api = program_.api();
  RowInputs inputs{.memory = &memory_, .appFolder = program_.appFolder()};
  bool registered = false;
  ResumeNext(
      api, "Form1.mnuludora", [&] { inputs.shortFolder = getShortFileName(program_.appFolder()); },
      [&] { registered = RegisterLudoraShell(api, inputs); },
      [&] {
        ShowModal([&] {
          ShowShellSwitchMessage(api, program_.BarWindow(), ShellChoice::Ludora, registered);
        });
      },
      [&] { memorycheck(); },
      [&] {
        inputs.platform = GetPlatform(api);
        ApplyLudoraTuning(api, inputs);
      });
}

void Form1::mnuexplorer_Click() {
  WindowsApi& api = program_.api();
  bool registered = false;
  ResumeNext(
      api, "Form1.mnuexplorer", [&] { registered = RegisterExplorerShell(api); },
      [&] {
        ShowModal([&] {
          ShowShellSwitchMessage(api, program_.BarWindow(), ShellChoice::Explorer, registered);
        });
      },
      [&] { ApplyExplorerTuning(api, GetPlatform(api)); });
}

void Form1::mnurealtime_Click() {
  SelectPerformanceMode(program_.api(), menu_, PerformanceMode::RealTime);
}
void Form1::mnuhigh_Click() {
  SelectPerformanceMode(program_.api(), menu_, PerformanceMode::High);
}
void Form1::mnunormal_Click() {
  SelectPerformanceMode(program_.api(), menu_, PerformanceMode::Normal);
}

void Form1::mnukrieger_Click() {
  PlayBundledGame(program_.api(), program_.appFolder(), GetPlatform(program_.api()));
}
void Form1::mnudefraghd_Click() {
  DefragmentHardDrives(program_.api(), GetPlatform(program_.api()));
}
void Form1::mnuabout_Click() {
  ShowModal([&] { ShowAbout(program_.api(), program_.BarWindow()); });
}
void Form1::mnushutdown_Click() {
  ShowShutDownDialog(program_.api());
}
void Form1::mnugoto_Click() {
  AddGameShortcut(program_.api(), program_.appFolder());
}
void Form1::mnumanagegames_Click() {
  ManageGamesList(program_.api(), program_.appFolder());
}
void Form1::mnudefrag_Click() {
  program_.OpenForm2();
}

void Form1::menu_Click(int index) {
  OpenPersonalShortcut(program_.api(), program_.shortcuts, index);
}

}  // namespace ludora
