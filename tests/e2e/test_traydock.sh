#!/usr/bin/env bash
# traydock.exe: a tray program's icons beside the bar, tips, clicks, changes, bad requests,
# TaskbarCreated, "Show Ludora System Tray", balloons; no start beside another tray host.
source "$(dirname "$0")/lib.sh"

tray_window() { named '^Corvane Ludora System Tray$'; }
client_log() { cat "$WINEPREFIX/drive_c/trayclient.log" 2>/dev/null; }
logged() { client_log | grep -qxF "$1"; }
client() { wine "$APP_WIN\\trayclient.exe" "$@"; }
tip_shown() { grep -aq "TOOLTIPS_Show.*L\"$1\"" "$LOG"; }
seen() { [ "$(client_log | grep -cxF "$2")" -ge "$1" ]; }  # seen <times> <line>
balloon() { named "^$1\$"; }                                # the balloon of that title
click_balloon() {  # click_balloon <title> <x from its right> <y>
  read -r x y w _ < <(window_geometry "$(balloon "$1")") && xdotool mousemove $((x + w - $2)) $((y + $3)) click 1
}
# text_calls <relay log> <program>: the user32 text functions the program called from its own
# image, not from a DLL it loaded.
text_calls() {
  local base form ret
  base=$((16#$("$OBJDUMP" -p "$2" | awk '/^ImageBase/ {print $2}')))
  grep -aoE 'Call user32\.(DrawText|SetWindowText)[AW]\(.*ret=[0-9a-f]+' "$1" |
    sed -E 's/^Call user32\.([A-Za-z]+)\(.*ret=/\1 /' | while read -r form ret; do
    ((16#$ret >= base && 16#$ret < base + 0x1000000)) && echo "$form"
  done | sort -u | tr '\n' ' '
}
hovering() { xdotool mousemove 300 5 mousemove_relative -- 1 0; "$@"; }  # the user is there

# shown_icons <count>: the strip shows that many of the client's red or green squares.
shown_icons() {
  local x y w h
  read -r x y w h < <(window_geometry "$(tray_window)") || return 1
  [ "$(import -window root -crop "${w}x$h+$x+$y" +repage png:- | convert png:- -fill black \
    -opaque white -fill white -opaque red -opaque lime -fill black +opaque white \
    -format '%[fx:int(mean*w*h+0.5)]' info:)" = $(($1 * 256)) ]
}

# at_slot <slot> [button]: the mouse on the icon in that place of the strip, clicking.
at_slot() {
  read -r x y _ < <(window_geometry "$(tray_window)")
  xdotool mousemove $((x + 11 + 22 * $1)) $((y + 11)) ${2:+click $2}
}

# Wine's own tray window, in every prefix, out of the way; an XP shell service object missing.
tray_prefix() {
  new_prefix "$1" "$2"
  cp "$TRAYCLIENT" "$PROBE" "$APP_DIR/"
  evict_wine_tray
  wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\ShellServiceObjectDelayLoad' \
    /v Missing /d '{0badc0de-0000-0000-0000-000000000000}' /f >/dev/null 2>&1
}

icons() {
  tray_prefix "traydock-$1" "$1"
  WINEDEBUG=+tooltips,+debugstr wine "$APP_WIN\\traydock.exe" 2>>"$LOG" &
  wine "$APP_WIN\\trayclient.exe" icon 1 0 Probe one &
  local first=$!
  wait_until 20 "the first icon" logged "1 add 0x1"
  client icon 2 3 Probe two &
  wait_until 20 "both icons in the strip" shown_icons 2
  at_slot 0
  wait_until 10 "the first icon's tip" tip_shown "Probe one"
  client tell 1 modify
  xdotool mousemove 600 400 && at_slot 0
  wait_until 10 "the changed tip" tip_shown "Probe one (modified)"
  # Clicks reach the owners; one of version 3 is also told NIN_SELECT and WM_CONTEXTMENU.
  at_slot 0 1
  wait_until 10 "the click at its owner" logged "1 callback 0x202"
  at_slot 1 3
  wait_until 10 "the right click at its owner" logged "2 callback 0x7b"
  at_slot 1 1
  wait_until 10 "NIN_SELECT" logged "2 callback 0x400"
  # Bad requests are refused; a sound one of Windows' own form is taken; the icons stay.
  client malformed
  [ "$(client_log | grep '^0 ' | tr '\n' '|')" = "0 cut-short 0|0 bad-size 0|0 bad-window 0|0 bad-icon 0|0 sound-add 0x1|0 sound-delete 0x1|" ] ||
    fail "answers: $(client_log | grep '^0 ')"
  shown_icons 2 || fail "the icons did not outlive the bad requests"
  client tell 2 delete
  wait_until 10 "the deleted icon gone" shown_icons 1
  kill -9 "$first"
  wait_until 10 "the icon of the program killed gone" shown_icons 0
}

# A program whose icon could not be added finds traydock through
# TaskbarCreated; traydock started hidden shows when the quick menu asks.
quick_menu() {
  tray_prefix "traydock-menu-$1" "$1"
  start_ludora +menu
  client icon 1 0 Probe one &
  wait_until 20 "the first try" logged "1 add 0"
  wine start /min "$APP_WIN\\traydock.exe"
  wait_until 20 "the icon added again" logged "1 add 0x1"
  logged "1 taskbar-created 0" && absent tray_window || fail "no TaskbarCreated, or a window shown"
  open_quick_menu "Show Ludora System Tray"
  wait_until 20 "the tray window" shown_icons 1
  read -r x y _ < <(window_geometry "$(tray_window)")
  [ "$x $y" = "343 0" ] || fail "the tray window is at $x,$y, not beside the bar"
  screenshot "$E2E_WORK/traydock.png"
  xdotool key --window "$(tray_window)" Escape
  wait_until 10 "the tray window to hide" absent tray_window
}

# Balloons under the bar's right end, the strip hidden: shown, clicked; held back by a full-screen
# game until it goes, a second program's waiting behind, 10 s counted while the mouse moves; closed;
# the game keeping the keyboard.
balloons() {
  tray_prefix "traydock-balloons-$1" "$1"
  start_ludora
  # The program first, then the tray, whose TaskbarCreated has it add its icon and say its
  # balloon: a program that came between the tray's window and its broadcast would add both
  # twice, the second time after the first balloon was clicked, as it would on Windows.
  client icon 1 0 'Probe one|Download complete|The file game.zip has been saved in your games folder.' &
  wait_until 20 "the program's first try" logged "1 add 0"
  # Windows 98 has DrawTextW and SetWindowTextW only as stubs that fail, Wine has them in 98
  # mode too: its relay trace tells which form the balloon's text took.
  wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /f \
    /d 'user32.DrawTextA;user32.DrawTextW;user32.SetWindowTextA;user32.SetWindowTextW' >/dev/null 2>&1
  WINEDEBUG=+relay,+timestamp,+debugstr wine start /min "$APP_WIN\\traydock.exe" 2>>"$E2E_DIR/relay.log"
  wait_until 30 "the balloon" balloon 'Download complete'
  local forms expected='DrawTextW SetWindowTextW '
  [ "$1" = win98 ] && expected='DrawTextA SetWindowTextA '
  forms=$(text_calls "$E2E_DIR/relay.log" "$DIST/traydock.exe")
  [ "$forms" = "$expected" ] || fail "the balloon's text on $1 through $forms"
  wait_until 10 "NIN_BALLOONSHOW" logged "1 callback 0x402"
  read -r x y w h < <(window_geometry "$(balloon 'Download complete')")
  ((x < 354 && x + w > 354 && y == 22 && w > 150)) || fail "the balloon is at $x,$y ${w}x$h"
  screenshot "$E2E_WORK/balloon-$1.png"
  click_balloon 'Download complete' 60 $((h - 12))
  wait_until 10 "NIN_BALLOONUSERCLICK" logged "1 callback 0x405"
  client tell 1 cover
  wait_until 10 "a game in front, over the whole screen" logged "1 cover 0x1"
  client tell 1 balloon
  client icon 2 3 'Probe two|New message|From the guild: raid at nine' &
  wait_until 20 "both balloons asked for" eval 'seen 2 "1 balloon 0x1" && logged "2 balloon 0x1"'
  client tell 1 front  # told after the requests' answers, a NIN_BALLOONSHOW would come first
  wait_until 10 "the game's answer" logged "1 front 0x1"
  ! seen 2 "1 callback 0x402" && ! logged "2 callback 0x402" && absent balloon 'Download complete' ||
    fail "a balloon over the game"
  client tell 1 shrink
  wait_until 20 "the balloon once the game left the screen" seen 2 "1 callback 0x402"
  local shown=$EPOCHREALTIME took
  ! logged "2 callback 0x402" || fail "the second balloon did not wait for the first"
  wait_until 60 "the first balloon to time out" hovering logged "1 callback 0x404"
  took=$(ms_since "$shown") && ((took > 9500 && took < 20000)) || fail "the first went after $took ms"
  wait_until 10 "the second balloon" logged "2 callback 0x402"
  wait_until 10 "the second balloon's close box" click_balloon 'New message' 17 33
  wait_until 10 "the close box's NIN_BALLOONTIMEOUT" logged "2 callback 0x404"
  client tell 1 front
  wait_until 10 "the game's answer with balloons shown and closed" seen 2 "1 front 0x1"
}

test_balloons_xp() { balloons winxp; }
test_balloons_98() { balloons win98; }
test_icons_xp() { icons winxp; }
test_icons_98() { icons win98; }
test_quick_menu_xp() { quick_menu winxp; }
test_quick_menu_98() { quick_menu win98; }

# Beside Wine's own tray, which takes the client's icon, traydock ends at once.
test_no_start_beside_another_tray() {
  new_prefix traydock-other && cp "$TRAYCLIENT" "$APP_DIR/"
  client icon 1 0 Probe &
  wait_until 20 "the icon in Wine's tray" logged "1 add 0x1"
  timeout 30 wine "$APP_WIN\\traydock.exe" && absent tray_window || fail "traydock ran beside Wine's tray"
}

run_tests test_no_start_beside_another_tray test_icons_xp test_icons_98 test_quick_menu_xp \
  test_quick_menu_98 test_balloons_xp test_balloons_98
