#!/usr/bin/env bash
# lobbyfind.exe against real peers on 127.0.0.1: Debian's ioquake3 server, a master that
# checks its heartbeat, A2S servers with and without the challenge (the one with it sends
# its players split in two pieces), a hostile one; read back from the window's title (the
# selected server's summary, the view's progress) and its players' pane, and compared
# with quakestat's reading; favourites across a restart; the join.
source "$(dirname "$0")/lib.sh"
PEERS="$E2E_ROOT/tests/e2e/lobbyfind/peers.py"

browser() { named '^Corvane Ludora Server Browser'; }
title() { xdotool getwindowname "$(browser)" 2>/dev/null; }
titled() { title | grep -qE "$1"; }
key() { xdotool key --window "$(browser)" --delay 80 "$@" 2>/dev/null; }
# A free UDP port of 127.0.0.1 in a range.
free_port() { python3 -c "
import socket, sys
for p in range($1, $2 + 1):
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    try: s.bind(('127.0.0.1', p)); print(p); break
    except OSError: pass
    finally: s.close()"; }
# background <command...>: a peer, ended by PID with the test.
background() { "$@" >>"$E2E_DIR/peers.out" 2>&1 & PEER_PIDS+=($!); }
end_peers() { [ ${#PEER_PIDS[@]} -eq 0 ] || kill "${PEER_PIDS[@]}" 2>/dev/null; end_prefix; }

start_browser() {
  wine "$APP_WIN\\lobbyfind.exe" >>"$E2E_DIR/lobbyfind.out" 2>&1 &
  BROWSER_PID=$!
  wait_until 90 "the browser's window" browser
}
# The players' pane (the window's lower left, above the status bar), as a hash
# of its pixels: the same for every server that lists no players.
players_pane() {
  local x y w h
  read -r x y w h < <(window_geometry "$(browser)")
  import -window root -crop "$((w / 2 - 16))x$((h / 3 - 30))+$((x + 8))+$((y + h * 2 / 3))" png:- | md5sum
}
pane_other_than() { [ "$(players_pane)" != "$1" ]; }
stop_browser() { kill "$BROWSER_PID"; wait_until 20 "the browser to go" absent browser; }

# select_row <regex>: walks the list from its top until the title's summary
# matches; from the top again every few rows, as rows move while answers come.
select_row() {
  local i
  for ((i = 0; i < 24; i++)); do
    ((i % 6)) || key Home
    wait_until 5 "a row selected" titled ' - [^:]+: [^-]+ - '
    titled "$1" && return 0
    key Down
  done
  fail "no row matches '$1': $(title)"
}

test_lobbyfind() {
  new_prefix "lobbyfind-$1" "$1"
  trap end_peers EXIT
  local q3 hostile master silent=$((0x5C5C)) a2s1=27015 a2s2=27016
  q3=$(free_port 27960 27963) && hostile=$(free_port $((q3 + 1)) 27963) || fail "no free port"
  master=$(free_port 27950 27959)
  python3 "$PEERS" map "$E2E_DIR/q3"
  background python3 "$PEERS" master "$master" "$silent"
  background python3 "$PEERS" a2s "$a2s1" 1
  background python3 "$PEERS" a2s "$a2s2" 0
  background python3 "$PEERS" hostile "$hostile"
  wait_until 30 "the master" bash -c "quakestat -q3m 127.0.0.1:$master -nh | grep -q ' 1 servers'"
  background /usr/lib/ioquake3/ioq3ded +set fs_basepath "$E2E_DIR/q3" +set fs_homepath "$E2E_DIR/q3/home" \
    +set com_basegame tinybase +set dedicated 2 +set net_ip 127.0.0.1 +set net_port "$q3" \
    +set net_enabled 1 +set vm_game 0 +set bot_enable 0 +set sv_master1 "127.0.0.1:$master" \
    +set sv_master2 "" +set sv_master3 "" +set sv_master4 "" +set sv_master5 "" \
    +set sv_hostname "^1Tiny ^7Arena" +map tiny +heartbeat
  wait_until 30 "ioq3ded" bash -c "quakestat -q3s 127.0.0.1:$q3 -nh | grep -q tiny"
  # Its heartbeat checked, the master lists it, as quakestat reads the master.
  wait_until 30 "the master's list" bash -c "quakestat -q3m 127.0.0.1:$master -nh | grep -q ' 2 servers'"
  # The user's files, where lobbyfind once kept them (read until it saves in the user's
  # folder): the local network is 127.0.0.1, the one master is the test's.
  local roaming="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming"
  local user="$roaming/Corvane/Ludora" old="$roaming/Corvane Ludora"
  mkdir -p "$old"
  printf '[Settings]\r\nLanAddress=127.0.0.1\r\n[Favourites]\r\nServer=127.0.0.1:%s Quake III Arena\r\n' \
    "$hostile" >"$old/lobbyfind.ini"
  sed -e 's/^Masters=.*/Masters=/' -e "0,/^Masters=/s//Masters=127.0.0.1:$master/" \
    "$APP_DIR/lobbyfind-games.ini" >"$old/lobbyfind-games.ini"

  # A hostile favourite: junk, a cut reply, an oversized one, a flood of spoofs.
  start_browser
  wait_until 30 "the favourites' answers" titled 'Favourites: 0 of 1 answered'
  select_row "127.0.0.1:$hostile \(bad reply\)"
  key ctrl+2
  wait_until 30 "the LAN's answers" titled 'LAN: 3 of 3 answered'
  select_row 'Source Stand-in 27015 \(de_tiny, 3/16, [0-9]+ ms\)'
  select_row 'Source Stand-in 27016 \(de_tiny, 3/16, [0-9]+ ms\)'
  quakestat -a2s "127.0.0.1:$a2s2" -nh | grep -q 'Source Stand-in 27016' || fail "quakestat reads the A2S server otherwise"
  select_row 'Tiny Arena \(tiny, 0/8, [0-9]+ ms\)'
  quakestat -q3s "127.0.0.1:$q3" -nh | grep -qE ' 0/8 .* tiny .* Tiny Arena$' ||
    fail "quakestat reads $(quakestat -q3s "127.0.0.1:$q3" -nh)"
  # 27015 sends its players split in two pieces, the last first: joined, they
  # show where Tiny Arena, with none, shows an empty pane.
  local empty
  empty=$(players_pane)
  select_row 'Source Stand-in 27015'
  wait_until 10 "27015's players in the pane" pane_other_than "$empty"
  screenshot "$E2E_DIR/lan.png"

  # The Internet: the master's list, as quakestat reads it too.
  key ctrl+1
  wait_until 30 "the master's list" titled 'Internet: 1 of 2 answered'
  select_row 'Tiny Arena'
  key ctrl+d
  wait_until 10 "the favourite saved" grep -q "Server=127.0.0.1:$q3 Quake III Arena" "$user/lobbyfind.ini"
  screenshot "$E2E_DIR/internet.png"
  stop_browser

  # A restart keeps the favourite; Enter joins it with the table's arguments.
  local game="$WINEPREFIX/drive_c/Games/Quake III"
  mkdir -p "$game" && cp "$PROBE" "$game/quake3.exe"
  wine reg add 'HKLM\SOFTWARE\Id\Quake III Arena' /v INSTALLEXEPATH /d 'C:\Games\Quake III\quake3.exe' /f >/dev/null 2>&1
  start_browser
  key ctrl+3
  wait_until 30 "the favourites' answers" titled 'Favourites: 1 of 2 answered'
  # Deleted, then added again by its address with Insert.
  select_row 'Tiny Arena'
  key Delete
  wait_until 10 "the favourite removed" absent grep -q "Server=127.0.0.1:$q3 " "$user/lobbyfind.ini"
  key Insert
  wait_until 10 "the address prompt" named '^Add a server$'
  xdotool windowfocus --sync "$(named '^Add a server$')" type --delay 40 "127.0.0.1:$q3" 2>/dev/null
  xdotool key Return
  wait_until 10 "the favourite added" grep -q "Server=127.0.0.1:$q3 Quake III Arena" "$user/lobbyfind.ini"
  wait_until 30 "the added server's answer" titled 'Favourites: 1 of 2 answered'
  select_row 'Tiny Arena'
  key Return
  wait_until 20 "the game started" test -s "$game/probe.log"
  grep -qF "cwd=C:\\Games\\Quake III|cmdline=\"C:\\Games\\Quake III\\quake3.exe\" +connect 127.0.0.1:$q3" \
    "$game/probe.log" || fail "the game started as $(cat "$game/probe.log")"
}

test_lobbyfind_xp() { test_lobbyfind winxp; }
test_lobbyfind_98() { test_lobbyfind win98; }

run_tests test_lobbyfind_xp test_lobbyfind_98
