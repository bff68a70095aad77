#!/usr/bin/env bash
# The tuning every start applies: registry values, system.ini, service stops.
source "$(dirname "$0")/lib.sh"

# The two memory figures for the total a 32-bit program is told: the
# machine's memory, at most 2 GiB - 1.
memory_figures() {
  awk '/^MemTotal:/ {
      total = $2 * 1024; if (total > 2147483647) total = 2147483647
      mb = int(total / 1048576 + 0.5); kb = int(total / 1024 + 0.5)
      x = kb * 16384000 / 523220; lock = int(x); frac = x - lock
      if (frac > 0.5 || (frac == 0.5 && lock % 2 == 1)) lock++
      print (mb > 180 ? 3 : 0), lock }' /proc/meminfo
}

test_startup_rows_and_service_stops() {
  new_prefix startup
  start_ludora +process
  wait_until 20 "31 sc stop commands" bash -c "[ \$(grep -ac 'cmdline L\"sc stop ' '$LOG') -ge 31 ]"
  local prefetch pagelock
  read -r prefetch pagelock < <(memory_figures)
  local pm='HKLM\System\CurrentControlSet\Control\Session Manager\Memory Management'
  expect_rows <<EOF
HKLM\System\CurrentControlSet\Control\PriorityControl|IRQ8Priority|REG_DWORD|0
HKCU\Control Panel\Desktop|MenuShowDelay|REG_SZ|0
HKLM\System\CurrentControlSet\Control\WOW|DefaultSeparateVDM|REG_SZ|yes
HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer|MemCheckBoxInRunDlg|REG_DWORD|1
HKCU\Control Panel\Desktop|HungAppTimeout|REG_SZ|250
HKCU\Control Panel\Desktop|WaitToKillAppTimeout|REG_SZ|1000
HKLM\SYSTEM\CurrentControlSet\Control|WaitToKillService|REG_SZ|2000
HKLM\SYSTEM\CurrentControlSet\Control|WaitToKillServiceTimeout|REG_SZ|2000
system.ini|386Enh|MinSPs|256
HKU\.DEFAULT\control panel\desktop|LowLevelHooksTimeout|REG_SZ|1
HKCU\Control Panel\Desktop|AutoEndTasks|REG_SZ|1
HKCR\exefile\shell\open\Command||REG_SZ|"%1" %*
HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\explorer|AlwaysUnloadDLL|REG_SZ|0
system.ini|386Enh|PageBuffers|32
system.ini|386Enh|MinTimeSlice|200
HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Usb|ErrorCheckingEnabled|REG_DWORD|0
system.ini|vcache|chunksize|1024
HKLM\System\CurrentControlSet\Services\Class\Usb\0000|IdleEnable|REG_DWORD|0
HKLM\System\CurrentControlSet\Control\PriorityControl|Win32PrioritySeparation|REG_DWORD|26
$pm\PrefetchParameters|EnablePrefetcher|REG_DWORD|$prefetch
HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\BrowseNewProcess|BrowseNewProcess|REG_SZ|no
HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\BrowseNewProcess|BrowseNewProcess|REG_SZ|no
$pm|DisablePagingExecutive|REG_DWORD|1
$pm|ContigFileAllocSize|REG_DWORD|4096
$pm|IoPageLockLimit|REG_DWORD|$pagelock
HKLM\System\CurrentControlSet\Services\i8042prt\Parameters|SampleRate|REG_DWORD|200
EOF
  local want
  want=$(printf 'sc stop %s\n' themes mdm wscsvc scardsvr scarddrv sharedaccess incdsrv umwdf \
    shellhwdetection spooler wuauserv bits dmadmin dmserver dcomlaunch imapiservice xmlprov \
    ntlmssp diskeeper CryptSvc Dnscache nla ProtectedStorage stisvc helpsvc seclogon \
    tabletservice aspnet_state cisvc srservice jtagserver)
  [ "$(started_commands | grep '^sc stop ')" = "$want" ] || fail "sc stop commands differ:
$(started_commands | grep '^sc stop ' | diff - <(echo "$want"))"
}

run_tests test_startup_rows_and_service_stops
