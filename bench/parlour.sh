#!/usr/bin/env bash
# The games room under Wine, in one prefix:
#  1. A library of 2,000 games (their programs Wine's own, with icons), and
#     an empty one: the time from starting parlour.exe to its window on
#     screen and painted (a tile and the footer in their colours, read from
#     the screen by painted.py, not only the window mapped), and its private
#     memory (Private_Clean + Private_Dirty of the Wine process in
#     /proc/PID/smaps: the pages only it holds; Wine's GetProcessMemoryInfo
#     takes its figures from the process's whole address space, DLLs shared
#     with other processes counted in) one second after, when the tiles in
#     view have their icons, and again after End took it to the last tile;
#     a bare window of the whole screen measured the same way beside it (Wine
#     keeps a window's picture in the process's own memory: 3 MiB for a
#     screen of 1024 x 768). Then the DLLs the room has loaded when its
#     window shows, and those that come in the 3 s after (WINEDEBUG=+loaddll).
#  2. A machine of 2,000 installed programs and 5,000 Start-menu shortcuts:
#     the full search for games against a bare walk of the same folders and
#     keys (parlour_bench.exe).
#   RUNS=n   starts of each program (default 5; BENCH_SMOKE=1: 1 start, and
#            one search of a machine a tenth the size, which tests the bench alone)
# Every wait has a time limit and says what it waited for.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/lib.sh"
RUNS=${RUNS:-5} PROGRAMS=2000 FOLDERS=250
[ -z "${BENCH_SMOKE:-}" ] || RUNS=1 PROGRAMS=200 FOLDERS=25
BARE_EXE=${BARE_EXE:-$E2E_BUILD/bench/bare_window.exe}
BENCH_EXE=${BENCH_EXE:-$E2E_BUILD/bench/parlour_bench.exe}
for exe in "$BARE_EXE" "$BENCH_EXE"; do [ -f "$exe" ] || fail "no $exe: build first (./dev bench)"; done

[ -n "${DISPLAY:-}" ] || start_display
trap 'end_prefix; stop_display' EXIT
new_prefix bench-parlour
cp "$BARE_EXE" "$BENCH_EXE" "$APP_DIR/"
timeout 60 wineserver -p || fail "wineserver did not start"
timeout 60 wine reg query 'HKCU\Software\Wine' >/dev/null 2>&1 || fail "wine did not answer"
C=$WINEPREFIX/drive_c

# ---- 1. The room with 2,000 games, and with none.
data="$C/users/$(whoami)/AppData/Roaming/Corvane/Ludora"
mkdir -p "$data"
# library <games>: the room's library file, written anew (the room's search adds to it).
library() {
  awk -v n="$1" 'BEGIN {
    split("winemine notepad regedit taskmgr winecfg wordpad explorer cmd control", exe, " ")
    printf "Corvane Ludora games room 1\r\n"
    for (i = 0; i < n; i++)
      printf "game\tGame %04d\tC:\\windows\\system32\\%s.exe\t\t\t\t\t%s\t-\t%d\t%d\t3\r\n",
        i, exe[i % 9 + 1], (i % 7 ? "" : "Arcade"), i * 60, (i % 3 ? 0 : 1700000000 + i)
    printf "end\t%d\r\n", n }' >"$data/Games Room.txt"
}

