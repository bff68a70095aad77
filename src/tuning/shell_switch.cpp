#include "tuning/shell_switch.h"

#include <array>
#include <strings.h>

#include "tuning/common_rows.h"
#include "tuning/primitives.h"

namespace ludora {

namespace {

using namespace rows;

constexpr std::string_view kInternetSettings =
    ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr std::string_view kExplorerUpper =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

constexpr std::string_view kWinlogonShellMapping =
    "USR:Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr std::string_view kMachineShellMapping =
    "SYS:Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

constexpr std::array kLudoraRegistration = {
    Ini("boot", "shell", "", RowData::ShortShellPath),
    Sz(HKLM, kIniFileMappingBoot, "Shell", kWinlogonShellMapping),
    Sz(HKCU, kWinlogonKey, "Shell", "", RowData::QuotedShellPath),
};

constexpr std::array kExplorerRegistration = {
    Ini("boot", "shell", "Explorer.exe"),
    Sz(HKLM, kIniFileMappingBoot, "Shell", kMachineShellMapping),
    Sz(HKCU, kWinlogonKey, "Shell", "explorer.exe"),
    Sz(HKLM, kWinlogonKey, "Shell", "explorer.exe"),
};

constexpr std::array kLudoraTuning = {
    kSeparateProcessMachine,
    kSeparateProcessUser,
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
    Sz(HKLM, kExplorerLower, "AlwaysUnloadDLL", "", RowData::UnloadDllByPlatform),
    kPageBuffers,
    kMinTimeSlice,
    kUsbErrorChecking,
    Dword(HKLM, kMemoryManagement, "LargeSystemCache", 0),
    kChunkSize,
    kUsbIdle,
    kPrioritySeparation,
    kPrefetcher,
    Dword(HKLM, kExplorerUpper, "DesktopProcess", 0),
    Dword(HKCU, kExplorerUpper, "DesktopProcess", 0),
    Sz(HKLM, kBrowseNewProcess, "BrowseNewProcess", "yes"),
    Sz(HKCU, kBrowseNewProcess, "BrowseNewProcess", "yes"),
    kDisablePagingExecutive,
    kContigFileAllocSize,
    kIoPageLockLimit,
    kKeyboardSampleRate,
    Dword(HKLM, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Executive",
          "AdditionalCriticalWorkerThreads", 1),
};

constexpr std::array kLudoraClosing = {
    Dword(HKU, kInternetSettings, "MaxConnectionsPer1_0Server", 16),
    Dword(HKU, kInternetSettings, "MaxConnectionsPerServer", 8),
};

constexpr std::array<ServiceStart, 44> kLudoraServices = {{
    {"Alerter", 4},      {"cisvc", 4},
    {"HidServ", 4},      {"Messenger", 4},
    {"mnmsrvc", 4},      {"WmdmPmSp", 4},
    {"ERSvc", 4},        {"NetDDEdsdm", 4},
    {"NetDDE", 4},       {"FastUserSwitchingCompatibility", 4},
    {"W32Time", 4},      {"Schedule", 4},
    {"TrkWks", 4},       {"RemoteRegistry", 4},
    {"RSVP", 4},         {"ClipSrv", 4},
    {"MSDTC", 4},        {"SysmonLog", 4},
    {"PolicyAgent", 4},  {"uploadmgr", 4},
    {"Helpsvc", 4},      {"BITS", 4},
    {"SENS", 4},         {"EventSystem", 4},
    {"Browser", 4},      {"ALG", 4},
    {"wuauserv", 4},     {"RDSessMgr", 4},
    {"TlntSvr", 4},      {"COMSysApp", 4},
    {"Netlogon", 4},     {"upnphost", 4},
    {"RemoteAccess", 4}, {"SwPrv", 4},
    {"CryptSvc", 3},     {"seclogon", 3},
    {"dmadmin", 4},      {"TermService", 4},
    {"SSDPSRV", 4},      {"LmHosts", 4},
    {"WebClient", 4},    {"Spooler", 4},
    {"SharedAccess", 4}, {"lanmanserver", 4},
}};

constexpr std::array kExplorerTuning = {
    Sz(HKLM, kExplorerLower, "AlwaysUnloadDLL", "0"),
    kSeparateProcessMachine,
    kSeparateProcessUser,
    Ini("386Enh", "MinTimeSlice", "20"),
};

constexpr std::array<ServiceStart, 44> kExplorerServices = {{
    {"Alerter", 3},      {"cisvc", 3},
    {"HidServ", 4},      {"Messenger", 2},
    {"mnmsrvc", 3},      {"WmdmPmSp", 2},
    {"ERSvc", 2},        {"NetDDEdsdm", 3},
    {"NetDDE", 3},       {"FastUserSwitchingCompatibility", 3},
    {"W32Time", 2},      {"Schedule", 2},
    {"TrkWks", 2},       {"RemoteRegistry", 2},
    {"RSVP", 3},         {"ClipSrv", 3},
    {"MSDTC", 4},        {"SysmonLog", 3},
    {"PolicyAgent", 2},  {"uploadmgr", 2},
    {"Helpsvc", 2},      {"BITS", 3},
    {"SENS", 2},         {"EventSystem", 3},
    {"Browser", 2},      {"ALG", 3},
    {"wuauserv", 2},     {"RDSessMgr", 3},
    {"TlntSvr", 3},      {"COMSysApp", 3},
    {"Netlogon", 2},     {"upnphost", 3},
    {"RemoteAccess", 3}, {"SwPrv", 3},
    {"CryptSvc", 2},     {"seclogon", 2},
    {"WebClient", 2},    {"dmadmin", 3},
    {"TermService", 3},  {"SSDPSRV", 3},
    {"LmHosts", 2},      {"Spooler", 2},
    {"SharedAccess", 3}, {"lanmanserver", 2},
}};

constexpr std::array kExplorerClosing = {
    Dword(HKU, kInternetSettings, "MaxConnectionsPer1_0Server", 2),
    Dword(HKU, kInternetSettings, "MaxConnectionsPerServer", 1),
};

}  // namespace

std::span<const TuningRow> LudoraRegistrationRows() {
  return kLudoraRegistration;
}
std::span<const TuningRow> LudoraTuningRows() {
  return kLudoraTuning;
}
std::span<const TuningRow> LudoraClosingRows() {
  return kLudoraClosing;
}
std::span<const ServiceStart> LudoraServiceStarts() {
  return kLudoraServices;
}
std::span<const TuningRow> ExplorerRegistrationRows() {
  return kExplorerRegistration;
}
std::span<const TuningRow> ExplorerTuningRows() {
  return kExplorerTuning;
}
std::span<const TuningRow> ExplorerClosingRows() {
  return kExplorerClosing;
}
std::span<const ServiceStart> ExplorerServiceStarts() {
  return kExplorerServices;
}

bool RegisterLudoraShell(WindowsApi& api, const RowInputs& inputs) {
  return ApplyRows(api, kLudoraRegistration, inputs);
}

void ApplyLudoraTuning(WindowsApi& api, const RowInputs& inputs) {
  ApplyRows(api, kLudoraTuning, inputs);
  if (inputs.platform != Platform::NotNt) ApplyServiceStarts(api, kLudoraServices);
  ApplyRows(api, kLudoraClosing, inputs);
}

bool RegisterExplorerShell(WindowsApi& api) {
  return ApplyRows(api, kExplorerRegistration, RowInputs{});
}

void ApplyExplorerTuning(WindowsApi& api, Platform platform) {
  const RowInputs inputs{.platform = platform};
  ApplyRows(api, kExplorerTuning, inputs);
  if (platform != Platform::NotNt) ApplyServiceStarts(api, kExplorerServices);
  ApplyRows(api, kExplorerClosing, inputs);
}

void ShowShellSwitchMessage(WindowsApi& api, HWND owner, ShellChoice choice, bool registered) {
  std::string text;
  if (!registered) {
    text = "The default shell could not be changed. You need administrator rights to change it.";
  } else if (choice == ShellChoice::Ludora) {
    text = "Ludora is now set as default shell. You must reboot for this to take into effect.";
  } else {
    text = "Explorer is now set as default shell. You must reboot for this to take into effect.";
  }
  api.MessageBoxA(owner, text, "Corvane Ludora", MB_OK | MB_ICONINFORMATION);
}

bool NamesLudora(std::string_view commandLine) {
  constexpr std::string_view kProgram = "ludora.exe";
  for (std::size_t at = 0; at + kProgram.size() <= commandLine.size(); ++at) {
    if (strncasecmp(commandLine.data() + at, kProgram.data(), kProgram.size()) == 0) return true;
  }
  return false;
}

}  // namespace ludora
