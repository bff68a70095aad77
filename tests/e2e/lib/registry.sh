# The registry and system.ini, as Windows sees them.
# shellcheck shell=bash

WINLOGON='Software\Microsoft\Windows NT\CurrentVersion\Winlogon'
MM='HKLM\System\CurrentControlSet\Control\Session Manager\Memory Management'

# The values of a key, as `reg query` lists them: "name<TAB>TYPE<TAB>data",
# the default value with an empty name.
reg_values() {
  wine reg query "$1" 2>/dev/null | tr -d '\r' | awk -F '    ' '/^    / {
      n = tolower($2); if (n == "(default)") n = ""; print n "\t" $3 "\t" $4 }'
}

# expect_rows: reads "KEY|NAME|TYPE|DATA" lines (REG_DWORD data in decimal)
# and checks each value; "system.ini|SECTION|KEY|VALUE" lines check the
# profile file. Each key is read once.
expect_rows() {
  local key name type data got want
  declare -A cache=()
  while IFS='|' read -r key name type data; do
    [ -n "$key" ] || continue
    if [ "$key" = system.ini ]; then
      expect_ini "$name" "$type" "$data"
      continue
    fi
    [ -n "${cache[$key]+set}" ] || cache[$key]=$(reg_values "$key")
    got=$(awk -F '\t' -v n="${name,,}" '$1 == n { print $2 " " $3 }' <<<"${cache[$key]}")
    want="$type $data"
    [ "$type" = REG_DWORD ] && want=$(printf 'REG_DWORD 0x%x' "$data")
    [ "$got" = "$want" ] || fail "$key [$name]: got '$got', want '$want'"
  done
}

expect_reg() { echo "$1|$2|$3|$4" | expect_rows; }

# The services whose start types the switches set (the switch to Ludora
# disables all but CryptSvc and seclogon, which it sets to manual).
SWITCH_SERVICES=(Alerter cisvc HidServ Messenger mnmsrvc WmdmPmSp ERSvc NetDDEdsdm NetDDE
  FastUserSwitchingCompatibility W32Time Schedule TrkWks RemoteRegistry RSVP ClipSrv MSDTC
  SysmonLog PolicyAgent uploadmgr Helpsvc BITS SENS EventSystem Browser ALG wuauserv RDSessMgr
  TlntSvr COMSysApp Netlogon upnphost RemoteAccess SwPrv CryptSvc seclogon WebClient dmadmin
  TermService SSDPSRV LmHosts Spooler SharedAccess lanmanserver)

# service_starts <name:start...>: the services' Start values as expect_rows lines.
service_starts() {
  local pair
  for pair in "$@"; do echo "HKLM\SYSTEM\CurrentControlSet\Services\\${pair%%:*}|Start|REG_DWORD|${pair##*:}"; done
}

# expect_absent <key> <name>: the value does not exist (yet).
expect_absent() {
  ! reg_values "$1" | awk -F '\t' -v n="${2,,}" '$1 == n { f = 1 } END { exit !f }' ||
    fail "$1 [$2] exists"
}

# startup_rows: the rows every start writes, as expect_rows lines. The two
# memory figures follow the total a 32-bit program is told: the machine's
# memory, at most 2 GiB - 1.
startup_rows() {
  local prefetch pagelock
  read -r prefetch pagelock < <(awk '/^MemTotal:/ {
      total = $2 * 1024; if (total > 2147483647) total = 2147483647
      mb = int(total / 1048576 + 0.5); kb = int(total / 1024 + 0.5)
      x = kb * 16384000 / 523220; lock = int(x); frac = x - lock
      if (frac > 0.5 || (frac == 0.5 && lock % 2 == 1)) lock++
      print (mb > 180 ? 3 : 0), lock }' /proc/meminfo)
  cat <<ROWS
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
$MM\PrefetchParameters|EnablePrefetcher|REG_DWORD|$prefetch
HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\BrowseNewProcess|BrowseNewProcess|REG_SZ|no
HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\BrowseNewProcess|BrowseNewProcess|REG_SZ|no
$MM|DisablePagingExecutive|REG_DWORD|1
$MM|ContigFileAllocSize|REG_DWORD|4096
$MM|IoPageLockLimit|REG_DWORD|$pagelock
HKLM\System\CurrentControlSet\Services\i8042prt\Parameters|SampleRate|REG_DWORD|200
ROWS
}

system_ini() { tr -d '\r' <"$WINEPREFIX/drive_c/windows/system.ini"; }

# expect_ini <section> <key> <value>
expect_ini() {
  local got
  got=$(system_ini | awk -v s="[$1]" -v k="$2" '
      /^\[/ { in_s = (tolower($0) == tolower(s)) }
      in_s && index($0, k "=") == 1 { print substr($0, length(k) + 2) }' | tail -1)
  [ "$got" = "$3" ] || fail "system.ini [$1] $2: got '$got', want '$3'"
}