window_of() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 | grep .; }
no_window() { ! window_of "$1"; }
# A process's private memory in KiB: "<all> <DLLs and .so> <Wine's Unix heap> <the rest: Windows heaps, stacks>".
private_kib() {
  awk '/^[0-9a-f]+-[0-9a-f]+ / { kind = $6 ~ /\.(dll|drv|so|exe)$/ ? 2 : $6 == "[heap]" ? 3 : 4 }
       /^Private_(Clean|Dirty):/ { k[kind] += $2; k[1] += $2 }
       END { print k[1] + 0, k[2] + 0, k[3] + 0, k[4] + 0 }' "/proc/$1/smaps"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# What "painted" is, as points of the screen (1024 x 768) and their colours:
# the room's first tile (left at 50: six tiles of 144 and gaps of 12 in the
# middle; below the header of 72), plain or selected, and its footer, painted
# last; the bare window's class brush (Wine's window colour) in its corner.
room_painted="54,76=262c38/424e66 1021,765=262c38"
empty_painted="1021,765=262c38"
bare_painted="1021,765=ffffff"

# one_start <exe> <title> <painted> [arguments]: "<ms to visible and painted>
# <private KiB 1 s after: all DLLs heap rest> <all after End> <ms to visible>".
one_start() {
  local start id pid end kib last painted watch=$E2E_DIR/painted.out
  : >"$watch"
  timeout 40 python3 "$here/painted.py" 30 $3 >"$watch" 2>&1 &
  local watcher=$!
  wait_until 10 "painted.py to look at the screen" grep -q '^ready$' "$watch"
  start=$EPOCHREALTIME
  wine "$APP_WIN\\$1" ${4:-} >/dev/null 2>&1 &
  local launcher=$! deadline=$((SECONDS + 30))
  until id=$(window_of "$2"); do
    ((SECONDS < deadline)) || fail "timed out after 30s waiting for the window of $1"
    sleep 0.005
  done
  end=$EPOCHREALTIME
  wait "$watcher" || fail "the window of $1 was not painted: $(cat "$watch")"
  painted=$(sed -n 2p "$watch")
  pid=$(xprop -id "$id" _NET_WM_PID | awk '{print $NF}')
  sleep 1
  kib=$(private_kib "$pid")
  xdotool key --window "$id" End 2>/dev/null
  sleep 1
  last=$(private_kib "$pid" | cut -d' ' -f1)
  kill -9 "$pid" "$launcher" 2>/dev/null || true
  wait "$launcher" 2>/dev/null || true
  wait_until 30 "the window of $1 to go" no_window "$2"
  awk -v s="$start" -v e="$end" -v p="$painted" \
    'BEGIN { printf "%d ", ((p > e ? p : e) - s) * 1000 }'
  echo "$kib $last $(awk -v s="$start" -v e="$end" 'BEGIN { printf "%d", (e - s) * 1000 }')"
}

# Windows' desktop is there before any program: a window kept open holds
# Wine's, which the first window of a prefix would otherwise start.
wine notepad.exe >/dev/null 2>&1 &
wait_until 60 "a window holding the desktop" window_of 'Notepad'
room=() bare=() empty=()
title='^Corvane Ludora Games Room$'
library 2000
one_start parlour.exe "$title" "$room_painted" >/dev/null  # not counted: warm caches
for ((i = 0; i < RUNS; i++)); do
  library 2000
  room+=("$(one_start parlour.exe "$title" "$room_painted")")
  bare+=("$(one_start bare_window.exe '^Bare Window$' "$bare_painted" full)")
  library 0
  empty+=("$(one_start parlour.exe "$title" "$empty_painted")")
done
column() { printf '%s\n' "${@:2}" | cut -d' ' -f"$1" | median; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }
row() {  # row <caption> <column> <format: ms or mib>
  local r b e
  r=$(column "$2" "${room[@]}") b=$(column "$2" "${bare[@]}") e=$(column "$2" "${empty[@]}")
  if [ "$3" = ms ]; then
    printf '  %-36s %8d ms %8d ms %8d ms %8d ms %8d ms\n' "$1" "$r" "$e" "$b" $((r - b)) $((e - b))
  else
    printf '  %-36s %11s %11s %11s %11s %11s\n' "$1" "$(mib "$r")" "$(mib "$e")" "$(mib "$b")" \
      "$(mib $((r - b)))" "$(mib $((e - b)))"
  fi
}
echo "the games room under $(wine --version), the $E2E_ARCH build (median of $RUNS); $(uptime)"
printf '  %-36s %11s %11s %11s %11s %11s\n' "" "2,000 games" "no games" "bare window" \
  "2,000 - bare" "none - bare"
row "start to window visible and painted" 1 ms
row "  of it, to the window mapped" 7 ms
row "private memory 1 s after" 2 mib
row "  of it Wine's DLLs" 3 mib
row "  of it Wine's Unix heap (fonts, X)" 4 mib
row "  of it the Windows heaps and stacks" 5 mib
printf '  %-36s %11s\n' "after End, at the last tile" "$(mib "$(column 6 "${room[@]}")")"

# The DLLs the room has loaded by the time its window shows (2,000 games), and
# those that come after, in the first 3 seconds.
library 2000
dlls() { sed -n 's/.*Loaded L"[^"]*\\\([^"\\]*\)".*/\1/p' "$1" | tr 'A-Z' 'a-z' | tr '\n' ' '; }
WINEDEBUG=+loaddll wine "$APP_WIN\\parlour.exe" >/dev/null 2>"$E2E_DIR/loaddll.txt" &
launcher=$! deadline=$((SECONDS + 30))
until window_of "$title" >/dev/null; do
  ((SECONDS < deadline)) || fail "timed out after 30s waiting for the room's window"
  sleep 0.005
done
cp "$E2E_DIR/loaddll.txt" "$E2E_DIR/loaddll-shown.txt"
sleep 3
id=$(window_of "$title")
kill -9 "$(xprop -id "$id" _NET_WM_PID | awk '{print $NF}')" "$launcher" 2>/dev/null || true
wait "$launcher" 2>/dev/null || true
wait_until 30 "the room's window to go" no_window "$title"
# The room's own thread is the one that loaded parlour.exe; the search runs on another.
main=$(grep -m1 'parlour.exe' "$E2E_DIR/loaddll.txt" | cut -d: -f1)
grep "^$main:" "$E2E_DIR/loaddll-shown.txt" >"$E2E_DIR/loaddll-main.txt" || true
before=$(dlls "$E2E_DIR/loaddll-main.txt")
echo "  DLLs loaded by the room's thread when the window shows: $before" | fold -s -w 100
echo "  and after, by it and the search's thread, in the first 3 s:" \
  "$(grep -vxFf "$E2E_DIR/loaddll-main.txt" "$E2E_DIR/loaddll.txt" >"$E2E_DIR/loaddll-after.txt"
     dlls "$E2E_DIR/loaddll-after.txt")" | fold -s -w 100

