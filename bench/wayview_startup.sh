#!/usr/bin/env bash
# wayview.exe against a bare window, under the same warm Wine, in one prefix,
# each started with the address of a loopback web server: the time from the
# start to the window on screen, the time from the start to the first request
# at the server, and the private memory (Private_Clean + Private_Dirty) of
# the process one second after its window showed, before any page (Wine has
# no engine to show one here). The bare window (bench/bare_request.cpp) shows
# an 800 x 600 window, then sends one GET through Winsock. Starts alternate;
# the times are given as the median and the best run, the best being the
# start least disturbed by whatever else the machine runs.
#   RUNS=n   starts of each program (default 9; BENCH_SMOKE=1: 1)
# Every wait has a time limit and says what it waited for.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/lib.sh"
export WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d;appwiz.cpl=d"  # as the frame's tests
RUNS=${RUNS:-9}
[ -z "${BENCH_SMOKE:-}" ] || RUNS=1
BARE_EXE=${BARE_EXE:-$E2E_BUILD/bench/bare_request.exe}
[ -f "$BARE_EXE" ] || fail "no $BARE_EXE: build first (./dev bench)"

[ -n "${DISPLAY:-}" ] || start_display
new_prefix bench-wayview
cp "$BARE_EXE" "$APP_DIR/bare_request.exe"
mkdir -p "$E2E_DIR/site"
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$E2E_DIR/site" >"$E2E_DIR/http.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; end_prefix; stop_display' EXIT
wait_until 20 "the web server" grep -q '^Serving HTTP' "$E2E_DIR/http.log"
SERVER="127.0.0.1:$(sed -nE 's/.* port ([0-9]+) .*/\1/p' "$E2E_DIR/http.log" | head -1)"
timeout 60 wineserver -p || fail "wineserver did not start"  # warm: wine's own start-up is not measured
timeout 60 wine reg query 'HKCU\Software\Wine' >/dev/null 2>&1 || fail "wine did not answer"

window_of() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 | grep .; }
no_window() { ! window_of "$1"; }
start=0

# until_ms <what> <command...>: polls every 5 ms for up to 60 s; ms since the start.
until_ms() {
  local what=$1 deadline=$((SECONDS + 60))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || fail "timed out after 60s waiting for $what"
    sleep 0.005
  done
  ms_since "$start"
}

# one_start <exe> <window title> <n>: "<ms to window> <ms to request> <private KiB>".
one_start() {
  local id pid shown asked kib path="/run-$1-$3"
  start=$EPOCHREALTIME
  wine "$APP_WIN\\$1" "$SERVER$path" >/dev/null 2>&1 &
  local launcher=$!
  shown=$(until_ms "the window of $1" window_of "$2")
  asked=$(until_ms "the request of $1" grep -q "GET $path " "$E2E_DIR/http.log")
  id=$(window_of "$2")
  pid=$(xprop -id "$id" _NET_WM_PID | awk '{print $NF}')
  sleep 1  # the memory is taken one second after the window showed
  kib=$(awk '/^Private_(Clean|Dirty):/ { s += $2 } END { print s }' "/proc/$pid/smaps_rollup")
  kill -9 "$pid" "$launcher" 2>/dev/null || true
  wait "$launcher" 2>/dev/null || true
  wait_until 30 "the window of $1 to go" no_window "$2"
  echo "$shown $asked $kib"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
best() { sort -n | head -1; }
# field <n> <statistic> <runs...>: the statistic of the runs' nth figure.
field() { printf '%s\n' "${@:3}" | cut -d' ' -f"$1" | "$2"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

one_start wayview.exe 'Wayview$' 0 >/dev/null  # once each, not counted: warm caches
one_start bare_request.exe '^Bare Request$' 0 >/dev/null
frame=() bare=()
for ((i = 1; i <= RUNS; i++)); do
  frame+=("$(one_start wayview.exe 'Wayview$' "$i")")
  bare+=("$(one_start bare_request.exe '^Bare Request$' "$i")")
done
echo "wayview start-up under $(wine --version), the $E2E_ARCH build, $RUNS runs each" \
  "(ms to window, ms to request, KiB: wayview $(printf '%s, ' "${frame[@]}")bare $(printf '%s, ' "${bare[@]}"))"
printf '  %-40s %17s %17s %13s\n' "" "wayview" "bare window" "ratio"
printf '  %-40s %8s %8s %8s %8s %6s %6s\n' "" median best median best median best
for row in "1 start to window shown (ms)" "2 start to first request at server (ms)"; do
  n=${row%% *} fm=$(field "$n" median "${frame[@]}") fb=$(field "$n" best "${frame[@]}")
  bm=$(field "$n" median "${bare[@]}") bb=$(field "$n" best "${bare[@]}")
  printf '  %-40s %8d %8d %8d %8d %6s %6s\n' "${row#* }" "$fm" "$fb" "$bm" "$bb" \
    "$(ratio "$fm" "$bm")" "$(ratio "$fb" "$bb")"
done
fm=$(field 3 median "${frame[@]}") bm=$(field 3 median "${bare[@]}")
printf '  %-40s %8.1f %8s %8.1f %8s %6s\n' "private memory before any page (MiB)" \
  "$(awk -v k="$fm" 'BEGIN { print k / 1024 }')" "" "$(awk -v k="$bm" 'BEGIN { print k / 1024 }')" "" \
  "$(ratio "$fm" "$bm")"
printf '  %-40s %8d bytes\n' "wayview.exe" "$(stat -c %s "$APP_DIR/wayview.exe")"
