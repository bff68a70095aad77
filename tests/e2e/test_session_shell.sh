#!/usr/bin/env bash
# Ludora as the session's shell: the log-on told once the bar shows, the
# startup programs once a log-on in Windows' order, Ctrl+Esc, the watchdog;
# none of it under Explorer.
source "$(dirname "$0")/lib.sh"

VERSION='Software\Microsoft\Windows\CurrentVersion'
USER_STARTUP='AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp'
COMMON_STARTUP='ProgramData/Microsoft/Windows/Start Menu/Programs/StartUp'
# What the startup programs say of themselves, in the order Windows' shell starts them.
STARTED=(machine-runonce machine-run machine-policy user-policy user-run common-startup
  user-startup user-runonce)

run_entry() {
  wine reg add "$1\\$VERSION\\$2" /v "$3" /t "${5:-REG_SZ}" /d "$4" /f >/dev/null 2>&1
}

# Wine's wineboot runs the machine's RunOnce list whenever the prefix's
# server starts afresh (one that ended between two set-up steps, as it may
# on a loaded machine): the entry goes in once a program holds the server.
machine_runonce() { run_entry HKLM RunOnce first "\"$APP_WIN\\probe.exe\" machine-runonce"; }

# session_prefix <name> <winxp|win98>: Ludora registered as the shell, a
# startup program in every place they start from but one: see machine_runonce.
session_prefix() {
  new_prefix "$1" "$2"
  cp "$TRAYCLIENT" "$PROBE" "$RECORDER" "$APP_DIR/"
  if [ "$2" = win98 ]; then  # system.ini's [boot] shell, in 8.3 form as 98 keeps it
    printf '[boot]\r\nshell=%s\r\n' "$(wine winepath.exe -s "$APP_WIN\\ludora.exe" 2>/dev/null | tr -d '\r')" \
      >>"$WINEPREFIX/drive_c/windows/system.ini"
  else
    wine reg add "HKCU\\$WINLOGON" /v Shell /d "\"$APP_WIN\\ludora.exe\"" /f >/dev/null 2>&1
  fi
  local probe="$APP_WIN\\probe.exe"
  run_entry HKLM Run mouse "$probe machine-run"  # unquoted, blanks in the path
  run_entry HKLM 'Policies\Explorer\Run' 1 "%ProgramFiles%\\Corvane Ludora\\probe.exe machine-policy" \
    REG_EXPAND_SZ
  run_entry HKCU 'Policies\Explorer\Run' 1 "\"$probe\" user-policy"
  run_entry HKCU Run chat "\"$probe\" user-run"
  run_entry HKCU RunOnce dx "\"$probe\" user-runonce"
  # (Their hidden and system files, which Wine here cannot mark so, are the unit tests'.)
  mkdir -p "$WINEPREFIX/drive_c/$COMMON_STARTUP" "$WINEPREFIX/drive_c/users/$(whoami)/$USER_STARTUP"
  cp "$PROBE" "$WINEPREFIX/drive_c/$COMMON_STARTUP/common-startup.exe"
  cp "$PROBE" "$WINEPREFIX/drive_c/users/$(whoami)/$USER_STARTUP/user-startup.exe"
}

