#!/usr/bin/env bash
# The default-shell switches, picked from the quick menu by keyboard.
source "$(dirname "$0")/lib.sh"

SERVICES='HKLM\SYSTEM\CurrentControlSet\Services'
WINLOGON='Software\Microsoft\Windows NT\CurrentVersion\Winlogon'
MAPPING='HKLM\Software\Microsoft\Windows NT\CurrentVersion\IniFileMapping\system.ini\boot'
INTERNET='HKU\.DEFAULT\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
MM='HKLM\System\CurrentControlSet\Control\Session Manager\Memory Management'


# service_starts <name:start...>: the Start values as expect_rows lines.
service_starts() {
  local pair
  for pair in "$@"; do echo "$SERVICES\\${pair%%:*}|Start|REG_DWORD|${pair##*:}"; done
}

LUDORA_SERVICES=(Alerter:4 cisvc:4 HidServ:4 Messenger:4 mnmsrvc:4 WmdmPmSp:4 ERSvc:4 NetDDEdsdm:4
  NetDDE:4 FastUserSwitchingCompatibility:4 W32Time:4 Schedule:4 TrkWks:4 RemoteRegistry:4 RSVP:4
  ClipSrv:4 MSDTC:4 SysmonLog:4 PolicyAgent:4 uploadmgr:4 Helpsvc:4 BITS:4 SENS:4 EventSystem:4
  Browser:4 ALG:4 wuauserv:4 RDSessMgr:4 TlntSvr:4 COMSysApp:4 Netlogon:4 upnphost:4 RemoteAccess:4
  SwPrv:4 CryptSvc:3 seclogon:3 dmadmin:4 TermService:4 SSDPSRV:4 LmHosts:4 WebClient:4 Spooler:4
  SharedAccess:4 lanmanserver:4)
EXPLORER_SERVICES=(Alerter:3 cisvc:3 HidServ:4 Messenger:2 mnmsrvc:3 WmdmPmSp:2 ERSvc:2
  NetDDEdsdm:3 NetDDE:3 FastUserSwitchingCompatibility:3 W32Time:2 Schedule:2 TrkWks:2
  RemoteRegistry:2 RSVP:3 ClipSrv:3 MSDTC:4 SysmonLog:3 PolicyAgent:2 uploadmgr:2 Helpsvc:2 BITS:3
  SENS:2 EventSystem:3 Browser:2 ALG:3 wuauserv:2 RDSessMgr:3 TlntSvr:3 COMSysApp:3 Netlogon:2
  upnphost:3 RemoteAccess:3 SwPrv:3 CryptSvc:2 seclogon:2 WebClient:2 dmadmin:3 TermService:3
  SSDPSRV:3 LmHosts:2 Spooler:2 SharedAccess:3 lanmanserver:2)

# switch_to_ludora <winxp|win98>
switch_to_ludora() {
  new_prefix "ludora-$1" "$1"
  start_ludora +menu,+reg
  pick_switch "Set Ludora as default shell"
  # The box is modal: the bar's hot spots open no menu while it is open.
  click_hotspot Label6
  click_hotspot Label2
  # The registration is in; no tuning row of the switch is, until the box closes.
  expect_reg "HKCU\\$WINLOGON" Shell REG_SZ "\"$APP_WIN\\ludora.exe\""
  expect_absent "$MM" LargeSystemCache
  expect_absent 'HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Executive' AdditionalCriticalWorkerThreads
  expect_absent "$INTERNET" MaxConnectionsPerServer
  expect_absent "$SERVICES\\Alerter" Start
  screenshot "$E2E_DIR/message-box.png"
  close_message_box
  wait_until 20 "the switch's last row" bash -c "grep -aq 'NtSetValueKey.*L\"MaxConnectionsPerServer\"' '$LOG'"
  [ "$(grep -ac NtUserTrackPopupMenuEx "$LOG")" = 1 ] || fail "a menu opened while the box was open"
  local row
  for row in LargeSystemCache AdditionalCriticalWorkerThreads MaxConnectionsPerServer; do
    [ "$(grep -ac "NtSetValueKey.*L\"$row\"" "$LOG")" = 1 ] || fail "$row written more than once"
  done

  local unload=1
  [ "$1" = win98 ] && unload=0
  local adv='Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced'
  local explorer='Software\Microsoft\Windows\CurrentVersion\Explorer'
  {
    startup_rows "$unload" yes
    cat <<EOF
$MAPPING|Shell|REG_SZ|USR:Software\Microsoft\Windows NT\CurrentVersion\Winlogon
HKLM\\$adv|SeparateProcess|REG_DWORD|0
HKCU\\$adv|SeparateProcess|REG_DWORD|0
$MM|LargeSystemCache|REG_DWORD|0
HKLM\\$explorer|DesktopProcess|REG_DWORD|0
HKCU\\$explorer|DesktopProcess|REG_DWORD|0
HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Executive|AdditionalCriticalWorkerThreads|REG_DWORD|1
$INTERNET|MaxConnectionsPer1_0Server|REG_DWORD|16
$INTERNET|MaxConnectionsPerServer|REG_DWORD|8
EOF
  } | expect_rows
  if [ "$1" = winxp ]; then
    service_starts "${LUDORA_SERVICES[@]}" | expect_rows
  else
    expect_absent "$SERVICES\\Alerter" Start
    expect_absent "$SERVICES\\Messenger" Start
  fi
  # [boot] shell: the short form of the application folder, which Windows
  # resolves to this very program.
  local boot
  boot=$(system_ini | awk '/^\[boot\]/ {b = 1; next} /^\[/ {b = 0} b && /^shell=/ {print substr($0, 7)}')
  [[ $boot == *'\ludora.exe' && $boot != *' '* ]] || fail "[boot] shell=$boot"
  wine cmd /c "if exist $boot echo found" 2>/dev/null | grep -q found || fail "$boot does not exist"
}

test_switch_to_ludora_on_xp() { switch_to_ludora winxp; }
test_switch_to_ludora_on_98() { switch_to_ludora win98; }

# switch_to_explorer <winxp|win98>
switch_to_explorer() {
  new_prefix "explorer-$1" "$1"
  start_ludora +menu
  pick_switch "Set Explorer as default shell"
  expect_reg "HKLM\\$WINLOGON" Shell REG_SZ explorer.exe
  expect_absent "$INTERNET" MaxConnectionsPerServer
  close_message_box
  expect_rows <<EOF
system.ini|boot|shell|Explorer.exe
$MAPPING|Shell|REG_SZ|SYS:Microsoft\Windows NT\CurrentVersion\Winlogon
HKCU\\$WINLOGON|Shell|REG_SZ|explorer.exe
HKLM\\$WINLOGON|Shell|REG_SZ|explorer.exe
HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\explorer|AlwaysUnloadDLL|REG_SZ|0
HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced|SeparateProcess|REG_DWORD|0
HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced|SeparateProcess|REG_DWORD|0
system.ini|386Enh|MinTimeSlice|20
$INTERNET|MaxConnectionsPer1_0Server|REG_DWORD|2
$INTERNET|MaxConnectionsPerServer|REG_DWORD|1
EOF
  if [ "$1" = winxp ]; then
    service_starts "${EXPLORER_SERVICES[@]}" | expect_rows
  else
    expect_absent "$SERVICES\\Alerter" Start
  fi
}

test_switch_to_explorer_on_xp() { switch_to_explorer winxp; }
test_switch_to_explorer_on_98() { switch_to_explorer win98; }

run_tests test_switch_to_ludora_on_xp test_switch_to_ludora_on_98 test_switch_to_explorer_on_xp \
  test_switch_to_explorer_on_98
