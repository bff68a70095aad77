#!/usr/bin/env bash
# parlour.exe, the games room: games of the games folder, the Start menu and the
# registry as tiles; a game started with Enter through the launcher, with its
# arguments, in its folder; play time of a game and of a launcher's child in
# another folder, also after the room was closed; a library another program
# holds is left as it was; the quick menu's item opens the room.
source "$(dirname "$0")/lib.sh"

room() { named '^Corvane Ludora Games Room$'; }
offers() { named '^Programs Found$'; }
library() { tr -d '\r' <"$(find "$WINEPREFIX/drive_c/users" -name 'Games Room.txt' | head -1)"; }
games() { [ "$(library | grep -c '^game')" = "$1" ]; }
# play_seconds <name>: the play time the library holds for the game.
play_seconds() { library | awk -F '\t' -v n="$1" '$1 == "game" && $2 == n { print $10 }'; }
played() { (($(play_seconds "$1") > 0)); }
drawn() { grep -aq "DrawTextExW L\"$1\"" "$LOG"; }
picture_shown() {
  (($(import -window root png:- | convert png:- -fuzz 8% -fill white -opaque '#00c0ff' -fuzz 0 -fill black \
    +opaque white -format '%[fx:int(mean*w*h+0.5)]' info:) == 112 * 84))
}
lines() { (($(wc -l <"$1" 2>/dev/null || echo 0) >= $2)); }

# shortcut <file> <target> <working folder> <arguments>: a shortcut as Windows
# writes one, laid out from the Shell Link Binary File Format: the header, a
# LinkInfo with the local base path, Unicode strings, the terminal block.
shortcut() {
  python3 - "$@" <<'PY'
import struct, sys
path, target, folder, arguments = sys.argv[1:5]
clsid = bytes.fromhex("0114020000000000c000000000000046")
flags = 0x02 | 0x10 | 0x20 | 0x80  # LinkInfo, working folder, arguments, Unicode
header = struct.pack("<I16sII24xIiIHHII", 0x4C, clsid, flags, 0x20, 0, 0, 1, 0, 0, 0, 0)
volume = struct.pack("<IIII", 0x11, 3, 0x1234, 0x10) + b"\0"
base = 0x1C + len(volume)
suffix = base + len(target) + 1
info = struct.pack("<IIIIIII", suffix + 1, 0x1C, 1, 0x1C, base, 0, suffix)
info += volume + target.encode("ascii") + b"\0\0"
text = lambda s: struct.pack("<H", len(s)) + s.encode("utf-16-le")
open(path, "wb").write(header + info + text(folder) + text(arguments) + struct.pack("<I", 0))
PY
}

