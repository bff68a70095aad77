#include "ludora-record/record_tool.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "launch/companions.h"
#include "launch/orderly_end.h"
#include "platform/command_line.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"
#include "ludora-record/record_homes.h"
#include "ludora-record/restore.h"
#include "tuning/places.h"
#include "tuning/primitives.h"

namespace ludora::record {

namespace {

constexpr DWORD kWatchdogEndsWithin = 5000;  // ms

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

// The SID of the account the process runs as, as its bytes; nothing when
// Windows will not say.
std::optional<std::vector<BYTE>> AccountOf(WindowsApi& api, HANDLE process) {
  HANDLE opened = 0;
  if (!api.OpenProcessToken(process, TOKEN_QUERY, &opened)) return std::nullopt;
  const ScopedHandle token(api, opened);
  alignas(void*) BYTE record[256];
  DWORD length = 0;
  if (!api.GetTokenInformation(token.get(), TokenUser, record, sizeof record, &length)) {
    return std::nullopt;
  }
  // TOKEN_USER: a pointer to the SID, which lies in the same record; a SID
  // is 8 bytes and 4 for each of its sub-authorities (their count at byte 1).
  const auto* sid = *reinterpret_cast<const BYTE* const*>(record);
  if (sid < record || sid + 8 > record + std::min<DWORD>(length, sizeof record))
    return std::nullopt;
  const std::size_t size = 8 + 4 * std::size_t{sid[1]};
  if (sid + size > record + std::min<DWORD>(length, sizeof record)) return std::nullopt;
  return std::vector<BYTE>(sid, sid + size);
}

bool OwnedByUs(WindowsApi& api, HWND window, const std::optional<std::vector<BYTE>>& ours) {
  DWORD processId = 0;
  api.GetWindowThreadProcessId(window, &processId);
  const ScopedHandle process(api, api.OpenProcess(PROCESS_QUERY_INFORMATION, 0, processId));
  return process && ours && AccountOf(api, process.get()) == ours;
}

}  // namespace

// Opened, never made: a watchdog starting meanwhile must find its mutex free.
bool WatchdogRuns(WindowsApi& api) {
  return ScopedHandle(api, api.OpenMutexA(SYNCHRONIZE, 0, companions::kWatchdogMutex)).get() != 0;
}

bool AnotherAccountsShellRuns(WindowsApi& api) {
  if (GetPlatform(api) == Platform::NotNt) return false;
  const auto ours = AccountOf(api, api.GetCurrentProcess());
  for (const HWND window :
       {api.FindWindowA(companions::kBarWindowClass, nullptr),
        api.FindWindowA(companions::kQuickMenuWindowClass, nullptr), TrayDockWindow(api)}) {
    if (window && !OwnedByUs(api, window, ours)) return true;
  }
  return false;
}

bool CloseRunningShell(WindowsApi& api) {
  const HWND bar = api.FindWindowA(companions::kBarWindowClass, nullptr);
  const HWND menu = api.FindWindowA(companions::kQuickMenuWindowClass, nullptr);
  if (bar || menu) {
    SignalOrderlyEnd(api);  // however it ends, its watchdog must not start it again
    CloseProcessOf(api, menu ? menu : bar, {bar, menu});
    // The watchdog ends once it sees that end; its file is free then.
    WaitUntil(api, kWatchdogEndsWithin, [&] { return !WatchdogRuns(api); });
  }
  // The notification area outlives a Ludora that ends, for the next one.
  if (const HWND tray = TrayDockWindow(api)) CloseProcessOf(api, tray, {tray});
  return bar || menu;
}

int Run(WindowsApi& api, const std::string& commandLine) {
  const auto [command, rest] = FirstWord(AfterProgramName(commandLine));
  if (command == "check" && rest.empty())
    return AnotherAccountsShellRuns(api) ? kOtherAccount : kDone;
  if (command == "close" && rest.empty()) {
    if (AnotherAccountsShellRuns(api)) return kOtherAccount;
    return CloseRunningShell(api) ? kWasRunning : kDone;
  }
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
