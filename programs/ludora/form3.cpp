#include "ludora/form3.h"

#include <algorithm>
#include <array>

#include "ludora/commands.h"
#include "ludora/folder_menu.h"
#include "ludora/personal_shortcuts.h"
#include "platform/resume_next.h"
#include "platform/win_constants.h"
#include "ludora/clock_text.h"
#include "ludora/form1.h"
#include "ludora/form_layout.h"
#include "ludora/program.h"
#include "tuning/open_command.h"
#include "ludora/performance_modes.h"
#include "tuning/primitives.h"
#include "tuning/startup_set.h"

namespace ludora {

namespace {

constexpr char kInstanceMutexName[] = "Corvane.Ludora.ZR.Instance";
// How long a start without a bar waits for its service stops to be made
// before it ends; each takes Windows well under a second to create.
constexpr DWORD kStopsWithoutABar = 60000;

using enum QuickItem;

constexpr std::array kPerformanceItems = {mnurealtime, mnuhigh, mnunormal, mnuper2, mnuper3};

struct LabelRoute {
  std::string_view label;
  void (Form3::*handler)();
};

// What a click on each label of the bar does; Label7, the clock, does nothing.
constexpr std::array<LabelRoute, 6> kLabelRoutes = {{
    {"Label1", &Form3::Label1_Click},
    {"Label2", &Form3::Label2_Click},
    {"Label3", &Form3::Label3_Click},
    {"Label4", &Form3::Label4_Click},
    {"Label5", &Form3::Label5_Click},
    {"Label6", &Form3::Label6_Click},
}};
static_assert(std::ranges::all_of(kLabelRoutes,
                                  [](const LabelRoute& r) {
                                    return HasLabel(kForm3Labels, r.label);
                                  }),
              "every route names a label of the bar");

}  // namespace

Form3::Form3(Program& program, Form3View& view)
    : program_(program), view_(view), instanceMutex_(program.api()) {}

Form3::LoadResult Form3::Load() {
  WindowsApi& api = program_.api();
  bool anotherInstance = false;
  ResumeNext(
      api, "Form3.Load", [&] { view_.Move(0, 0); },
      [&] {
        instanceMutex_ = ScopedHandle(api, api.CreateMutexA(nullptr, 0, kInstanceMutexName));
        anotherInstance = instanceMutex_ && api.GetLastError() == ERROR_ALREADY_EXISTS;
      });
  if (anotherInstance) {
    Unload();
    return LoadResult::EndProgram;
  }
  ResumeNext(
      api, "Form3.Load (after the instance test)",
      [&] { program_.form1().menu()[mnuturbolia].visible = true; }, [&] { memorycheck(); },
      [&] { ChangePriority(api, IDLE_PRIORITY_CLASS); },  // its error record is of no use
      [&] { SetThreadPriorities(api, THREAD_PRIORITY_IDLE); },
      [&] { ApplyStartupRows(api, memory_); },
      [&] {
        if (GetPlatform(api) != Platform::NotNt) return;
        for (const QuickItem item : kPerformanceItems) {
          program_.form1().menu()[item].visible = false;
        }
      },
      [&] { view_.SetClockTooltip(ClockText(api)); },
      [&] {
        program_.session().Decide(GetPlatform(api));
        if (program_.session().active()) view_.TakeTaskListKeys();
      },
      [&] {
        LoadPersonalShortcuts(api, program_.appFolder(), program_.form1().menu(),
                              program_.shortcuts);
      });
  // The service stops wait for the bar to be on screen.
  servicesToStop_ = true;
  if (view_.Handle() != 0) return LoadResult::Run;
  Painted();
  Unload();
  program_.starts().WaitUntilMade(kStopsWithoutABar);
  return LoadResult::NoBar;
}

void Form3::Painted() {
  if (!servicesToStop_) return;
  servicesToStop_ = false;
  Attempt(program_.api(), "Form3.Painted", [&] {
    program_.session().Painted(program_.appFolder(), program_.starts(),
                               ServiceStopCommands(program_.api()), view_.Handle() != 0);
  });
}

void Form3::Unload() {
  WriteDefaultOpenCommand(program_.api());
}

void Form3::Terminate() {
  WriteDefaultOpenCommand(program_.api());
}

void Form3::memorycheck() {
  ludora::memorycheck(program_.api(), program_.memoryStatus, memory_);
}

bool Form3::Busy() const {
  return program_.folderMenu.busy || program_.messageBoxOpen;
}

void Form3::LabelClick(std::string_view label) {
  for (const LabelRoute& route : kLabelRoutes) {
    if (route.label == label) {
      Attempt(program_.api(), route.label.data(), [&] { (this->*route.handler)(); });
    }
  }
}

void Form3::ShowFolderMenu(std::int16_t selector) {
  // A click that arrives while a folder menu is being read, or while a
  // message box of the shell is open, is ignored.
  if (Busy()) return;
  Attempt(program_.api(), "ShowFolderMenu", [&] {
    FolderMenuContext context{program_.api(), program_.folderMenu, program_.appFolder(),
                              [this] { return RaisedModeChecked(program_.form1().menu()); }};
    ludora::ShowFolderMenu(context, view_.Handle(), selector);
  });
  view_.Move(0, 0);
}

void Form3::Label1_Click() {
  ShowFolderMenu(CSIDL_COMMON_PROGRAMS);
}
void Form3::Label2_Click() {
  ShowFolderMenu(kGamesFolderSelector);
}
void Form3::Label5_Click() {
  ShowFolderMenu(CSIDL_DESKTOPDIRECTORY);
}

void Form3::Label3_Click() {
  if (!Busy()) RunCommand(program_.api(), program_.appFolder(), mnunimbra);
}

void Form3::Label4_Click() {
  if (!Busy()) RunCommand(program_.api(), program_.appFolder(), mnudisplay);
}

void Form3::Label6_Click() {
  ShowQuickMenu("Form3.Label6_Click", nullptr);
}

bool Form3::TaskListKey() {
  if (!program_.session().active()) return false;
  // The left end of the bar, right under it, where a click on Label6 opens it.
  const POINT underLabel6{0, kForm3.clientHeightTwips / kTwipsPerPixel};
  ShowQuickMenu("Form3.TaskListKey", &underLabel6);
  return true;
}

// At `at`, or at the mouse when there is none.
void Form3::ShowQuickMenu(const char* handler, const POINT* at) {
  if (Busy()) return;
  WindowsApi& api = program_.api();
  Form1& form1 = program_.form1();
  std::optional<MenuPick> pick;
  ResumeNext(
      api, handler, [&] { form1.menu()[datetime].caption = ClockText(api); },
      [&] {
        POINT point;
        if (at) {
          point = *at;
        } else {
          api.GetCursorPos(&point);
        }
        pick = form1.menu().Popup(api, view_.Handle(), point.x, point.y);
      });
  if (pick) form1.Click(*pick);
  view_.Move(0, 0);
}

}  // namespace ludora