test_room_finds_starts_and_records() {
  new_prefix parlour
  local c=$WINEPREFIX/drive_c programs
  programs="$c/ProgramData/Microsoft/Windows/Start Menu/Programs"
  mkdir -p "$c/Games/Arena" "$c/Games/Racer" "$c/Games/Launch" "$c/Games/Elsewhere" "$c/Tools/Paint" \
    "$programs/Games" "$programs/Tools"
  for game in Arena Racer Launch Elsewhere; do cp "$PROBE" "$c/Games/$game/probe.exe"; done
  convert -size 160x120 xc:'#00c0ff' -sampling-factor 1x1 "$c/Games/Arena/folder.jpg"  # a baseline JPEG
  cp "$PROBE" "$c/Tools/Paint/paint.exe"
  cp "$PROBE" "$APP_DIR/games/Space Probe.exe"
  shortcut "$APP_DIR/games/Probe Launcher.lnk" 'C:\Games\Launch\probe.exe' 'C:\Games\Launch' \
    'launch 5 C:\Games\Elsewhere\probe.exe'
  shortcut "$programs/Games/Probe Arena.lnk" 'C:\Games\Arena\probe.exe' 'C:\Games\Arena' '+map q3dm17 play 4'
  shortcut "$programs/Tools/Probe Paint.lnk" 'C:\Tools\Paint\paint.exe' 'C:\Tools\Paint' ''
  local key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ProbeRacer'
  wine reg add "$key" /v DisplayName /d 'Probe Racer' /f >/dev/null 2>&1
  wine reg add "$key" /v DisplayIcon /d '"C:\Games\Racer\probe.exe",0' /f >/dev/null 2>&1
  wine reg add "$key" /v InstallLocation /t REG_EXPAND_SZ /d '%SystemDrive%\Games\Racer' /f >/dev/null 2>&1

  WINEDEBUG=+text,+debugstr wine "$APP_WIN\\parlour.exe" >/dev/null 2>>"$LOG" &
  local pid=$!
  # The first search: games imported, the one other program offered.
  wait_until 90 "the programs found offered" offers
  xdotool key --window "$(offers)" alt+a
  wait_until 30 "six games in the library" games 6
  for name in "Space Probe" "Probe Launcher" "Probe Arena" "Probe Racer" "Probe Paint" Minesweeper; do
    wait_until 20 "the tile of $name" drawn "$name"
  done
  grep -a 'parlour: found' "$LOG" | tail -1 | sed 's/.*parlour: /    /; s/\\n"$//'
  # Arena's picture, scaled once to its tile's box of 112 x 84.
  wait_until 20 "the picture of Probe Arena" picture_shown
  screenshot "$E2E_DIR/room.png"
  cp "$E2E_DIR/room.png" "$E2E_WORK/parlour.png"

  # The search's message, posted by another program with a number in it, is
  # nothing to take: the room goes on.
  wine "$PROBE" post CorvaneLudoraGamesRoom $((0x8002)) 4660 || fail "no room to post to"
  # Enter starts the game typed, through the launcher (its high priority class), in its folder.
  xdotool type --window "$(room)" --delay 40 "probe arena"
  xdotool key --window "$(room)" Return
  wait_until 30 "the game started" test -s "$c/Games/Arena/probe.log"
  grep -q '|priority=128|cwd=C:\\Games\\Arena|cmdline="C:\\Games\\Arena\\probe.exe" +map q3dm17 play 4' \
    "$c/Games/Arena/probe.log" || fail "how the game started: $(cat "$c/Games/Arena/probe.log")"
  wait_until 60 "the play time of Probe Arena" played "Probe Arena"
  local seconds
  seconds=$(play_seconds "Probe Arena")
  ((seconds >= 3 && seconds <= 12)) || fail "Probe Arena ran 4 s, recorded $seconds s"

  # A launcher that starts the game in another folder and ends at once: the game's time,
  # recorded after the room closed.
  xdotool key --window "$(room)" Escape
  xdotool type --window "$(room)" --delay 40 "probe launcher"
  xdotool key --window "$(room)" Return
  wait_until 30 "the launcher's game" lines "$c/Games/Elsewhere/probe.log" 1
  xdotool key --window "$(room)" Escape Escape
  wait_until 20 "the room closed" absent room
  kill -0 "$pid" 2>/dev/null || fail "the room ended before the game did"
  wait_until 60 "the play time of Probe Launcher" played "Probe Launcher"
  seconds=$(play_seconds "Probe Launcher")
  ((seconds >= 4 && seconds <= 13)) || fail "the launcher's game ran 5 s, recorded $seconds s"
  wait_until 20 "the room to end after the game" absent kill -0 "$pid"
}

# A library another program holds (a virus scanner, say) when the room starts:
# it stays as it was through the search, and the room says why.
test_held_library_is_left_as_it_was() {
  new_prefix parlour-held
  local c=$WINEPREFIX/drive_c user data
  user=$(whoami) data="$c/users/$user/AppData/Roaming/Corvane/Ludora"
  mkdir -p "$data"
  printf 'Corvane Ludora games room 1\r\ngame\tKept\tC:\\kept.exe\t\t\t\t\t\t-\t3600\t1700000000\t5\r\nend\t1\r\n' \
    >"$data/Games Room.txt"
  cp "$data/Games Room.txt" "$E2E_DIR/library.before"
  cp "$PROBE" "$c/holder.exe"
  (cd "$c" && wine 'C:\holder.exe' hold "C:\users\\$user\AppData\Roaming\Corvane\Ludora\Games Room.txt" &)
  wait_until 20 "the library to be held" test -f "$c/held.txt"
  WINEDEBUG=+text wine "$APP_WIN\\parlour.exe" >/dev/null 2>>"$LOG" &
  wait_until 90 "the search's games in the room" drawn Minesweeper
  grep -aq 'DrawTextExW L"The games library could not be read (another program has it open)' "$LOG" ||
    fail "the room did not say why: $(grep -ao 'DrawTextExW L"The games[^"]*' "$LOG" | tail -1)"
  cmp -s "$data/Games Room.txt" "$E2E_DIR/library.before" || fail "the held library was written over"
  [ ! -e "$data/Games Room.txt.new" ] || fail "a new library was written beside the held one"
}

test_quick_menu_opens_the_room() {
  new_prefix parlour-menu
  start_ludora +menu
  open_quick_menu "Play Games in Games Room!"
  wait_until 60 "the games room" room
}

run_tests test_room_finds_starts_and_records test_held_library_is_left_as_it_was \
  test_quick_menu_opens_the_room
