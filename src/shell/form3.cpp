#include "shell/form3.h"

#include <array>

#include "launch/commands.h"
#include "launch/folder_menu.h"
#include "launch/personal_shortcuts.h"
#include "platform/win_constants.h"
#include "shell/clock_text.h"
#include "shell/form1.h"
#include "shell/program.h"
#include "tuning/open_command.h"
#include "tuning/performance_modes.h"
#include "tuning/primitives.h"
#include "tuning/startup_set.h"

namespace ludora {

namespace {

constexpr char kInstanceMutexName[] = "Corvane.Ludora.ZR.Instance";

constexpr std::array<const char*, 5> kPerformanceItems = {"mnurealtime", "mnuhigh", "mnunormal",
                                                          "mnuper2", "mnuper3"};

}  // namespace

Form3::Form3(Program& program, Form3View& view) : program_(program), view_(view) {}

Form3::LoadResult Form3::Load() {
  WindowsApi& api = program_.api();
  view_.Move(0, 0);

  instanceMutex_ = api.CreateMutexA(0, kInstanceMutexName);
  if (instanceMutex_ != 0 && api.GetLastError() == ERROR_ALREADY_EXISTS) {
    Unload();
    return LoadResult::EndProgram;
  }

  QuickMenu& menu = program_.form1().menu();
  menu.Item("mnuturbolia").visible = true;
  memorycheck();
  ChangePriority(api, IDLE_PRIORITY_CLASS);  // its error record is of no use here
  SetThreadPriorities(api, THREAD_PRIORITY_IDLE);
  ApplyStartupRows(api, memory_);
  if (GetPlatform(api) == kPlatformNotNt) {
    for (const char* item : kPerformanceItems) menu.Item(item).visible = false;
  }
  view_.SetClockTooltip(ClockText(api));
  LoadPersonalShortcuts(api, program_.appFolder(), menu, program_.shortcuts);
  StopStartupServices(api);
  return LoadResult::Run;
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
  return program_.folderMenu.busy;
}

void Form3::LabelClick(std::string_view label) {
  if (label == "Label1") Label1_Click();
  if (label == "Label2") Label2_Click();
  if (label == "Label3") Label3_Click();
  if (label == "Label4") Label4_Click();
  if (label == "Label5") Label5_Click();
  if (label == "Label6") Label6_Click();
}

void Form3::ShowFolderMenu(std::int16_t selector) {
  // A click that arrives while a folder menu is being read is ignored.
  if (Busy()) return;
  FolderMenuContext context{program_.api(), program_.folderMenu, program_.appFolder(),
                            [this] { return RaisedModeChecked(program_.form1().menu()); }};
  ludora::ShowFolderMenu(context, view_.Handle(), selector);
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
  if (!Busy()) RunCommand(program_.api(), program_.appFolder(), "mnunimbra");
}

void Form3::Label4_Click() {
  if (!Busy()) RunCommand(program_.api(), program_.appFolder(), "mnudisplay");
}

void Form3::Label6_Click() {
  if (Busy()) return;
  WindowsApi& api = program_.api();
  Form1& form1 = program_.form1();
  form1.menu().Item("datetime").caption = ClockText(api);
  POINT cursor;
  api.GetCursorPos(&cursor);
  if (const auto pick = form1.menu().Popup(api, view_.Handle(), cursor.x, cursor.y)) {
    form1.Click(*pick);
  }
  view_.Move(0, 0);
}

}  // namespace ludora
