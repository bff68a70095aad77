#!/usr/bin/env bash
# ludora-setup.exe: installs, records the machine first, and uninstalls
# giving back every value Ludora left, never stranding the user, one at a
# time, with an exit code that says what happened.
source "$(dirname "$0")/lib.sh"

UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane Ludora ZR'

# A machine with values of odd types and data where Ludora writes (the
# others absent), and the installer and a recorder of its own beside it.
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
# same_as_before <name> [place...]: the snapshot holds what before.txt does,
# but for the places named.
same_as_before() {
  local name=$1
  shift
  diff <(grep -av -e '^end' "${@/#/-e}" "$WINEPREFIX/drive_c/before.txt") \
    <(grep -av -e '^end' "${@/#/-e}" "$WINEPREFIX/drive_c/$name") >&2 || fail "not as before: $name"
}

# setup <arguments...>: runs the installer; its exit code in CODE.
setup() {
  CODE=0
  wine 'C:\ludora-setup.exe' "$@" || CODE=$?
}
install() { setup /S && [ "$CODE" = 0 ] || fail "the installer ended with $CODE"; }
uninstalled() { ! wine reg query "$UNINSTALL_KEY" >/dev/null 2>&1 && [ ! -e "$APP_DIR/uninstall.exe" ]; }
uninstall() {
  # As Add or Remove Programs does: it copies itself away and starts the
  # copy, so it is waited for by its effects.
  wine "$APP_WIN\\uninstall.exe" /S
  wait_until 60 "the uninstall to end" uninstalled
}
# uninstall_code <n>: a copy of the uninstaller run in place, as NSIS tells
# its exit code only so; the code in C:\u<n>.code.
uninstall_code() {
  local code=0
  cp "$APP_DIR/uninstall.exe" "$WINEPREFIX/drive_c/u$1.exe"
  # NSIS reads _?= only unquoted, and Wine quotes an argument that holds a
  # blank: the path goes as separate words, which Wine joins with blanks.
  local words
  read -ra words <<<"_?=$APP_WIN"
  wine "C:\\u$1.exe" /S "${words[@]}" || code=$?
  echo "$code" >"$WINEPREFIX/drive_c/u$1.code"
}
code_of() { cat "$WINEPREFIX/drive_c/u$1.code"; }
start_menu() { find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Corvane Ludora*' 2>/dev/null; }
installer_window() { named '^Corvane Ludora ZR Setup$'; }
cancelled() { ! kill -0 "$1" 2>/dev/null || { local w; w=$(installer_window) && xdotool windowfocus "$w" key --window "$w" Escape; false; }; }
running() { kill -0 "$LUDORA_PID" 2>/dev/null; }
# bar_of_another_than <pid>: a bar is on screen whose process is not <pid>; it becomes LUDORA_PID.
bar_of_another_than() {
  local line
  line=$(bars | awk -v old="$1" '$2 != old { print; exit }') && [ -n "$line" ] || return 1
  read -r BAR LUDORA_PID <<<"$line"
}
app_files() { LC_ALL=C ls "$APP_DIR" | tr '\n' ' '; }

# Windows 98 starts the shell its system.ini names: a read-only one keeps
# naming Ludora, which then stays installed.
a_read_only_system_ini_keeps_ludora() {
  local ini="$WINEPREFIX/drive_c/windows/system.ini"
  chmod a-w "$ini"
  chattr +i "$ini" || fail "system.ini cannot be made read-only here"
  # shellcheck disable=SC2064  # the path now: the trap runs outside this function
  trap "s=\$?; chattr -i '$ini'; end_prefix \$s" EXIT
  local old=$LUDORA_PID from
  from=$(wc -l <"$LOG")
  LUDORA_PID=
  WINEDEBUG=+process uninstall_code 1 2>>"$LOG"
  chattr -i "$ini"
  chmod u+w "$ini"
  [ "$(code_of 1)" = 5 ] || fail "exit $(code_of 1), not 5 (Explorer could not be made the shell)"
  # The desktop the user had: Ludora's bar again, of a new process (the old
  # one was closed), and no Explorer started in any way (Wine's own desktop
  # window is `explorer.exe /desktop`).
  wait_until 30 "a new bar" bar_of_another_than "$old"
  local explorer
  explorer=$(tail -n +"$((from + 1))" "$LOG" | grep -a CreateProcessInternalW | grep -ai 'explorer\.exe' |
    grep -av '/desktop') && fail "Explorer was started: $explorer"
  local shell
  shell=$(system_ini | awk '/^\[boot\]/ { b = 1 } b && /^shell=/ { print substr($0, 7) }')
  [[ "${shell,,}" == *'\ludora.exe' ]] && [ -f "$APP_DIR/ludora.exe" ] ||
    fail "system.ini names '$shell', $(app_files)"
  wine reg query "$UNINSTALL_KEY" >/dev/null 2>&1 || fail "no longer in Add or Remove Programs"
}

install_upgrade_uninstall() {
  odd_machine "setup-$1" "$1"
  snapshot before.txt
  install
  [ "$(app_files)" = "chitter.exe games lobbyfind-games.ini lobbyfind.exe ludora-watch.exe ludora.exe machine-record.txt parlour.exe pno0001.exe sparkrun.exe traydock.exe turbolia.html uninstall.exe wayview.exe webgames.html " ] ||
    fail "installed: $(app_files)"
  [ "$(start_menu | sed 's|.*/||' | sort | tr '\n' '|')" = "Corvane Ludora|Ludora.lnk|Uninstall Ludora.lnk|" ] ||
    fail "Start menu: $(start_menu)"
  expect_reg "$UNINSTALL_KEY" QuietUninstallString REG_SZ "\"$APP_WIN\\uninstall.exe\" /S"
  cp "$APP_DIR/machine-record.txt" "$E2E_DIR/first-record.txt"

  # One installation per machine: another folder is refused, nothing changes.
  setup /S '/D=C:\Elsewhere'
  [ "$CODE" = 7 ] && [ ! -e "$WINEPREFIX/drive_c/Elsewhere" ] || fail "another folder: exit $CODE"
  snapshot now.txt
  same_as_before now.txt
  expect_reg "$UNINSTALL_KEY" InstallLocation REG_SZ "$APP_WIN"

  # Ludora made the shell.
  start_ludora +menu,+reg
  pick_switch "Set Ludora as default shell"
  close_message_box
  wait_until 20 "the switch's last row" bash -c "grep -aq 'NtSetValueKey.*L\"MaxConnectionsPerServer\"' '$LOG'"
  [ "$1" = winxp ] || a_read_only_system_ini_keeps_ludora

  # An installer that is open keeps an uninstall out; cancelled (Escape until it
  # ends: a search or a key misses now and then), it leaves Ludora running.
  wine 'C:\ludora-setup.exe' &
  local setup_pid=$!
  wait_until 30 "the installer's window" installer_window
  uninstall_code 2
  [ "$(code_of 2)" = 6 ] && [ -e "$APP_DIR/ludora.exe" ] || fail "beside an installer: exit $(code_of 2)"
  wait_until 30 "the installer to be cancelled" cancelled "$setup_pid"
  wait "$setup_pid" && CODE=0 || CODE=$?
  [ "$CODE" = 1 ] && running || fail "cancelled: exit $CODE, Ludora running: $(running && echo yes)"
  # An upgrade that fails (a folder where sparkrun.exe goes) brings it back.
  rm "$APP_DIR/sparkrun.exe" && mkdir "$APP_DIR/sparkrun.exe"
  setup /S
  [ "$CODE" = 2 ] || fail "a failed upgrade: exit $CODE"
  LUDORA_PID=  # a new process: any bar will do
  wait_until 30 "the shell to run again after a failed upgrade" find_bar
  rmdir "$APP_DIR/sparkrun.exe"
  install  # over the first: its record stays, the running shell comes back
  cmp -s "$APP_DIR/machine-record.txt" "$E2E_DIR/first-record.txt" || fail "the first record was replaced"
  wait_until 30 "the shell to run again" find_bar
  LUDORA_PID=$(xprop -id "$BAR" _NET_WM_PID | awk '{print $NF}')

  # The program folder deleted by hand: the next install finds the first record.
  kill "$LUDORA_PID"
  wait_until 10 "the shell to end" absent running
  rm -rf "$APP_DIR"
  install
  cmp -s "$APP_DIR/machine-record.txt" "$E2E_DIR/first-record.txt" || fail "no first record after the folder went"

  # The user adds games and shortcuts, runs Ludora and sets a value by hand.
  touch "$APP_DIR/games/My Game.lnk"
  printf '"Chess","C:\\Games\\Chess.lnk"\r\n' >"$APP_DIR/ludora.ini"
  start_ludora +reg
  wait_until 20 "the start-up's last row" bash -c "grep -aq 'NtSetValueKey.*L\"SampleRate\"' '$LOG'"
  wine reg add 'HKCU\Control Panel\Desktop' /v MenuShowDelay /d 3 /f >/dev/null 2>&1

  # Two uninstalls at once: one of them is refused and changes nothing.
  local other
  WINEDEBUG=+process uninstall_code 3 2>>"$LOG" &
  other=$!
  WINEDEBUG=+process uninstall_code 4 2>>"$LOG"
  wait "$other"
  [[ "$(code_of 3) $(code_of 4)" =~ ^(0 [67]|[67] 0)$ ]] || fail "two uninstalls: $(code_of 3) $(code_of 4)"
  uninstalled || fail "still installed"
  snapshot after.txt
  same_as_before after.txt MenuShowDelay
  # The same, read by Windows' own tool.
  expect_rows <<ROWS
HKCU\Control Panel\Desktop|MenuShowDelay|REG_SZ|3
HKLM\System\CurrentControlSet\Control\PriorityControl|IRQ8Priority|REG_BINARY|0102FF
HKCR\exefile\shell\open\Command||REG_SZ|"%1" %* /custom
HKLM\SYSTEM\CurrentControlSet\Services\Alerter|Start|REG_DWORD|2
$MM|LargeSystemCache|REG_EXPAND_SZ|%SystemRoot%
system.ini|386Enh|MinTimeSlice|77
ROWS
  expect_absent "HKCU\\$WINLOGON" Shell
  ! wine reg query 'HKLM\Software\Corvane' >/dev/null 2>&1 || fail "the record stays in the registry"
  [ "$(cd "$APP_DIR" && find . | sort | tr '\n' '|')" = ".|./games|./games/My Game.lnk|./ludora.ini|" ] ||
    fail "left behind: $(cd "$APP_DIR" && find .)"
  [ -z "$(start_menu)" ] || fail "the Start-menu folder is still there"
  wait_until 10 "the shell to end" absent running
}

test_install_upgrade_uninstall_on_xp() { install_upgrade_uninstall winxp; }
test_install_upgrade_uninstall_on_98() { install_upgrade_uninstall win98; }

# seal <record> <line>: the record with one more line, its count and checksum
# made right (FNV-1a over the lines before the last, LF line ends).
seal() {
  local body h=2166136261 b
  body=$(tr -d '\r' <"$1" | grep -av '^end'; printf '%s' "$2")
  for b in $(printf '%s\n' "$body" | od -An -tu1 -v); do h=$(((h ^ b) * 16777619 & 0xffffffff)); done
  printf '%s\nend\t%d\t%08x\n' "$body" "$(($(grep -ac '^reg\|^ini' <<<"$body")))" "$h" >"$1"
}

# A record that is only data about Ludora's places: re-saved with LF line
# ends it restores exactly; with a line for a key not on the list it is
# refused whole, set aside, and Explorer's own settings are written.
records_read_as_data() {
  odd_machine "setup-record-$1" "$1"
  snapshot before.txt
  install
  wine reg delete 'HKLM\Software\Corvane\Ludora' /f >/dev/null 2>&1  # the file alone
  sed -i 's/\r$//' "$APP_DIR/machine-record.txt"
  uninstall
  snapshot after.txt
  same_as_before after.txt

  install
  wine reg delete 'HKLM\Software\Corvane\Ludora' /f >/dev/null 2>&1
  local run='Software\Microsoft\Windows\CurrentVersion\Run'
  seal "$APP_DIR/machine-record.txt" "$(printf 'reg\tHKLM\t%s\tLudoraTest\t1\t%s' "$run" \
    "$(printf 'evil.exe' | od -An -tx1 | tr -d ' \n')00")"
  cp "$APP_DIR/machine-record.txt" "$E2E_DIR/tampered.txt"
  uninstall_code 1
  [ "$(code_of 1)" = 4 ] || fail "a record naming another key: exit $(code_of 1), not 4"
  cmp -s "$APP_DIR"/machine-record\ set\ aside\ *.txt "$E2E_DIR/tampered.txt" ||
    fail "not set aside: $(app_files)"
  expect_absent "HKLM\\$run" LudoraTest
  expect_rows <<ROWS
HKLM\\$WINLOGON|Shell|REG_SZ|explorer.exe
HKCU\\$WINLOGON|Shell|REG_SZ|explorer.exe
system.ini|boot|shell|Explorer.exe
system.ini|386Enh|MinTimeSlice|20
HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\explorer|AlwaysUnloadDLL|REG_SZ|0
HKU\.DEFAULT\Software\Microsoft\Windows\CurrentVersion\Internet Settings|MaxConnectionsPerServer|REG_DWORD|1
ROWS
  [ "$1" = win98 ] || service_starts Alerter:3 MSDTC:4 CryptSvc:2 | expect_rows
}

test_records_read_as_data_on_xp() { records_read_as_data winxp; }
test_records_read_as_data_on_98() { records_read_as_data win98; }

test_installer_first_page() {
  new_prefix setup-pages winxp bare
  cp "$SETUP" "$WINEPREFIX/drive_c/ludora-setup.exe"
  wine 'C:\ludora-setup.exe' &
  wait_until 30 "the installer's window" installer_window
  wait_until 10 "its welcome text" bash -c \
    "import -window root png:- | convert png:- -format %k info: | awk '\$1 > 200' | grep -q ."
  screenshot "$E2E_WORK/installer.png"
}

run_tests test_install_upgrade_uninstall_on_xp test_install_upgrade_uninstall_on_98 \
  test_records_read_as_data_on_xp test_records_read_as_data_on_98 test_installer_first_page
