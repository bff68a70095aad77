#include "tuning/startup_set.h"

#include <array>
#include <string>

#include "platform/command_run.h"
#include "platform/win_constants.h"
#include "tuning/common_rows.h"

namespace ludora {

namespace {

using namespace rows;

constexpr std::array kStartupRows = {
    kIrq8Priority,
    kMenuShowDelay,
    kSeparateVdm,
    kMemCheckBox,
    kHungAppTimeout,
    kWaitToKillApp,
    kWaitToKillService,
    kWaitToKillServiceTimeout,
    kMinSps,
    kLowLevelHooksTimeout,
    kAutoEndTasks,
    kDefaultOpenCommand,
    Sz(HKLM, kExplorerLower, "AlwaysUnloadDLL", "0"),
    kPageBuffers,
    kMinTimeSlice,
    kUsbErrorChecking,
    kChunkSize,
    kUsbIdle,
    kPrioritySeparation,
    kPrefetcher,
    Sz(HKLM, kBrowseNewProcess, "BrowseNewProcess", "no"),
    Sz(HKCU, kBrowseNewProcess, "BrowseNewProcess", "no"),
    kDisablePagingExecutive,
    kContigFileAllocSize,
    kIoPageLockLimit,
    kKeyboardSampleRate,
};

constexpr std::array<std::string_view, 31> kServiceStops = {
    "themes",
    "mdm",
    "wscsvc",
    "scardsvr",
    "scarddrv",
    "sharedaccess",
    "incdsrv",
    "umwdf",
    "shellhwdetection",
    "spooler",
    "wuauserv",
    "bits",
    "dmadmin",
    "dmserver",
    "dcomlaunch",
    "imapiservice",
    "xmlprov",
    "ntlmssp",
    "diskeeper",
    "CryptSvc",
    "Dnscache",
    "nla",
    "ProtectedStorage",
    "stisvc",
    "helpsvc",
    "seclogon",
    "tabletservice",
    "aspnet_state",
    "cisvc",
    "srservice",
    "jtagserver",
};

}  // namespace

std::span<const TuningRow> StartupRows() {
  return kStartupRows;
}
std::span<const std::string_view> StartupServiceStops() {
  return kServiceStops;
}

void ApplyStartupRows(WindowsApi& api, const MemoryFigures& memory) {
  ApplyRows(api, kStartupRows, RowInputs{.memory = &memory});
}

std::vector<CommandStart> ServiceStopCommands(WindowsApi& api) {
  const std::string sc = WindowsProgram(api, WindowsFolder::System, "sc.exe");
  std::vector<CommandStart> stops;
  for (std::string_view service : kServiceStops) {
    if (!sc.empty()) stops.push_back({"sc stop " + std::string(service), SW_HIDE, sc});
  }
  return stops;
}

}  // namespace ludora
