# The virtual display, Wine prefixes, and what is on screen.
# shellcheck shell=bash

start_display() {
  local n
  for n in $(seq 91 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    E2E_XVFB_PID=$!
    export DISPLAY=":$n"
    # Another Xvfb may take the number meanwhile: ours then ends, and the next is tried.
    wait_until 10 "Xvfb on :$n" bash -c "! kill -0 $E2E_XVFB_PID || xdotool getdisplaygeometry"
    kill -0 "$E2E_XVFB_PID" 2>/dev/null && return 0
  done
  fail "no free X display"
}

stop_display() { [ -z "${E2E_XVFB_PID:-}" ] || kill "$E2E_XVFB_PID" 2>/dev/null || true; }

# A booted Windows XP prefix, made once per Wine version and copied per test.
template_prefix() {
  local template
  template="$E2E_WORK/template-$WINEARCH-$(wine --version | tr -c 'A-Za-z0-9.\n' '_')"
  if [ ! -f "$template/.ready" ]; then
    rm -rf "$template"
    WINEPREFIX=$template wineboot -i >/dev/null 2>&1
    WINEPREFIX=$template wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
    WINEPREFIX=$template wineserver -w
    # A new prefix links the user's folders to the Linux home: keep them inside.
    find "$template/drive_c/users/$(whoami)" -maxdepth 1 -type l -exec sh -c 'rm "$1" && mkdir "$1"' _ {} \;
    touch "$template/.ready"
  fi
  echo "$template"
}

# The parts of a prefix that no test writes to, nine tenths of its 700 MB:
# Wine's own programs and libraries, fonts and tables. A test's prefix
# shares them with the template by hard links; everything else is its own.
SHARED_PREFIX_PARTS="drive_c/windows/system32 drive_c/windows/syswow64 drive_c/windows/winsxs
  drive_c/windows/Fonts drive_c/windows/globalization drive_c/windows/resources"

# new_prefix <name> [winxp|win98] [bare]: a fresh prefix from the template,
# with the application installed by hand (or not, with "bare").
new_prefix() {
  local name=$1 version=${2:-winxp} template part
  E2E_DIR="$E2E_WORK/$name"
  rm -rf "$E2E_DIR"
  mkdir -p "$E2E_DIR/prefix"
  template=$(template_prefix)
  (cd "$template" && tar -cf - ${SHARED_PREFIX_PARTS//drive_c/--exclude=./drive_c} .) |
    tar -xf - -C "$E2E_DIR/prefix"
  for part in $SHARED_PREFIX_PARTS; do
    [ ! -d "$template/$part" ] || cp -al "$template/$part" "$E2E_DIR/prefix/$part"
  done
  export WINEPREFIX="$E2E_DIR/prefix"
  APP_DIR="$WINEPREFIX/drive_c/Program Files/Corvane Ludora"
  [ "${3:-}" = bare ] || { mkdir -p "$APP_DIR" && cp -a "$DIST/." "$APP_DIR/"; }
  [ "$version" = winxp ] || wine reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1
  LOG="$E2E_DIR/trace.log"
  : >"$LOG"
}

# end_prefix [status]: ends the prefix's programs; a passed test's prefix
# goes (its traces and pictures stay), a failed one's is kept and named.
end_prefix() {
  local status=${1:-$?}
  [ -n "${WINEPREFIX:-}" ] || return 0
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  if [ "$status" = 0 ]; then
    rm -rf "$WINEPREFIX"
  else
    echo "    its prefix is kept in $WINEPREFIX" >&2
  fi
  # The windows go with their processes: wait, so the next test sees none.
  local deadline=$((SECONDS + 10))
  while xdotool search --onlyvisible --class '\.exe' 2>/dev/null | grep -q . && ((SECONDS < deadline)); do
    sleep 0.1
  done
  true
}

screenshot() { import -window root "$1"; }

# window_geometry <id>: prints "x y width height".
# named <title regex>: the visible window of that title; xdotool's search fails now and then while another window goes.
named() { for _ in 1 2 3; do xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 | grep . && return; sleep 0.1; done; false; }
window_geometry() {
  [ -n "$1" ] || return 1  # xwininfo would wait for a click instead
  xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
      /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}
