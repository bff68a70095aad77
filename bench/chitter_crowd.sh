#!/usr/bin/env bash
# chitter.exe in a crowded channel: 2,000 members, then 500 lines a second
# for 10 seconds, from a server of the bench's own (chat_crowd_ircd.py).
# While the lines come: a click on a tab every 0.4 s, timed to the window's
# title naming the tab and to the switch finished (chitter's thread idle,
# nothing of its window left to paint: click_probe.cpp says how); chitter's private memory (Private_Clean +
# Private_Dirty of its Wine process) every click. After: the lines lost
# (the channel's log must hold every number once) and chitter's CPU time
# (user + system of its process) per 1,000 lines, as measured and less what
# the same clicks over the same time take before the lines come.
# First, one Tab press in channels of 2,000, 20,000 and 50,000 members
# (chitter_tab_bench.exe: the names offered and the completion).
#   BENCH_SMOKE=1: 200 members, 2 seconds; one press of each size.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/lib.sh"
USERS=2000 RATE=${RATE:-500} DURATION=10
[ -z "${BENCH_SMOKE:-}" ] || USERS=200 DURATION=2
LINES=$((RATE * DURATION))

[ -n "${DISPLAY:-}" ] || start_display
trap 'kill ${SERVER_PID:-} 2>/dev/null; end_prefix; stop_display' EXIT
new_prefix bench-chitter
cp "$E2E_BUILD/bench/chitter_tab_bench.exe" "$APP_DIR/"
wine "$APP_WIN\\chitter_tab_bench.exe" ${BENCH_SMOKE:+--reps 1} 2>/dev/null | tr -d '\r' ||
  fail "the Tab bench failed"
settings="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Corvane/Ludora/Chitter"
port=$(shuf -i 40001-50000 -n 1)
python3 "$here/chat_crowd_ircd.py" "$port" "$USERS" "$RATE" "$DURATION" $((DURATION + 8)) \
  >"$E2E_DIR/server.out" &
SERVER_PID=$!
cp "$E2E_BUILD/bench/click_probe.exe" "$APP_DIR/"
mkdir -p "$settings"
printf '%s\r\n' "[chitter]" "log=1" "[network Crowd]" "servers=127.0.0.1:$port" "channels=#crowd" \
  >"$settings/chitter.ini"
wine "$APP_WIN\\chitter.exe" >/dev/null 2>"$E2E_DIR/chitter.err" &
crowd_shown() { WINDOW=$(xdotool search --onlyvisible --name '^#crowd - Chitter$' 2>/dev/null | head -1) && [ -n "$WINDOW" ]; }
wait_until 60 "chitter in #crowd" crowd_shown
pid=$(xprop -id "$WINDOW" _NET_WM_PID | awk '{print $NF}')
started() { grep -q start "$E2E_DIR/server.out"; }
ended() { grep -q end "$E2E_DIR/server.out"; }
cpu() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
private_kib() { awk '/^Private_(Clean|Dirty):/ { s += $2 } END { print s }' "/proc/$pid/smaps_rollup"; }
# The tabs "Chitter", "Crowd", "#crowd" at the tab strip's left: click_probe.exe clicks the
# first and the last in turn, each timed from the click to the title naming the tab and to
# the switch finished; a line each, the two times in ms.
probe() {
  wine "$APP_WIN\\click_probe.exe" CorvaneLudoraChitter SysTabControl32 25 "Chitter - Chitter" 130 \
    "#crowd - Chitter" "$1" 400 | tr -d '\r'
}
clicks=$((DURATION * 1000 / 420))
# Before the lines come: what the clicks take anyway, and the CPU time meanwhile.
idle_before=$(cpu "$pid")
idle=$(probe "$clicks")
idle_cpu=$(($(cpu "$pid") - idle_before))
started || wait_until 60 "the lines to start" started
before=$(cpu "$pid")
probe "$clicks" >"$E2E_DIR/clicks" &
probing=$!
memory=()
while kill -0 "$probing" 2>/dev/null || ! ended; do
  memory+=("$(private_kib)")
  sleep 0.25
done
after=$(cpu "$pid")
done_shown() { cat "$settings/logs/Crowd/Crowd "*.log 2>/dev/null | grep -q crowd-done; }
wait_until 60 "the last line shown" done_shown
got=$(grep -aoE '<member[0-9]+> [0-9]+ ' "$settings/logs/Crowd/#crowd "*.log | awk '{ print $2 }' | sort -un | wc -l)
ticks=$(getconf CLK_TCK)
flood=$(cat "$E2E_DIR/clicks")
echo "chitter in a channel of $USERS members, $RATE lines a second for $DURATION s ($E2E_ARCH build, $(wine --version))"
echo "  (uptime: $(uptime))"
printf '  %-40s %d of %d\n' "lines shown and logged" "$got" "$LINES"
median() { sed -n "$((($(wc -l <<<"$1") + 1) / 2))p" <<<"$1"; }
# times <label> <clicks> <column>: the median and the slowest of one column.
times() {
  local sorted
  sorted=$(awk -v c="$3" '{ print $c }' <<<"$2" | sort -n)
  printf '  %-40s %d clicks: median %s ms, slowest %s ms\n' "$1" \
    "$(wc -l <<<"$sorted")" "$(median "$sorted")" "$(tail -1 <<<"$sorted")"
}
times "click on a tab to the title naming it" "$flood" 1
times "click on a tab to the switch finished" "$flood" 2
times "the same before the lines came: title" "$idle" 1
times "the same before the lines came: finished" "$idle" 2
printf '  %-40s %.1f MiB at most\n' "private memory during the lines" \
  "$(printf '%s\n' "${memory[@]}" | sort -n | tail -1 | awk '{ print $1 / 1024 }')"
per_thousand() { awk -v t="$1" -v k="$ticks" -v n="$LINES" 'BEGIN { printf "%.0f", t * 1000 / k / (n / 1000) }'; }
printf '  %-40s %s ms (%d ms in all; %d ms the same time before)\n' "CPU time per 1,000 lines" \
  "$(per_thousand $((after - before)))" "$(((after - before) * 1000 / ticks))" "$((idle_cpu * 1000 / ticks))"
printf '  %-40s %s ms\n' "the same, less the time before" "$(per_thousand $((after - before - idle_cpu)))"
((got == LINES)) || fail "lines were lost"
! grep -qw -- -1.0 "$E2E_DIR/clicks" || fail "a click went unanswered for 5 s"
true
