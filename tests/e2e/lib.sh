# End-to-end helpers: the real ludora.exe under Wine on a virtual X display.
# Every wait polls a condition with a timeout; nothing sleeps a fixed time.
# The display and prefixes, the registry, and the traces are in lib/.
# shellcheck shell=bash

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
E2E_WORK=${E2E_WORK:-$E2E_ROOT/build/e2e}
APP_WIN='C:\Program Files\Corvane Ludora'
# No Mono or Gecko installers; no menu entries in the Linux desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG=${WINEDEBUG:--all}

fail() {
  echo "    FAIL: $*" >&2
  [ -n "${E2E_DIR:-}" ] && [ -n "${DISPLAY:-}" ] && import -window root "$E2E_DIR/failure.png" 2>/dev/null
  exit 1
}

ms_since() { awk -v s="$1" -v e="$EPOCHREALTIME" 'BEGIN { printf "%d\n", (e - s) * 1000 }'; }

# wait_until <seconds> <description> <command...>: polls every 0.1 s.
wait_until() {
  local timeout=$1 what=$2
  shift 2
  local deadline=$((SECONDS + timeout))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || fail "timed out after ${timeout}s waiting for: $what"
    sleep 0.1
  done
}
absent() { ! "$@"; }  # for waits until something is gone

# prefix_processes <regex>: the processes of this test's prefix whose command
# line matches, one id a line; false when none. Other suites may run beside
# this one, each in prefixes of their own; a process that has ended and not
# yet been reaped has no environment left and is not counted.
prefix_processes() {
  local pid none=1
  for pid in $(pgrep -f "$1"); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
      echo "$pid" && none=0
  done
  return $none
}

source "$E2E_ROOT/tests/e2e/lib/target.sh"
decide_target && use_target || exit 1
source "$E2E_ROOT/tests/e2e/lib/display.sh"
source "$E2E_ROOT/tests/e2e/lib/registry.sh"
source "$E2E_ROOT/tests/e2e/lib/traces.sh"

# ---- The shell.

# start_ludora [trace channels] [path]: starts the shell and waits for its bar.
start_ludora() {
  local channels=${1:--all}
  WINEDEBUG=$channels wine "${2:-$APP_WIN\\ludora.exe}" >>"$E2E_DIR/ludora.out" 2>>"$LOG" &
  LUDORA_PID=$!
  wait_until 30 "the bar window" find_bar
}

# The bars on screen, "<window> <process>" per line; false when none.
# xdotool's search fails now and then when another window goes meanwhile:
# callers poll.
bars() {
  local id none=1
  for id in $(xdotool search --onlyvisible --name '^Corvane Ludora ZR$' 2>/dev/null); do
    echo "$id $(xprop -id "$id" _NET_WM_PID 2>/dev/null | awk '{print $NF}')" && none=0
  done
  return $none
}

# Wine's own tray window out of the way (probe.exe and trayclient.exe in the
# application folder). Wine's desktop process ends with the last program of
# the prefix and brings a new tray when it comes back: the probe, waiting
# for the log-on's ready event as a log-on would, keeps it meanwhile.
evict_wine_tray() {
  (cd "$E2E_DIR" && wine "$APP_WIN\\probe.exe" ready) &
  wait_until 30 "the log-on's ready event" test -f "$E2E_DIR/waiting.txt"
  wait_until 30 "Wine's own tray window out of the way" wine "$APP_WIN\\trayclient.exe" evict
}

# Sets BAR to the bar of the shell this test started (an earlier test's may
# still be going); any bar when the test did not start the shell itself.
find_bar() {
  BAR=$(bars | awk -v p="${LUDORA_PID:-}" 'p == "" || $2 == p { print $1; exit }')
  [ -n "$BAR" ]
}

# Clicks the middle of a hot spot's pixels on the bar: Label6 at its left
# end (-8 to 63, Label1 on top from 64), then Label1 to Label5, 40 pixels each.
# Programs the shell started may open windows over the bar: raised first.
declare -A HOTSPOT_X=([Label6]=30 [Label1]=85 [Label2]=125 [Label3]=165 [Label4]=205 [Label5]=245)
click_hotspot() {
  xdotool windowraise "$BAR" 2>/dev/null
  xdotool mousemove "${HOTSPOT_X[$1]}" 11 click 1
}

