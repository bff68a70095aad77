#include "ludora-record/record_tool.h"

#include <initializer_list>

#include "launch/companions.h"
#include "launch/orderly_end.h"
#include "platform/command_line.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"
#include "ludora-record/record_homes.h"
#include "ludora-record/restore.h"
#include "tuning/places.h"

namespace ludora::record {

namespace {

constexpr DWORD kShellEndsWithin = 10000;    // ms, after it is asked to close
constexpr DWORD kShellIsEndedWithin = 5000;  // ms, after it is ended
constexpr DWORD kLookAgainAfter = 50;        // ms

MachineRecord MachineNow(WindowsApi& api) {
  return {AccountName(api), ReadPlaces(api, PlacesLudoraWrites())};
}

int Install(WindowsApi& api, const std::string& folder, Report& report) {
  auto found = FindRecord(api, folder, report);
  if (!found) {
    const MachineRecord now = MachineNow(api);
    found = FoundRecord{now, RecordText(now)};
  }
  if (KeepRecord(api, folder, *found)) return kDone;
  report.Tell("The record could not be kept in " + folder + " and in HKLM\\" +
              std::string(kRecordKey) + ".");
  return kFailed;
}

// Two quoted paths: "<first>" "<second>".
std::pair<std::string, std::string> TwoPaths(std::string_view arguments) {
  const std::size_t open = arguments.find('"'), close = arguments.find('"', open + 1);
  if (open != 0 || close == std::string_view::npos) return {};
  return {PathArgument(arguments.substr(0, close + 1)), PathArgument(arguments.substr(close + 1))};
}

// Closes `windows` of the process that owns `owner`, and waits for it to
// end. A window of its own may keep it going (the defragmenter ignores a
// close while it counts): ended then, as its files are about to be replaced
// or removed.
void Close(WindowsApi& api, HWND owner, std::initializer_list<HWND> windows) {
  DWORD processId = 0;
  api.GetWindowThreadProcessId(owner, &processId);
  const ScopedHandle process(api, api.OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, 0, processId));
  for (const HWND window : windows) {
    if (window) api.PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (process && api.WaitForSingleObject(process.get(), kShellEndsWithin) != WAIT_OBJECT_0 &&
      api.TerminateProcess(process.get(), 0)) {
    api.WaitForSingleObject(process.get(), kShellIsEndedWithin);
  }
}

bool WatchdogRuns(WindowsApi& api) {
  const ScopedHandle one(api, api.CreateMutexA(nullptr, 0, companions::kWatchdogMutex));
  return one && api.GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

bool CloseRunningShell(WindowsApi& api) {
  const HWND bar = api.FindWindowA(companions::kBarWindowClass, nullptr);
  const HWND menu = api.FindWindowA(companions::kQuickMenuWindowClass, nullptr);
  if (bar || menu) {
    SignalOrderlyEnd(api);  // however it ends, its watchdog must not start it again
    Close(api, menu ? menu : bar, {bar, menu});
    // The watchdog ends once it sees that end; its file is free then.
    for (DWORD waited = 0; waited < kShellIsEndedWithin && WatchdogRuns(api);
         waited += kLookAgainAfter) {
      api.Sleep(kLookAgainAfter);
    }
  }
  // The notification area outlives a Ludora that ends, for the next one.
  if (const HWND tray = api.FindWindowA("Shell_TrayWnd", companions::kTrayDockTitle)) {
    Close(api, tray, {tray});
  }
  return bar || menu;
}

int Run(WindowsApi& api, const std::string& commandLine) {
  const auto [command, rest] = FirstWord(AfterProgramName(commandLine));
  if (command == "close" && rest.empty()) return CloseRunningShell(api) ? kWasRunning : kDone;
  if (command == "record") {
    const std::string file = PathArgument(rest);
    if (file.empty()) return kFailed;
    return WriteNewFile(api, file, RecordText(MachineNow(api))) == 1 ? kFailed : kDone;
  }
  const auto [folder, reportFile] = TwoPaths(rest);
  if ((command != "install" && command != "uninstall") || folder.empty() || reportFile.empty()) {
    return kFailed;
  }
  Report report;
  const int result =
      command == "install" ? Install(api, folder, report) : Uninstall(api, folder, report);
  WriteNewFile(api, reportFile, report.Text());
  return result;
}

}  // namespace ludora::record
