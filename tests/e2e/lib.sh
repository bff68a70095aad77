# End-to-end helpers: the real ludora.exe under Wine on a virtual X display.
# Every wait polls a condition with a timeout; nothing sleeps a fixed time.
# shellcheck shell=bash

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
E2E_WORK=${E2E_WORK:-$E2E_ROOT/build/e2e}
DIST=${DIST:-$E2E_ROOT/dist}
PROBE=${PROBE:-$E2E_ROOT/build/mingw/probe.exe}  # a stand-in game that logs how it started
APP_WIN='C:\Program Files\Corvane Ludora'
export WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installers
export WINEDEBUG=${WINEDEBUG:--all}

fail() {
  echo "    FAIL: $*" >&2
  [ -n "${E2E_DIR:-}" ] && [ -n "${DISPLAY:-}" ] && import -window root "$E2E_DIR/failure.png" 2>/dev/null
  exit 1
}

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

# ---- The display.

start_display() {
  local n
  for n in $(seq 91 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    E2E_XVFB_PID=$!
    export DISPLAY=":$n"
    wait_until 10 "Xvfb on :$n" xdotool getdisplaygeometry
    return 0
  done
  fail "no free X display"
}

stop_display() {
  [ -n "${E2E_XVFB_PID:-}" ] && kill "$E2E_XVFB_PID" 2>/dev/null
  true
}

# ---- Wine prefixes.

# A booted Windows XP prefix, made once per Wine version and copied per test.
template_prefix() {
  local template
  template="$E2E_WORK/template-$(wine --version | tr -c 'A-Za-z0-9.\n' '_')"
  if [ ! -f "$template/.ready" ]; then
    rm -rf "$template"
    WINEPREFIX=$template wineboot -i >/dev/null 2>&1
    WINEPREFIX=$template wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
    WINEPREFIX=$template wineserver -w
    # A new prefix links the user's folders to the Linux home: keep them inside.
    local folder
    for folder in "$template/drive_c/users/$(whoami)"/*; do
      if [ -L "$folder" ]; then
        rm "$folder"
        mkdir "$folder"
      fi
    done
    touch "$template/.ready"
  fi
  echo "$template"
}

# new_prefix <name> [winxp|win98]: a fresh copy with the application installed.
new_prefix() {
  local name=$1 version=${2:-winxp}
  E2E_DIR="$E2E_WORK/$name"
  rm -rf "$E2E_DIR"
  mkdir -p "$E2E_DIR"
  cp -a "$(template_prefix)" "$E2E_DIR/prefix"
  export WINEPREFIX="$E2E_DIR/prefix"
  APP_DIR="$WINEPREFIX/drive_c/Program Files/Corvane Ludora"
  mkdir -p "$APP_DIR"
  cp -a "$DIST/." "$APP_DIR/"
  if [ "$version" != winxp ]; then
    wine reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1
  fi
  LOG="$E2E_DIR/trace.log"
  : >"$LOG"
}

end_prefix() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  # The windows go with their processes: wait, so the next test sees none.
  local deadline=$((SECONDS + 10))
  while xdotool search --onlyvisible --class '\.exe' 2>/dev/null | grep -q . && ((SECONDS < deadline)); do
    sleep 0.1
  done
  true
}

# ---- The registry and system.ini, as Windows sees them.

# The values of a key, as `reg query` lists them: "name<TAB>TYPE<TAB>data",
# the default value with an empty name.
reg_values() {
  wine reg query "$1" 2>/dev/null | tr -d '\r' | awk -F '    ' '/^    / {
      n = tolower($2); if (n == "(default)") n = ""; print n "\t" $3 "\t" $4 }'
}

# expect_rows: reads "KEY|NAME|TYPE|DATA" lines (REG_DWORD data in decimal)
# and checks each value; "system.ini|SECTION|KEY|VALUE" lines check the
# profile file. Each key is read once.
expect_rows() {
  local key name type data got want
  declare -A cache=()
  while IFS='|' read -r key name type data; do
    [ -n "$key" ] || continue
    if [ "$key" = system.ini ]; then
      expect_ini "$name" "$type" "$data"
      continue
    fi
    [ -n "${cache[$key]+set}" ] || cache[$key]=$(reg_values "$key")
    got=$(awk -F '\t' -v n="${name,,}" '$1 == n { print $2 " " $3 }' <<<"${cache[$key]}")
    want="$type $data"
    [ "$type" = REG_DWORD ] && want=$(printf 'REG_DWORD 0x%x' "$data")
    [ "$got" = "$want" ] || fail "$key [$name]: got '$got', want '$want'"
  done
}

expect_reg() { echo "$1|$2|$3|$4" | expect_rows; }

# expect_absent <key> <name>: the value does not exist (yet).
expect_absent() {
  ! reg_values "$1" | awk -F '\t' -v n="${2,,}" '$1 == n { f = 1 } END { exit !f }' ||
    fail "$1 [$2] exists"
}

# The two memory figures for the total a 32-bit program is told: the
# machine's memory, at most 2 GiB - 1.
memory_figures() {
  awk '/^MemTotal:/ {
      total = $2 * 1024; if (total > 2147483647) total = 2147483647
      mb = int(total / 1048576 + 0.5); kb = int(total / 1024 + 0.5)
      x = kb * 16384000 / 523220; lock = int(x); frac = x - lock
      if (frac > 0.5 || (frac == 0.5 && lock % 2 == 1)) lock++
      print (mb > 180 ? 3 : 0), lock }' /proc/meminfo
}

# startup_rows <AlwaysUnloadDLL> <BrowseNewProcess>: the rows every start
# writes, as expect_rows lines; the switch to Ludora writes them again with
# its own data for these two.
startup_rows() {
  local prefetch pagelock pm='HKLM\System\CurrentControlSet\Control\Session Manager\Memory Management'
  read -r prefetch pagelock < <(memory_figures)
  cat <<EOF
HKLM\System\CurrentControlSet\Control\PriorityControl|IRQ8Priority|REG_DWORD|0
HKCU\Control Panel\Desktop|MenuShowDelay|REG_SZ|0
HKLM\System\CurrentControlSet\Control\WOW|DefaultSeparateVDM|REG_SZ|yes
HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer|MemCheckBoxInRunDlg|REG_DWORD|1
HKCU\Control Panel\Desktop|HungAppTimeout|REG_SZ|250
HKCU\Control Panel\Desktop|WaitToKillAppTimeout|REG_SZ|1000
HKLM\SYSTEM\CurrentControlSet\Control|WaitToKillService|REG_SZ|2000
HKLM\SYSTEM\CurrentControlSet\Control|WaitToKillServiceTimeout|REG_SZ|2000
system.ini|386Enh|MinSPs|256
HKU\.DEFAULT\control panel\desktop|LowLevelHooksTimeout|REG_SZ|1
HKCU\Control Panel\Desktop|AutoEndTasks|REG_SZ|1
HKCR\exefile\shell\open\Command||REG_SZ|"%1" %*
HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\explorer|AlwaysUnloadDLL|REG_SZ|$1
system.ini|386Enh|PageBuffers|32
system.ini|386Enh|MinTimeSlice|200
HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Usb|ErrorCheckingEnabled|REG_DWORD|0
system.ini|vcache|chunksize|1024
HKLM\System\CurrentControlSet\Services\Class\Usb\0000|IdleEnable|REG_DWORD|0
HKLM\System\CurrentControlSet\Control\PriorityControl|Win32PrioritySeparation|REG_DWORD|26
$pm\PrefetchParameters|EnablePrefetcher|REG_DWORD|$prefetch
HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\BrowseNewProcess|BrowseNewProcess|REG_SZ|$2
HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\BrowseNewProcess|BrowseNewProcess|REG_SZ|$2
$pm|DisablePagingExecutive|REG_DWORD|1
$pm|ContigFileAllocSize|REG_DWORD|4096
$pm|IoPageLockLimit|REG_DWORD|$pagelock
HKLM\System\CurrentControlSet\Services\i8042prt\Parameters|SampleRate|REG_DWORD|200
EOF
}

system_ini() { tr -d '\r' <"$WINEPREFIX/drive_c/windows/system.ini"; }

# expect_ini <section> <key> <value>
expect_ini() {
  local got
  got=$(system_ini | awk -v s="[$1]" -v k="$2" '
      /^\[/ { in_s = (tolower($0) == tolower(s)) }
      in_s && index($0, k "=") == 1 { print substr($0, length(k) + 2) }' | tail -1)
  [ "$got" = "$3" ] || fail "system.ini [$1] $2: got '$got', want '$3'"
}

# ---- The shell.

# start_ludora [trace channels]: starts the shell and waits for its bar.
start_ludora() {
  local channels=${1:--all}
  WINEDEBUG=$channels wine "$APP_WIN\\ludora.exe" >>"$E2E_DIR/ludora.out" 2>>"$LOG" &
  LUDORA_PID=$!
  wait_until 30 "the bar window" find_bar
}

# xdotool's search fails now and then when another window goes meanwhile: retried.
find_bar() { BAR=$(bar_window); }

# The bar of the shell this test started (an earlier test's may still be going).
bar_window() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Corvane Ludora ZR$' 2>/dev/null); do
    xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= $LUDORA_PID\$" && { echo "$id"; return 0; }
  done
  return 1
}

# window_geometry <id>: prints "x y width height".
window_geometry() {
  [ -n "$1" ] || return 1  # xwininfo would wait for a click instead
  xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
      /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

# The centre of a hot spot on the bar, in screen pixels (its visible part).
hotspot_x() {
  case $1 in
    Label6) echo 28 ;; Label1) echo 84 ;; Label2) echo 124 ;; Label3) echo 164 ;;
    Label4) echo 204 ;; Label5) echo 244 ;; Label7) echo 322 ;;
  esac
}

# Visible windows of other programs than the shell (larger than a tray icon).
other_windows() {
  local id w h
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= $LUDORA_PID\$" && continue
    read -r _ _ w h < <(window_geometry "$id")
    ((${w:-0} > 100 && ${h:-0} > 100 && ${w:-0} < 1024)) && echo "$id"
  done
  true
}

# Programs the shell started may open windows over the bar: raise it first.
click_hotspot() {
  xdotool windowraise "$BAR" 2>/dev/null
  xdotool mousemove "$(hotspot_x "$1")" 11 click 1
}

# The popup menu on screen: an unnamed window of the shell's at the point
# where the +menu trace says the last menu was tracked (tooltips are
# unnamed too, but open below the cursor).
menu_window() {
  local point id x y
  point=$(grep -a 'NtUserTrackPopupMenuEx' "$LOG" | tail -1 | sed -E 's/.*\(([0-9-]+),([0-9-]+)\).*/\1 \2/')
  [ -n "$point" ] || return 1
  for id in $(xdotool search --onlyvisible --pid "$LUDORA_PID" 2>/dev/null); do
    [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ] || continue
    read -r x y _ _ < <(window_geometry "$id")
    [ "$x $y" = "$point" ] && { echo "$id"; return 0; }
  done
  return 1
}

no_menu_window() { ! menu_window; }

open_quick_menu() {
  click_hotspot Label6
  wait_until 15 "the quick menu" menu_window
}

# The entries of the popup menus built for the last tracking, from the +menu
# trace: "<menu> <flags> <id> <text>" per line (handles and ids in lower-case
# hex without leading zeros). A menu is built right before it is tracked, so
# its entries are the inserts since the tracking before.
menu_inserts() {
  grep -a -E 'trace:menu:(InsertMenuW|NtUserTrackPopupMenuEx)' "$LOG" | awk '
      function hex(text) { sub(/^0x/, "", text); sub(/^0+/, "", text); return tolower(text) }
      /TrackPopupMenuEx/ { count = n; for (i = 1; i <= n; i++) done[i] = it[i]; n = 0; next }
      { h = $0; sub(/.*hMenu /, "", h); sub(/,.*/, "", h)
        f = $0; sub(/.*flags /, "", f); sub(/,.*/, "", f)
        id = $0; sub(/.*, id /, "", id); sub(/,.*/, "", id)
        t = $0; if (t ~ /str L"/) { sub(/.*str L"/, "", t); sub(/"$/, "", t) } else t = ""
        n++; it[n] = hex(h) " " f " " hex(id) " " t }
      END { for (i = 1; i <= count; i++) print done[i] }'
}

tracked_menu() {
  grep -a 'NtUserTrackPopupMenuEx' "$LOG" | tail -1 | sed -E 's/.*hmenu (0x)?0*([0-9a-fA-F]+).*/\2/' |
    tr 'A-F' 'a-f'
}

# The items of the last tracked menu: "<flags> <text>" per line.
tracked_menu_items() {
  local menu
  menu=$(tracked_menu)
  menu_inserts | awk -v m="$menu" '$1 == m { sub(/^[^ ]+ /, ""); f = $1; sub(/^[^ ]+ [^ ]+ ?/, ""); print f, $0 }'
}

# pick_menu_path <caption...>: in the open popup, walks down to each caption in
# turn (the menu skips separators, not other items), opening submenus with
# Right, and picks the last one with Return.
pick_menu_path() {
  local menu caption keys=() level=0
  menu=$(tracked_menu)
  for caption in "$@"; do
    local n=0 index=0 flags id text next=""
    while read -r _ flags id text; do
      (((16#$flags & 0x800) == 0)) || continue
      n=$((n + 1))
      if [ "$text" = "$caption" ]; then
        index=$n
        next=$id
        break
      fi
    done < <(menu_inserts | awk -v m="$menu" '$1 == m')
    ((index > 0)) || fail "no menu item '$caption'"
    # A submenu opened with Right starts on its first item already.
    local downs=$index
    ((level > 0)) && downs=$((index - 1))
    for ((i = 0; i < downs; i++)); do keys+=(Down); done
    menu=$next
    level=$((level + 1))
    [ "$level" -lt $# ] && keys+=(Right)
  done
  # Sent to the bar's window: without a window manager, a program the shell
  # started may hold the keyboard focus.
  xdotool key --window "$BAR" --delay 60 "${keys[@]}" Return 2>/dev/null
}

pick_menu_item() { pick_menu_path "$1"; }

# The shell's ShellExecuteA calls from the +exec trace: "file|parameters" per line.
shell_opens() {
  grep -a 'trace:exec:ShellExecuteA ' "$LOG" |
    sed -E 's/.*ShellExecuteA [0-9a-fA-F]+,[^,]*,"(.*)",(.*),(\(null\)|"[^"]*"),[0-9]+$/\1|\2/' |
    sed -E 's/\|"(.*)"$/|\1/; s/\|\(null\)$/|/; s/\\\\/\\/g'
}

# The command lines of the processes the shell started (+process trace).
started_commands() {
  grep -a 'trace:process:CreateProcessInternalW app' "$LOG" |
    sed -E 's/.*cmdline L"(.*)"$/\1/; s/\\\\/\\/g; s/\\"/"/g'
}

screenshot() { import -window root "$1"; }

# run_tests <function...>: each test in a subshell, a prefix of its own. The
# subshell is not run as a condition, so that `set -e` holds inside it.
run_tests() {
  local failed=0 t start status
  for t in "$@"; do
    start=$SECONDS
    # The prefix's wineserver ends with the test, whatever happens: a window
    # left behind would sit on top of the next test's bar.
    (
      set -e
      trap end_prefix EXIT
      "$t"
    )
    status=$?
    if ((status == 0)); then
      echo "  PASS $t ($((SECONDS - start))s)"
    else
      echo "  FAIL $t ($((SECONDS - start))s)"
      failed=1
    fi
  done
  return $failed
}
