#!/usr/bin/env bash
# pno0001.exe, the quick menu's shooter: started as the shell starts it (XP: a hidden
# CMD /C START at the high priority class; 98: shell open), a frame of play on screen,
# the pause menu and Quit, full screen and back, the player's file, a damaged one.
source "$(dirname "$0")/lib.sh"

ITEM="Play .kkrieger first person shooter!"
GAME="$APP_WIN\\pno0001.exe"
game_window() { named '^Corvane Ludora Shooter$'; }
said() { grep -aqF "pno0001: $1" "$LOG"; }
opened() { shell_opens | grep -qxF "$1|"; }
player_file() { echo "$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Corvane/Ludora/pno0001.ini"; }

# pixels_of <#rrggbb> <x> <y> <width> <height>: how many pixels of the
# screen's rectangle are exactly that colour.
pixels_of() {
  import -window root -crop "$4x$5+$2+$3" +repage png:- | convert png:- -fill white -opaque "$1" \
    -fill black +opaque white -format '%[fx:int(mean*w*h+0.5)]' info:
}
# The status bar's colour fills most of the picture's bottom eighth, and the
# view above it is textured.
frame_shown() {
  local x y w h bar
  read -r x y w h < <(window_geometry "$(game_window)") || return 1
  bar=$((h / 8 - 4))
  (($(pixels_of '#1C2430' "$x" $((y + h - bar)) "$w" "$bar") * 10 > 6 * w * bar)) &&
    (($(import -window root -crop "${w}x$((h * 3 / 4))+$x+$y" +repage png:- | convert png:- -format %k info:) > 200))
}
# The menu's frame: a box of 140 x 100 glyph pixels, outlined in its colour.
menu_shown() {
  local x y w h
  read -r x y w h < <(window_geometry "$(game_window)") || return 1
  (($(pixels_of '#80C0FF' "$x" "$y" "$w" "$h") >= 400))
}
covers_screen() {
  [ "$(window_geometry "$(game_window)")" = "0 0 $(xdotool getdisplaygeometry)" ]
}
in_window() {
  read -r _ _ w h < <(window_geometry "$(game_window)") && [ "$w $h" = "640 480" ]
}

# Esc shows the menu, Down and Return pick Quit, and the game's process ends.
quit_from_menu() {
  local window pid
  window=$(game_window)
  pid=$(xprop -id "$window" _NET_WM_PID | awk '{print $NF}')
  xdotool key --window "$window" Escape
  wait_until 20 "the pause menu" menu_shown
  said "paused, menu shown" || fail "no pause traced"
  screenshot "$E2E_DIR/menu.png"
  xdotool key --window "$window" --delay 100 Down Return
  wait_until 30 "the game's process to end" absent kill -0 "$pid"
  said quit || fail "ended, but not by Quit"
}

test_pno0001_on_xp_starts_at_high_priority_and_quits_from_its_menu() {
  # Only what Windows 98 ships, and less than the shell's other programs need.
  local dlls
  dlls=$("$OBJDUMP" -p "$DIST/pno0001.exe" | awk '/DLL Name:/ {print tolower($3)}' | sort | tr '\n' ' ')
  [ "$dlls" = "gdi32.dll kernel32.dll msvcrt.dll user32.dll winmm.dll " ] || fail "pno0001.exe imports $dlls"
  new_prefix pno0001-xp
  start_ludora +menu,+process,+debugstr
  open_quick_menu "$ITEM"
  # The command line as the shell wrote it, whichever CMD runs it.
  wait_until 30 "the hidden START" grep -aqF \
    'cmdline L"CMD /C START \"High\" /high \"C:\\Program Files\\Corvane Ludora\\pno0001.exe\""' "$LOG"
  wait_until 60 "the game's window" game_window
  # START asks CreateProcess for the high priority class (0x80), and Windows starts the
  # game in it; Wine ignores the class, says so, and the game tells a debugger it runs
  # in the normal one (0x20).
  wait_until 30 "the game's start traced" said "started"
  local class asked
  class=$(grep -a 'pno0001: started, priority class' "$LOG" | sed -E 's/.*class (0x[0-9a-f]+).*/\1/')
  asked=$(grep -aF 'pno0001.exe",...): ignoring some flags in ' "$LOG" | sed -E 's/.* in ([0-9a-f]+)$/0x\1/')
  [ "$class" = 0x80 ] || { [ "$class" = 0x20 ] && ((${asked:-0} & 0x80)); } ||
    fail "the game runs in class $class, started with flags ${asked:-unknown}"
  wait_until 30 "a frame with the view and the status bar" frame_shown
  screenshot "$E2E_DIR/level.png"
  quit_from_menu
}

test_pno0001_on_98_opens_by_shell_with_a_damaged_file_and_goes_full_screen() {
  new_prefix pno0001-98 win98
  mkdir -p "$(dirname "$(player_file)")"
  printf '[pno0001]\r\nbest=12\x01\xff\r\nfullscreen=7\r\n' >"$(player_file)"
  start_ludora +menu,+exec,+debugstr
  open_quick_menu "$ITEM"
  wait_until 30 "the shell open" opened "$GAME"
  wait_until 60 "the game's window" game_window
  wait_until 30 "a frame with the view and the status bar" frame_shown
  in_window || fail "not a 640 x 480 window: $(window_geometry "$(game_window)")"
  # Alt+Enter: the whole screen (at 640 x 480 where the display takes it, else stretched).
  xdotool key --window "$(game_window)" alt+Return
  wait_until 20 "the game over the whole screen" covers_screen
  said "full screen at" || fail "no full screen traced"
  wait_until 30 "a frame full screen" frame_shown
  xdotool key --window "$(game_window)" alt+Return
  wait_until 20 "the window back" in_window
  xdotool key --window "$(game_window)" alt+Return
  wait_until 20 "the whole screen again" covers_screen
  quit_from_menu
  # The damaged file replaced by a sound one, which remembers the full screen.
  [ "$(cat "$(player_file)")" = $'[pno0001]\r\nbest=0\r\nfullscreen=1\r' ] ||
    fail "player file: $(od -c "$(player_file)" | head -5)"
  [ ! -e "$(player_file).new" ] || fail "the new file was left beside the old"
}

# The benchmark replays its recorded run in the Windows build to the very state the
# portable code reaches on Linux: the simulation is the same to the bit on both.
test_pno0001_bench_replays_its_run_as_the_linux_build_does() {
  new_prefix pno0001-bench
  local out want
  out=$(timeout 120 wine "$GAME" --bench 1500 2>/dev/null | tr -d '\r') || fail "--bench failed"
  want=$("$E2E_ROOT/build/host/tests/pno0001_replay" 1500)
  [[ $out == *"frames per second"*"end state $want"* ]] || fail "bench: '$out', Linux: $want"
}

run_tests test_pno0001_on_xp_starts_at_high_priority_and_quits_from_its_menu \
  test_pno0001_on_98_opens_by_shell_with_a_damaged_file_and_goes_full_screen \
  test_pno0001_bench_replays_its_run_as_the_linux_build_does
