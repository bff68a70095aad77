#!/usr/bin/env bash
# The shooter's drawing speed: pno0001.exe --bench under Wine draws its
# recorded run at 640 x 480 and shows each frame in its window, FRAMES frames
# (2000; BENCH_SMOKE=1: 200), and prints the frames per second; then the size
# of the shipped 32-bit program, which the build holds to 96 KB.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/lib.sh"
FRAMES=${FRAMES:-2000}
[ -z "${BENCH_SMOKE:-}" ] || FRAMES=200
[ -f "$DIST/pno0001.exe" ] || fail "no $DIST/pno0001.exe: build first (./dev bench)"

[ -n "${DISPLAY:-}" ] || start_display
trap 'end_prefix; stop_display' EXIT
new_prefix bench-pno0001
timeout 60 wineserver -p || fail "wineserver did not start"  # warm: Wine's own start is not measured
echo "pno0001.exe --bench ($E2E_ARCH build) under $(wine --version)"
timeout "${BENCH_LIMIT:-600}" wine "$APP_WIN\\pno0001.exe" --bench "$FRAMES" >"$E2E_DIR/bench.out" 2>/dev/null ||
  fail "pno0001.exe --bench failed or ran past ${BENCH_LIMIT:-600} s"
tr -d '\r' <"$E2E_DIR/bench.out"
grep -q 'frames per second' "$E2E_DIR/bench.out" || fail "no figure printed"
shipped=$E2E_ROOT/dist/pno0001.exe
[ -f "$shipped" ] && echo "dist/pno0001.exe (32-bit, shipped): $(stat -c %s "$shipped") bytes, at most 98304"