# What each probe said of how it started, one word a start; the Startup
# folders' copies by their own names.
started() {
  cat "$APP_DIR/probe.log" "$WINEPREFIX/drive_c/$COMMON_STARTUP/probe.log" \
    "$WINEPREFIX/drive_c/users/$(whoami)/$USER_STARTUP/probe.log" 2>/dev/null | tr -d '\r' |
    sed -E 's/.*\\(common-startup|user-startup)\.exe.*/\1/; s/.*cmdline=.*probe\.exe"? ([a-z-]+).*/\1/'
}
all_started() { [ "$(started | wc -l)" -ge ${#STARTED[@]} ]; }
# The programs the shell's process made, in order, by the words above.
made_in_order() {
  grep -a 'CreateProcessInternalW app (null) cmdline L' "$LOG" |
    grep -aoE 'probe\.exe\\?"? [a-z-]+|(common|user)-startup\.exe' | sed -E 's/.* //; s/\.exe//'
}
# A bar of another process than the one given (X may give it the same window id).
bar_of_another_process() { bars | awk -v p="$1" '$2 != p { f = 1 } END { exit !f }'; }
decided() { grep -aq "OutputDebugStringA \"Ludora: $1" "$LOG"; }
# The shells started, by anyone, as the trace tells.
ludora_starts() {
  grep -ac 'CreateProcessInternalW app (null) cmdline L"\\"C:\\\\Program Files\\\\Corvane Ludora\\\\ludora.exe\\""' "$LOG"
}
companions() { prefix_processes 'Corvane Ludora.(ludora-watch|traydock)\.exe'; }
tray_runs() { prefix_processes 'Corvane Ludora.traydock\.exe'; }
ready_written() { grep -q "bar=" "$E2E_DIR/ready.txt" 2>/dev/null; }

session() {
  session_prefix "session-$1" "$1"
  evict_wine_tray
  machine_runonce
  start_ludora +timestamp,+process,+menu,+debugstr
  wait_until 30 "the log-on told" ready_written
  [ "$(tr -d '\r' <"$E2E_DIR/ready.txt")" = "bar=1" ] || fail "ready before the bar showed"
  wait_until 60 "the startup programs" all_started
  [ "$(made_in_order | tr '\n' ' ')" = "${STARTED[*]} " ] ||
    fail "started in the order: $(made_in_order | tr '\n' ' ')"
  expect_absent "HKLM\\$VERSION\\RunOnce" first
  expect_absent "HKCU\\$VERSION\\RunOnce" dx
  grep -aq 'cmdline L"\\"C:\\\\Program Files\\\\Corvane Ludora\\\\traydock.exe\\""' "$LOG" ||
    fail "no notification area started"

  # Ctrl+Esc: the quick menu, at the left end under the bar.
  xdotool key --window "$BAR" ctrl+Escape
  wait_until 15 "the quick menu from Ctrl+Esc" menu_window
  xdotool key --window "$BAR" Escape
  wait_until 10 "the quick menu to close" absent menu_window

  # Ended by TerminateProcess: back at once, no startup program again.
  # Timed from the end of the kill: Wine's taskkill takes a while to start.
  local start back
  wine taskkill /f /im ludora.exe >/dev/null 2>&1
  start=$EPOCHREALTIME
  wait_until 10 "the bar back" bar_of_another_process "$LUDORA_PID"
  back=$(ms_since "$start")
  ((back <= 2000)) || fail "back only after $back ms"
  wait_until 30 "the restarted shell's decision" bash -c \
    "grep -ac 'OutputDebugStringA \"Ludora: the session' '$LOG' | grep -qx 2"
  decided "startup programs started already" ||
    fail "the restarted shell would start the startup programs again"
  [ "$(started | wc -l)" -eq ${#STARTED[@]} ] || fail "a startup program ran twice: $(started | tr '\n' ' ')"

  # Alt+F4 on the bar is not undone; nor is an orderly end of the program.
  LUDORA_PID=""
  find_bar
  xdotool key --window "$BAR" alt+F4
  wait_until 10 "the bar to close" absent bars
  local starts
  starts=$(ludora_starts)
  # Its code says whether one ran; what it did goes to the trace.
  WINEDEBUG=+timestamp,+process,+debugstr wine "$APP_WIN\\ludora-record.exe" close >/dev/null 2>>"$LOG" || true
  wait_until 20 "the watchdog and the notification area to end" absent companions
  grep -aq 'OutputDebugStringA "ludora-watch: Ludora ended in order' "$LOG" ||
    fail "the watchdog took the orderly end for another"
  [ "$(ludora_starts)" -eq "$starts" ] || fail "Ludora started again after an orderly end"
  # (A process Windows counts as ended may still be going away on Linux.)
  wait_until 10 "Ludora's process to go" absent prefix_processes 'Corvane Ludora.ludora\.exe'
}

# A crash loop: Ludora ends abnormally a fourth time within a minute, after
# three restarts. Explorer starts instead, from the Windows folder, once the
# notification area has ended, named the shell while it starts; the
# registration is put back after, so the next log-on starts Ludora again.
explorer_started() { grep -aqF 'app L"C:\\windows\\explorer.exe" cmdline L"explorer.exe"' "$LOG"; }
explorer_pid() { prefix_processes '^(C:\\windows\\)?explorer\.exe$'; }
crash_loop() {
  session_prefix "crash-loop-$1" "$1"
  evict_wine_tray
  machine_runonce
  start_ludora +timestamp,+process,+debugstr
  wait_until 30 "the notification area" tray_runs
  local kill
  for kill in 1 2 3 4; do
    wine taskkill /f /im ludora.exe >/dev/null 2>&1
    ((kill < 4)) || break
    wait_until 10 "the bar back after kill $kill" bar_of_another_process "$LUDORA_PID"
    LUDORA_PID=$(bars | awk '{ print $2; exit }')
  done
  wait_until 30 "Explorer from the Windows folder" explorer_started
  wait_until 10 "Explorer's process" explorer_pid
  # A traydock the last Ludora started just before its end may still be coming up: it finds
  # the instance the watchdog holds and ends by itself. One that hosted a tray would not end.
  wait_until 10 "the notification area to make way for Explorer's" absent tray_runs
  if [ "$1" = win98 ]; then
    expect_ini boot shell Explorer.exe
  else
    expect_reg "HKCU\\$WINLOGON" Shell REG_SZ explorer.exe
  fi
  # Wine's explorer.exe, not being Wine's desktop, shows no desktop of its
  # own: the stand-in's Progman tells the watchdog that Explorer took it.
  (cd "$E2E_DIR" && wine "$APP_WIN\\probe.exe" explorer) &
  wait_until 30 "the watchdog to end" absent prefix_processes 'Corvane Ludora.ludora-watch\.exe'
  kill "$(explorer_pid)"
  if [ "$1" = win98 ]; then
    [[ "$(system_ini | awk '/^\[boot\]/ { b = 1 } b && /^shell=/ { print tolower($0) }')" == *ludora.exe* ]] ||
      fail "system.ini's shell not put back"
  else
    expect_reg "HKCU\\$WINLOGON" Shell REG_SZ "\"$APP_WIN\\ludora.exe\""
  fi
}

# Under Explorer (a stand-in with its desktop and taskbar): none of it.
under_explorer() {
  session_prefix "explorer-$1" "$1"
  (cd "$E2E_DIR" && wine "$APP_WIN\\probe.exe" explorer) &
  wait_until 30 "Explorer's windows" test -f "$E2E_DIR/explorer.txt"
  machine_runonce
  start_ludora +timestamp,+process,+debugstr
  wait_until 30 "the decision" decided "a program under another shell"
  wait_until 60 "the service stops" bash -c "grep -aq 'cmdline L\"sc stop jtagserver\"' '$LOG'"
  ! grep -aqE 'traydock|ludora-watch|probe\.exe\\?"? [a-z]|startup\.exe' <(grep -a CreateProcessInternalW "$LOG") ||
    fail "started under Explorer: $(grep -a CreateProcessInternalW "$LOG" | grep -v 'sc stop')"
  [ ! -s "$APP_DIR/probe.log" ] || fail "startup programs ran under Explorer"
}

test_session_shell_xp() { session winxp; }
test_session_shell_98() { session win98; }
test_under_explorer_xp() { under_explorer winxp; }
test_under_explorer_98() { under_explorer win98; }
test_crash_loop_xp() { crash_loop winxp; }
test_crash_loop_98() { crash_loop win98; }

run_tests test_session_shell_xp test_session_shell_98 test_under_explorer_xp test_under_explorer_98 \
  test_crash_loop_xp test_crash_loop_98
