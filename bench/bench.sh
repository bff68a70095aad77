#!/usr/bin/env bash
# The folder-menu and defragmenter benchmarks: ludora_bench.exe under Wine,
# on two generated game trees inside the installed application folder.
#   LARGE: 10 x 10 x 10 folders, 10 files in each leaf: 10,000 files
#   SMALL:  2 x  2 x  5 folders, 10 files in each leaf:    200 files
# Each tree is the games folder of a stand-in application folder
# (...\Corvane Ludora\bench\large\games), so the bench opens it exactly as
# the games hot spot opens the real one. Extra arguments go to the bench
# (e.g. --breakdown, --reps 9). BENCH_SMOKE=1: one repetition, the small
# tree only. Every step has a time limit and says what it waited for.
# The bench and its wineserver share one CPU (BENCH_CPU, the last one by
# default; BENCH_CPU=any leaves them free): every Wine call that asks the
# server is a hand-over between the two, and across CPUs of a virtual
# machine that hand-over costs a wake-up of an idle CPU, which swings the
# figures two- to threefold with the load of the other CPUs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/lib.sh"
BENCH_EXE=${BENCH_EXE:-$E2E_BUILD/bench/ludora_bench.exe}
[ -f "$BENCH_EXE" ] || fail "no $BENCH_EXE: build first (./dev bench)"

# make_tree <folder> <fan-out per level...> <files per leaf>
make_tree() {
  local root=$1
  shift
  local counts=("$@")
  local files_per_leaf=${counts[-1]}
  unset 'counts[-1]'
  local level names=("Genre" "Series" "Edition" "Volume") folders=("$root") next folder i name
  for level in "${!counts[@]}"; do
    next=()
    for folder in "${folders[@]}"; do
      for ((i = 1; i <= counts[level]; i++)); do
        printf -v name '%s %02d' "${names[level]}" "$i"
        next+=("$folder/$name")
      done
    done
    folders=("${next[@]}")
  done
  mkdir -p "${folders[@]}"
  local number=0 paths=()
  for folder in "${folders[@]}"; do
    for ((i = 0; i < files_per_leaf; i++, number++)); do
      printf -v name 'Game Title %04d.lnk' "$number"
      paths+=("$folder/$name")
    done
  done
  printf '%s\0' "${paths[@]}" | xargs -0 touch
}

[ -n "${DISPLAY:-}" ] || start_display
trap 'end_prefix; stop_display' EXIT
new_prefix bench
trees=("SMALL=$APP_WIN\\bench\\small")
make_tree "$APP_DIR/bench/small/games" 2 2 5 10
if [ -n "${BENCH_SMOKE:-}" ]; then
  # One pass of everything, small: the bench itself is what is tested.
  set -- --reps 1 --total-phys 67108864 "$@"
else
  make_tree "$APP_DIR/bench/large/games" 10 10 10 10
  trees=("LARGE=$APP_WIN\\bench\\large" "${trees[@]}")
fi
cp "$BENCH_EXE" "$APP_DIR/bench/"
cpu=${BENCH_CPU:-$(($(nproc) - 1))}
pin=()
[ "$cpu" = any ] || pin=(taskset -c "$cpu")
echo "ludora_bench ($E2E_ARCH build) under $(wine --version), ${pin[*]:-no CPU pinning}"
timeout 60 "${pin[@]}" wineserver -p </dev/null >/dev/null 2>&1 ||
  fail "the wineserver did not start within 60 s"  # one server for the whole run
timeout "${BENCH_LIMIT:-900}" "${pin[@]}" wine "$APP_WIN\\bench\\ludora_bench.exe" "$@" \
  "${trees[@]}" >"$E2E_DIR/bench.out" ||
  fail "ludora_bench failed or ran past ${BENCH_LIMIT:-900} s: $(tr -d '\r' <"$E2E_DIR/bench.out" | tail -3)"
tr -d '\r' <"$E2E_DIR/bench.out"
