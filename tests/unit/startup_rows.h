// The writes of the start-up tuning set on a machine with 511 MB, as the
// registry and system.ini receive them; the switch to Ludora repeats most.
#pragma once

#include <string>
#include <vector>

namespace ludora::testing {

inline const std::vector<std::string> kStartupWrites = {
    "reg HKLM\\System\\CurrentControlSet\\Control\\PriorityControl [IRQ8Priority] REG_DWORD 0",
    "reg HKCU\\Control Panel\\Desktop [MenuShowDelay] REG_SZ 0",
    "reg HKLM\\System\\CurrentControlSet\\Control\\WOW [DefaultSeparateVDM] REG_SZ yes",
    "reg HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer "
    "[MemCheckBoxInRunDlg] REG_DWORD 1",
    "reg HKCU\\Control Panel\\Desktop [HungAppTimeout] REG_SZ 250",
    "reg HKCU\\Control Panel\\Desktop [WaitToKillAppTimeout] REG_SZ 1000",
    "reg HKLM\\SYSTEM\\CurrentControlSet\\Control [WaitToKillService] REG_SZ 2000",
    "reg HKLM\\SYSTEM\\CurrentControlSet\\Control [WaitToKillServiceTimeout] REG_SZ 2000",
    "ini system.ini [386Enh] MinSPs=256",
    "reg HKU\\.DEFAULT\\control panel\\desktop [LowLevelHooksTimeout] REG_SZ 1",
    "reg HKCU\\Control Panel\\Desktop [AutoEndTasks] REG_SZ 1",
    "reg HKCR\\exefile\\shell\\open\\Command [] REG_SZ \"%1\" %*",
    "reg HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer [AlwaysUnloadDLL] REG_SZ 0",
    "ini system.ini [386Enh] PageBuffers=32",
    "ini system.ini [386Enh] MinTimeSlice=200",
    "reg HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Usb [ErrorCheckingEnabled] "
    "REG_DWORD 0",
    "ini system.ini [vcache] chunksize=1024",
    "reg HKLM\\System\\CurrentControlSet\\Services\\Class\\Usb\\0000 [IdleEnable] REG_DWORD 0",
    "reg HKLM\\System\\CurrentControlSet\\Control\\PriorityControl [Win32PrioritySeparation] "
    "REG_DWORD 26",
    "reg HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory "
    "Management\\PrefetchParameters [EnablePrefetcher] REG_DWORD 3",
    "reg HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BrowseNewProcess "
    "[BrowseNewProcess] REG_SZ no",
    "reg HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BrowseNewProcess "
    "[BrowseNewProcess] REG_SZ no",
    "reg HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Memory Management "
    "[DisablePagingExecutive] REG_DWORD 1",
    "reg HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Memory Management "
    "[ContigFileAllocSize] REG_DWORD 4096",
    "reg HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Memory Management "
    "[IoPageLockLimit] REG_DWORD 16384000",
    "reg HKLM\\System\\CurrentControlSet\\Services\\i8042prt\\Parameters [SampleRate] "
    "REG_DWORD 200",
};

}  // namespace ludora::testing
