#!/usr/bin/env bash
# Ludora against a bare window, under the same warm Wine, in one prefix:
# the time from starting the program to its window being on screen, and
# the program's private memory one second after that (Private_Clean +
# Private_Dirty of its Wine process). Starts alternate between the two
# programs, first with sc.exe in the prefix (the shell's 31 `sc stop`
# commands run), then without it (each of them fails at the path search).
# Then the time to interactive: a click on the quick-menu hot spot the
# moment the bar is visible (sc.exe present), against the same click once
# the start's work is done, each timed to the menu on screen.
#   RUNS=n   starts of each program in each case (default 9; BENCH_SMOKE=1: 1)
#   LUDORA_EXE=<path>   another build of ludora.exe to measure
# Every wait has a time limit and says what it waited for.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/lib.sh"
RUNS=${RUNS:-9}
[ -z "${BENCH_SMOKE:-}" ] || RUNS=1
BARE_EXE=${BARE_EXE:-$E2E_BUILD/bench/bare_window.exe}
[ -f "$BARE_EXE" ] || fail "no $BARE_EXE: build first (./dev bench)"

[ -n "${DISPLAY:-}" ] || start_display
trap 'end_prefix; stop_display' EXIT
new_prefix bench-startup
cp "$BARE_EXE" "$APP_DIR/bare_window.exe"
[ -z "${LUDORA_EXE:-}" ] || cp "$LUDORA_EXE" "$APP_DIR/ludora.exe"
timeout 60 wineserver -p || fail "wineserver did not start"  # warm: wine's own start-up is not measured
timeout 60 wine reg query 'HKCU\Software\Wine' >/dev/null 2>&1 || fail "wine did not answer"
SC="$WINEPREFIX/drive_c/windows/system32/sc.exe"

window_of() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 | grep .; }
no_window() { ! window_of "$1"; }
# No `sc stop` (or its console) of an earlier start is still running.
quiet() { ! ps -eo args | grep -qE '^C:.*\\(sc|conhost)\.exe'; }
stops_made() { (($(grep -aEc 'CreateProcessInternalW app .* cmdline L"sc stop' "$1") >= 31)); }

# one_start <exe> <window title>: "<ms to visible> <private KiB>"; then the program ends.
one_start() {
  local start=$EPOCHREALTIME id pid kib
  wine "$APP_WIN\\$1" >/dev/null 2>&1 &
  local launcher=$!
  local deadline=$((SECONDS + 30))
  until id=$(window_of "$2"); do
    ((SECONDS < deadline)) || fail "timed out after 30s waiting for the window of $1"
    sleep 0.005
  done
  local end=$EPOCHREALTIME
  pid=$(xprop -id "$id" _NET_WM_PID | awk '{print $NF}')
  sleep 1  # the memory is taken one second after the window is visible
  kib=$(awk '/^Private_(Clean|Dirty):/ { s += $2 } END { print s }' "/proc/$pid/smaps_rollup")
  kill -9 "$pid" "$launcher" 2>/dev/null || true
  wait "$launcher" 2>/dev/null || true
  wait_until 30 "the window of $1 to go" no_window "$2"
  wait_until 60 "the service stops of the start to end" quiet
  awk -v s="$start" -v e="$end" -v k="$kib" 'BEGIN { printf "%d %d\n", (e - s) * 1000, k }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# The quick menu: a window of the shell's far taller than the bar or a tooltip.
menu_of() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    read -r _ _ _ h < <(window_geometry "$id")
    ((h > 100)) && return 0
  done
  return 1
}

