#!/usr/bin/env bash
# Time from starting ludora.exe to its bar being on screen, under Wine, with
# the 31 `sc stop` commands and without them (sc.exe taken out of the
# prefix, so each CreateProcess fails at the path search). Median of runs
# taken in turn; the wineserver stays up between runs.
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/lib.sh"
RUNS=${RUNS:-7}

[ -n "${DISPLAY:-}" ] || { start_display; trap stop_display EXIT; }
new_prefix bench-startup
trap 'end_prefix; stop_display' EXIT
wineserver -p  # a warm server: wine's own start-up is not what is measured
wine reg query 'HKCU\Software\Wine' >/dev/null 2>&1
SC="$WINEPREFIX/drive_c/windows/system32/sc.exe"

# One start: milliseconds until the bar is visible; then the shell ends.
one_start() {
  local start=$EPOCHREALTIME
  wine "$APP_WIN\\ludora.exe" >/dev/null 2>&1 &
  local pid=$!
  until bar_window >/dev/null; do sleep 0.005; done
  local end=$EPOCHREALTIME
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
  while bar_window >/dev/null; do sleep 0.01; done
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%d\n", (e - s) * 1000 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

with=() without=()
for ((i = 0; i < RUNS; i++)); do
  with+=("$(one_start)")
  mv "$SC" "$SC.away"
  without+=("$(one_start)")
  mv "$SC.away" "$SC"
done
printf '%-34s %8s   %s\n' "start to bar visible (Wine)" "median" "runs (ms)"
printf '%-34s %6s ms   %s\n' "with the 31 sc stop commands" \
  "$(printf '%s\n' "${with[@]}" | median)" "${with[*]}"
printf '%-34s %6s ms   %s\n' "without them (no sc.exe)" \
  "$(printf '%s\n' "${without[@]}" | median)" "${without[*]}"