# ---- 2. The search on a machine of 2,000 installed programs and 5,000 shortcuts
# (the smoke run: 200 and 500).
programs="$C/ProgramData/Microsoft/Windows/Start Menu/Programs"
python3 - "$programs" "$C" "$C/installed.reg" "$PROGRAMS" "$FOLDERS" <<'PY'
import os, struct, sys
programs, drive, reg = sys.argv[1:4]
count, folders = int(sys.argv[4]), int(sys.argv[5])
clsid = bytes.fromhex("0114020000000000c000000000000046")
def shortcut(path, target):  # a local target in LinkInfo, as the format lays it out
    header = struct.pack("<I16sII24xIiIHHII", 0x4C, clsid, 0x02, 0x20, 0, 0, 1, 0, 0, 0, 0)
    volume = struct.pack("<IIII", 0x11, 3, 0x1234, 0x10) + b"\0"
    base = 0x1C + len(volume); suffix = base + len(target) + 1
    info = struct.pack("<IIIIIII", suffix + 1, 0x1C, 1, 0x1C, base, 0, suffix)
    open(path, "wb").write(header + info + volume + target.encode() + b"\0\0" + struct.pack("<I", 0))
names = ["Play", "Uninstall", "Read me", "Editor", "Settings"]
for f in range(folders):  # folders of 20 shortcuts, some in a games folder
    folder = os.path.join(programs, "Games" if f % 5 == 0 else "", "Maker %03d" % f)
    os.makedirs(folder, exist_ok=True)
    for s in range(20):
        shortcut(os.path.join(folder, "%s %03d-%02d.lnk" % (names[s % 5], f, s)),
                 "C:\\Program Files\\Maker %03d\\app%02d.exe" % (f, s))
lines = ["REGEDIT4", ""]
key = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Program%04d"
for i in range(count):
    lines.append("[" + key % i + "]")
    lines.append('"DisplayName"="Program %04d"' % i)
    kind = i % 4
    if kind == 0:  # only an install folder, holding a program and its uninstaller
        folder = "C:\\Games\\Program %04d" % i
        os.makedirs(os.path.join(drive, folder[3:].replace("\\", "/")), exist_ok=True)
        for f in ("game.exe", "unins000.exe", "readme.txt"):
            open(os.path.join(drive, folder[3:].replace("\\", "/"), f), "w").close()
        lines.append('"InstallLocation"="%s"' % folder.replace("\\", "\\\\"))
    elif kind == 1:
        lines.append('"DisplayIcon"="\\"C:\\\\Program Files\\\\Vendor %04d\\\\prog.exe\\",0"' % i)
    elif kind == 2:
        lines.append('"DisplayIcon"="C:\\\\Program Files\\\\Maker %03d\\\\maker.ico"' % (i % folders))
        lines.append('"InstallLocation"="C:\\\\Program Files\\\\Maker %03d"' % (i % folders))
    else:
        lines.append('"UninstallString"="C:\\\\WINDOWS\\\\IsUninst.exe -f\\"C:\\\\x%04d.isu\\""' % i)
    lines.append("")
open(reg, "w", newline="\r\n").write("\n".join(lines) + "\n")
PY
timeout 300 wine regedit /S 'C:\installed.reg' >/dev/null 2>&1 ||
  fail "the installed programs could not be written"
reps=5
[ -z "${BENCH_SMOKE:-}" ] || reps=1
timeout "${BENCH_LIMIT:-900}" wine "$APP_WIN\\parlour_bench.exe" --reps "$reps" "$APP_WIN\\games" \
  >"$E2E_DIR/bench.out" 2>&1 || fail "parlour_bench failed: $(tail -3 "$E2E_DIR/bench.out")"
tr -d '\r' <"$E2E_DIR/bench.out"