# one_click <first|idle>: ms from a click on the quick-menu hot spot to the menu.
one_click() {
  local id pid start end x
  x=${HOTSPOT_X[Label6]}
  # Idle: the processes it makes are traced, to know when all 31 stops were made.
  local trace=/dev/null channels=-all
  [ "$1" = first ] || { trace=$E2E_DIR/click.trace channels=+process; }
  : >"$trace"
  WINEDEBUG=$channels wine "$APP_WIN\\ludora.exe" >/dev/null 2>"$trace" &
  local launcher=$! deadline=$((SECONDS + 30))
  until id=$(window_of '^Corvane Ludora ZR$'); do
    ((SECONDS < deadline)) || fail "timed out after 30s waiting for the bar"
    sleep 0.005
  done
  pid=$(xprop -id "$id" _NET_WM_PID | awk '{print $NF}')
  if [ "$1" = idle ]; then
    wait_until 60 "the 31 service stops to be made" stops_made "$trace"
    wait_until 60 "the service stops of the start to end" quiet
  fi
  start=$EPOCHREALTIME
  xdotool mousemove "$x" 11 click 1
  deadline=$((SECONDS + 60))
  until menu_of "$pid"; do
    ((SECONDS < deadline)) || fail "timed out after 60s waiting for the quick menu"
    sleep 0.002
  done
  end=$EPOCHREALTIME
  xdotool key Escape
  kill -9 "$pid" "$launcher" 2>/dev/null || true
  wait "$launcher" 2>/dev/null || true
  wait_until 30 "the bar to go" no_window '^Corvane Ludora ZR$'
  wait_until 60 "the service stops of the start to end" quiet
  xdotool mousemove 600 600  # off the bar, so no tooltip waits there for the next start
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%d\n", (e - s) * 1000 }'
}

clicks() {
  local i first=() idle=()
  for ((i = 0; i < RUNS; i++)); do
    first+=("$(one_click first)")
    idle+=("$(one_click idle)")
  done
  local f d
  f=$(printf '%s\n' "${first[@]}" | median)
  d=$(printf '%s\n' "${idle[@]}" | median)
  echo "time to interactive, sc.exe present (median of $RUNS; runs: first $(printf '%s ' "${first[@]}")ms, idle $(printf '%s ' "${idle[@]}")ms)"
  printf '  %-30s %7d ms\n  %-30s %7d ms   ratio %.2f\n' "first click, bar just visible" "$f" \
    "same click, shell idle" "$d" "$(awk -v a="$f" -v b="$d" 'BEGIN { print a / (b > 0 ? b : 1) }')"
}

# measure <case>: alternates the two programs RUNS times and prints a table.
measure() {
  local i ludora=() bare=()
  one_start ludora.exe '^Corvane Ludora ZR$' >/dev/null  # once each, not counted: warm caches
  one_start bare_window.exe '^Bare Window$' >/dev/null
  for ((i = 0; i < RUNS; i++)); do
    ludora+=("$(one_start ludora.exe '^Corvane Ludora ZR$')")
    bare+=("$(one_start bare_window.exe '^Bare Window$')")
  done
  local lt lm bt bm
  lt=$(printf '%s\n' "${ludora[@]}" | cut -d' ' -f1 | median)
  lm=$(printf '%s\n' "${ludora[@]}" | cut -d' ' -f2 | median)
  bt=$(printf '%s\n' "${bare[@]}" | cut -d' ' -f1 | median)
  bm=$(printf '%s\n' "${bare[@]}" | cut -d' ' -f2 | median)
  echo "$1 (median of $RUNS; runs: Ludora $(printf '%s\n' "${ludora[@]}" | cut -d' ' -f1 | tr '\n' ' ')ms, bare $(printf '%s\n' "${bare[@]}" | cut -d' ' -f1 | tr '\n' ' ')ms)"
  printf '  %-30s %10s %12s\n' "" "Ludora" "bare window" 
  printf '  %-30s %7d ms %9d ms   ratio %.2f\n' "start to window visible" "$lt" "$bt" \
    "$(awk -v a="$lt" -v b="$bt" 'BEGIN { print a / b }')"
  printf '  %-30s %6.1f MiB %8.1f MiB   ratio %.2f\n' "private memory after 1 s" \
    "$(awk -v k="$lm" 'BEGIN { print k / 1024 }')" "$(awk -v k="$bm" 'BEGIN { print k / 1024 }')" \
    "$(awk -v a="$lm" -v b="$bm" 'BEGIN { print a / b }')"
}

echo "start-up under $(wine --version), the $E2E_ARCH build"
measure "with sc.exe (the 31 service stops run)"
mv "$SC" "$SC.away"
measure "without sc.exe"
mv "$SC.away" "$SC"
clicks
printf '  %-30s %7d bytes\n' "ludora.exe" "$(stat -c %s "$APP_DIR/ludora.exe")"
