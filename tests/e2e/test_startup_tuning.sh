#!/usr/bin/env bash
# The tuning every start applies: registry values, system.ini, service stops.
source "$(dirname "$0")/lib.sh"

SERVICES=(themes mdm wscsvc scardsvr scarddrv sharedaccess incdsrv umwdf shellhwdetection spooler
  wuauserv bits dmadmin dmserver dcomlaunch imapiservice xmlprov ntlmssp diskeeper CryptSvc Dnscache
  nla ProtectedStorage stisvc helpsvc seclogon tabletservice aspnet_state cisvc srservice jtagserver)

# The processes the server was asked to make for `sc stop`, in order, with
# their start-up flags and window: "sc stop <name> <flags> <show>".
service_stops() {
  grep -a 'new_process(' "$LOG" |
    sed -nE 's/.*,flags=([0-9a-f]+),show=([0-9a-f]+),.*cmdline=L"(sc stop [^"]*)".*/\3 \1 \2/p'
}
all_stops_made() { (($(service_stops | wc -l) >= 31)); }
SC_APP='CreateProcessInternalW app L"C:\\windows\\system32\\sc.exe"'

test_startup_rows_and_service_stops() {
  new_prefix startup
  # A launch redirect left behind by a shell that was killed: healed at
  # start. The wineserver starts here, tracing the processes it is asked for.
  WINEDEBUG=+server wine reg add 'HKCR\exefile\shell\open\Command' /ve \
    /d "\"$APP_WIN\\sparkrun.exe\" \"%1\"" /f >/dev/null 2>>"$LOG"
  start_ludora +process,+win,+menu
  # Clicked the moment it shows, the bar answers at once: the stops are
  # made on a thread of their own (each takes Wine 30 to 170 ms to create).
  open_quick_menu
  xdotool key --window "$BAR" Escape
  wait_until 30 "31 sc stop processes" all_stops_made
  local menu last
  menu=$(grep -an 'NtUserTrackPopupMenuEx' "$LOG" | head -1 | cut -d: -f1)
  # Each by Windows' own sc.exe, never one found beside Ludora.
  last=$(grep -anF "$SC_APP cmdline L\"sc stop jtagserver\"" "$LOG" | cut -d: -f1)
  ((menu < last)) || fail "the quick menu waited for the service stops"
  startup_rows | expect_rows
  # All 31 in their order, hidden (STARTF_USESHOWWINDOW, SW_HIDE)...
  [ "$(service_stops)" = "$(printf 'sc stop %s 1 0\n' "${SERVICES[@]}")" ] ||
    fail "sc stop processes differ: $(service_stops | diff - <(printf 'sc stop %s 1 0\n' "${SERVICES[@]}"))"
  # ...and only once the bar is on screen: its window is shown before the
  # first of them is started.
  local first shown
  first=$(grep -anF "$SC_APP cmdline L\"sc stop themes\"" "$LOG" | head -1)
  shown=$(grep -an "trace:win:show_window hwnd=[^,]*, cmd=1," "$LOG" | head -1 | cut -d: -f1)
  [ -n "$shown" ] && ((shown < ${first%%:*})) || fail "the bar was not shown before the first sc stop"
}

run_tests test_startup_rows_and_service_stops
