// The tuning rows that both the start-up set and the switch to Ludora write,
// each defined once. Portable code only: it names Windows constants.
#pragma once

#include "platform/win_constants.h"
#include "tuning/open_command.h"
#include "tuning/tuning_rows.h"

namespace ludora::rows {

inline constexpr std::string_view kPriorityControl =
    "System\\CurrentControlSet\\Control\\PriorityControl";
inline constexpr std::string_view kDesktop = "Control Panel\\Desktop";
inline constexpr std::string_view kControl = "SYSTEM\\CurrentControlSet\\Control";
inline constexpr std::string_view kMemoryManagement =
    "System\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
inline constexpr std::string_view kPrefetchParameters =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\PrefetchParameters";
inline constexpr std::string_view kBrowseNewProcess =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BrowseNewProcess";
inline constexpr std::string_view kExplorerLower =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer";
inline constexpr std::string_view kExplorerAdvanced =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

inline constexpr TuningRow kIrq8Priority = Dword(HKLM, kPriorityControl, "IRQ8Priority", 0);
inline constexpr TuningRow kMenuShowDelay = Sz(HKCU, kDesktop, "MenuShowDelay", "0");
inline constexpr TuningRow kSeparateVdm =
    Sz(HKLM, "System\\CurrentControlSet\\Control\\WOW", "DefaultSeparateVDM", "yes");
inline constexpr TuningRow kMemCheckBox =
    Dword(HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
          "MemCheckBoxInRunDlg", 1);
inline constexpr TuningRow kHungAppTimeout = Sz(HKCU, kDesktop, "HungAppTimeout", "250");
inline constexpr TuningRow kWaitToKillApp = Sz(HKCU, kDesktop, "WaitToKillAppTimeout", "1000");
inline constexpr TuningRow kWaitToKillService = Sz(HKLM, kControl, "WaitToKillService", "2000");
inline constexpr TuningRow kWaitToKillServiceTimeout =
    Sz(HKLM, kControl, "WaitToKillServiceTimeout", "2000");
inline constexpr TuningRow kMinSps = Ini("386Enh", "MinSPs", "256");
inline constexpr TuningRow kLowLevelHooksTimeout =
    Sz(HKU, ".DEFAULT\\control panel\\desktop", "LowLevelHooksTimeout", "1");
inline constexpr TuningRow kAutoEndTasks = Sz(HKCU, kDesktop, "AutoEndTasks", "1");
inline constexpr TuningRow kDefaultOpenCommand =
    Sz(HKCR, kOpenCommandKey, "", kDefaultOpenCommandText);
inline constexpr TuningRow kPageBuffers = Ini("386Enh", "PageBuffers", "32");
inline constexpr TuningRow kMinTimeSlice = Ini("386Enh", "MinTimeSlice", "200");
inline constexpr TuningRow kUsbErrorChecking =
    Dword(HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Usb", "ErrorCheckingEnabled", 0);
inline constexpr TuningRow kChunkSize = Ini("vcache", "chunksize", "1024");
inline constexpr TuningRow kUsbIdle =
    Dword(HKLM, "System\\CurrentControlSet\\Services\\Class\\Usb\\0000", "IdleEnable", 0);
inline constexpr TuningRow kPrioritySeparation =
    Dword(HKLM, kPriorityControl, "Win32PrioritySeparation", 26);
inline constexpr TuningRow kPrefetcher =
    Dword(HKLM, kPrefetchParameters, "EnablePrefetcher", 0, RowData::PrefetchByMemory);
inline constexpr TuningRow kDisablePagingExecutive =
    Dword(HKLM, kMemoryManagement, "DisablePagingExecutive", 1);
inline constexpr TuningRow kContigFileAllocSize =
    Dword(HKLM, kMemoryManagement, "ContigFileAllocSize", 4096);
inline constexpr TuningRow kIoPageLockLimit =
    Dword(HKLM, kMemoryManagement, "IoPageLockLimit", 0, RowData::PageLockByMemory);
inline constexpr TuningRow kKeyboardSampleRate =
    Dword(HKLM, "System\\CurrentControlSet\\Services\\i8042prt\\Parameters", "SampleRate", 200);
inline constexpr TuningRow kSeparateProcessMachine =
    Dword(HKLM, kExplorerAdvanced, "SeparateProcess", 0);
inline constexpr TuningRow kSeparateProcessUser =
    Dword(HKCU, kExplorerAdvanced, "SeparateProcess", 0);

}  // namespace ludora::rows
