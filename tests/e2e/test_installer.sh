#!/usr/bin/env bash
# ludora-setup.exe: installs, records the machine first, and uninstalls
# giving every value Ludora can write back as it was.
source "$(dirname "$0")/lib.sh"

UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane Ludora ZR'
WINLOGON='Software\Microsoft\Windows NT\CurrentVersion\Winlogon'
MM='HKLM\System\CurrentControlSet\Control\Session Manager\Memory Management'

# A machine with values of odd types and data where Ludora writes, and the
# installer and a recorder of its own beside it.
odd_machine() {
  new_prefix "$1" "$2" bare
  cp "$SETUP" "$WINEPREFIX/drive_c/ludora-setup.exe"
  cp "$RECORDER" "$WINEPREFIX/drive_c/"
  wine reg add 'HKCU\Control Panel\Desktop' /v MenuShowDelay /t REG_DWORD /d 7 /f
  wine reg add 'HKLM\System\CurrentControlSet\Control\PriorityControl' /v IRQ8Priority /t REG_BINARY /d 0102ff /f
  wine reg add 'HKCR\exefile\shell\open\Command' /ve /d '"%1" %* /custom' /f
  wine reg add 'HKLM\SYSTEM\CurrentControlSet\Services\Alerter' /v Start /t REG_DWORD /d 2 /f
  wine reg add "$MM" /v LargeSystemCache /t REG_EXPAND_SZ /d '%SystemRoot%' /f
  printf '[386Enh]\r\nMinTimeSlice=77\r\n' >>"$WINEPREFIX/drive_c/windows/system.ini"
} >/dev/null 2>&1

# snapshot <name>: every place Ludora can write, as it is now, in C:\<name>.
snapshot() {
  rm -f "$WINEPREFIX/drive_c/$1"
  wine 'C:\ludora-record.exe' record "C:\\$1" || fail "no snapshot $1"
}

install() {
  local start=$EPOCHREALTIME
  wine 'C:\ludora-setup.exe' /S || fail "the installer failed"
  echo "    silent install: $(ms_since "$start") ms"
}
uninstalled() { ! wine reg query "$UNINSTALL_KEY" >/dev/null 2>&1 && [ ! -e "$APP_DIR/uninstall.exe" ]; }
uninstall() {
  # The uninstaller copies itself away and starts the copy: waited for by its effects.
  local start=$EPOCHREALTIME
  wine "$APP_WIN\\uninstall.exe" /S
  wait_until 60 "the uninstall to end" uninstalled
  echo "    silent uninstall: $(ms_since "$start") ms"
}
start_menu() { find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Corvane Ludora*' 2>/dev/null; }

install_switch_uninstall() {
  odd_machine "setup-$1" "$1"
  snapshot before.txt
  install
  [ "$(ls "$APP_DIR" | tr '\n' ' ')" = "games ludora.exe machine-record.txt sparkrun.exe traydock.exe turbolia.html uninstall.exe webgames.html " ] ||
    fail "installed: $(ls "$APP_DIR")"
  [ "$(start_menu | sed 's|.*/||' | sort | tr '\n' '|')" = "Corvane Ludora|Ludora.lnk|Uninstall Ludora.lnk|" ] ||
    fail "Start menu: $(start_menu)"
  expect_reg "$UNINSTALL_KEY" QuietUninstallString REG_SZ "\"$APP_WIN\\uninstall.exe\" /S"

  # Ludora runs, becomes the shell; the user adds a game and shortcuts.
  start_ludora +menu,+reg
  pick_switch "Set Ludora as default shell"
  close_message_box
  wait_until 20 "the switch's last row" bash -c "grep -aq 'NtSetValueKey.*L\"MaxConnectionsPerServer\"' '$LOG'"
  touch "$APP_DIR/games/My Game.lnk"
  printf '"Chess","C:\\Games\\Chess.lnk"\r\n' >"$APP_DIR/ludora.ini"
  cp "$APP_DIR/machine-record.txt" "$E2E_DIR/first-record.txt"
  install  # over the first: its record stays, the running shell comes back
  cmp -s "$APP_DIR/machine-record.txt" "$E2E_DIR/first-record.txt" || fail "the first record was replaced"
  LUDORA_PID=  # a new process: any bar will do
  wait_until 30 "the shell to run again" find_bar
  LUDORA_PID=$(xprop -id "$BAR" _NET_WM_PID | awk '{print $NF}')

  uninstall
  snapshot after.txt
  diff "$WINEPREFIX/drive_c/before.txt" "$WINEPREFIX/drive_c/after.txt" >&2 ||
    fail "the machine is not as it was"
  # The same, read by Windows' own tool.
  expect_rows <<ROWS
HKCU\Control Panel\Desktop|MenuShowDelay|REG_DWORD|7
HKLM\System\CurrentControlSet\Control\PriorityControl|IRQ8Priority|REG_BINARY|0102FF
HKCR\exefile\shell\open\Command||REG_SZ|"%1" %* /custom
HKLM\SYSTEM\CurrentControlSet\Services\Alerter|Start|REG_DWORD|2
$MM|LargeSystemCache|REG_EXPAND_SZ|%SystemRoot%
system.ini|386Enh|MinTimeSlice|77
ROWS
  expect_absent "HKCU\\$WINLOGON" Shell
  [ "$(cd "$APP_DIR" && find . | sort | tr '\n' '|')" = ".|./games|./games/My Game.lnk|./ludora.ini|" ] ||
    fail "left behind: $(cd "$APP_DIR" && find .)"
  [ -z "$(start_menu)" ] || fail "the Start-menu folder is still there"
  wait_until 10 "the shell to end" bash -c "! kill -0 $LUDORA_PID 2>/dev/null"
}

test_install_switch_uninstall_on_xp() { install_switch_uninstall winxp; }
test_install_switch_uninstall_on_98() { install_switch_uninstall win98; }

# Without a sound record: what "Set Explorer as default shell" writes.
test_a_damaged_record_gives_explorer_defaults() {
  odd_machine setup-damaged winxp
  install
  printf 'x' >>"$APP_DIR/machine-record.txt"
  uninstall
  expect_rows <<ROWS
HKLM\\$WINLOGON|Shell|REG_SZ|explorer.exe
HKCU\\$WINLOGON|Shell|REG_SZ|explorer.exe
system.ini|boot|shell|Explorer.exe
system.ini|386Enh|MinTimeSlice|20
HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\explorer|AlwaysUnloadDLL|REG_SZ|0
HKU\.DEFAULT\Software\Microsoft\Windows\CurrentVersion\Internet Settings|MaxConnectionsPerServer|REG_DWORD|1
ROWS
  service_starts "${EXPLORER_SERVICES[@]}" | expect_rows
}

installer_window() { xdotool search --onlyvisible --name '^Corvane Ludora ZR Setup$' 2>/dev/null | head -1 | grep .; }

test_installer_first_page() {
  new_prefix setup-pages winxp bare
  cp "$SETUP" "$WINEPREFIX/drive_c/ludora-setup.exe"
  wine 'C:\ludora-setup.exe' &
  wait_until 30 "the installer's window" installer_window
  wait_until 10 "its welcome text" bash -c \
    "import -window root png:- | convert png:- -format %k info: | awk '\$1 > 200' | grep -q ."
  screenshot "$E2E_WORK/installer.png"
}

run_tests test_install_switch_uninstall_on_xp test_install_switch_uninstall_on_98 \
  test_a_damaged_record_gives_explorer_defaults test_installer_first_page