# The shell's unnamed windows on screen (menus, tooltips): "<id> <x> <y>
# <width> <height>" per line.
unnamed_windows() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$LUDORA_PID" 2>/dev/null); do
    [ -n "$(xdotool getwindowname "$id" 2>/dev/null)" ] || echo "$id $(window_geometry "$id")"
  done
}

# tooltip <awk condition>: an unnamed window of the shell's where the
# condition holds on its line above, the mouse resting (tooltips follow its moves).
tooltip() {
  xdotool mousemove_relative -- 1 0 mousemove_relative -- -1 0
  unnamed_windows | awk "$1 { f = 1 } END { exit !f }"
}

# The popup menu on screen: an unnamed window of the shell's at the point
# where the +menu trace says the last menu was tracked (tooltips are
# unnamed too, but open below the cursor).
menu_window() {
  local point
  point=$(grep -a 'NtUserTrackPopupMenuEx' "$LOG" | tail -1 | sed -E 's/.*\(([0-9-]+),([0-9-]+)\).*/\1 \2/')
  [ -n "$point" ] && unnamed_windows | awk -v p="$point" '$2 " " $3 == p { print $1; f = 1; exit } END { exit !f }'
}

# open_quick_menu [caption...]: opens the quick menu, and picks the path given.
open_quick_menu() {
  click_hotspot Label6
  wait_until 15 "the quick menu" menu_window
  [ $# -eq 0 ] || pick_menu_path "$@"
}

# pick_menu_path <caption...>: in the open popup, walks down to each caption in
# turn (the menu skips separators, not other items), opening submenus with
# Right, and picks the last one with Return.
pick_menu_path() {
  local menu caption index keys=() level=0
  menu=$(tracked_menu)
  for caption in "$@"; do
    # Its place among the items but separators (MF_SEPARATOR, 0x800), and its submenu.
    read -r index menu < <(menu_inserts | awk -v m="$menu" -v c="$caption" '
        $1 == m && substr($2, 6, 1) !~ /[89a-fA-F]/ { n++; t = $0; sub(/^[^ ]+ [^ ]+ [^ ]+ /, "", t)
          if (t == c) { print n, $3; exit } }') || fail "no menu item '$caption'"
    # A submenu opened with Right starts on its first item already.
    ((level++ == 0)) || index=$((index - 1))
    for ((i = 0; i < index; i++)); do keys+=(Down); done
    [ "$level" -lt $# ] && keys+=(Right)
  done
  # Sent to the bar's window: without a window manager, a program the shell
  # started may hold the keyboard focus.
  xdotool key --window "$BAR" --delay 60 "${keys[@]}" Return 2>/dev/null
}

# The shell-switch message boxes.
message_box() { named '^Corvane Ludora$'; }

# pick_switch <caption>: picks the item and waits for the message box.
pick_switch() {
  open_quick_menu "$1"
  wait_until 15 "the message box" message_box
}

close_message_box() {
  xdotool windowactivate --sync "$(message_box)" key Return 2>/dev/null ||
    xdotool key Return 2>/dev/null
  wait_until 10 "the message box to close" absent message_box
}

# run_tests <test...>: each in a subshell of its own, with a prefix of its
# own; E2E_ONLY=<regex> runs only the tests it matches. The subshell is not
# run as a condition, so that `set -e` holds inside it.
run_tests() {
  local failed=0 t start verdict
  for t in "$@"; do
    [[ "$t" =~ ${E2E_ONLY:-.} ]] || continue
    start=$SECONDS verdict=PASS
    # The prefix's wineserver ends with the test, whatever happens: a window
    # left behind would sit on top of the next test's bar.
    (set -e; trap end_prefix EXIT; "$t")
    (($? == 0)) || verdict=FAIL failed=1
    echo "  $verdict $t ($((SECONDS - start))s)"
    [ -z "${E2E_RESULTS:-}" ] || echo "$verdict $t $(basename "$0")" >>"$E2E_RESULTS"
  done
  return $failed
}
