#!/usr/bin/env bash
# chitter.exe against a real IRC server, Debian's ngIRCd on 127.0.0.1, with a
# second client of the test's own on a socket: registration, messages both
# ways in UTF-8 and cp1252, a private message's tab, a nick collision, a
# kick, the server stopped and started again; and a hostile server of the
# test's own. What chitter showed is read back from its logs.
source "$(dirname "$0")/lib.sh"

chitter_dir() { echo "$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Corvane/Ludora/Chitter"; }
# chitter_settings <line...>: chitter.ini, logging on.
chitter_settings() {
  mkdir -p "$(chitter_dir)"
  printf '%s\r\n' "[chitter]" "nick=Player" "log=1" "$@" >"$(chitter_dir)/chitter.ini"
}
chitter_window() { named ' - Chitter$'; }
start_chitter() {
  wine "$APP_WIN\\chitter.exe" >>"$LOG" 2>&1 &
  CHITTER_PID=$!
  wait_until 30 "chitter's window" chitter_window
}
# logged <network/conversation> <text>: a line of today's log of the conversation holds the text.
logged() { cat "$(chitter_dir)/logs/$1 "*.log 2>/dev/null | grep -aqF -- "$2"; }
# say <text> [key...]: typed into chitter's input line, then the keys (Return by default).
say() {
  xdotool windowfocus --sync "$(chitter_window)" 2>/dev/null
  xdotool type --delay 40 -- "$1"
  shift
  xdotool key --delay 60 "${@:-Return}"
}
# paste <text>: the same through the clipboard, for what the keyboard lacks (xdotool maps such
# a key for a moment only, and Wine may miss it).
paste() {
  local ready=$E2E_DIR/clipboard.ready
  rm -f "$ready"
  python3 -c 'import sys, tkinter
root = tkinter.Tk(); root.withdraw(); root.clipboard_clear(); root.clipboard_append(sys.argv[1])
root.update(); open(sys.argv[2], "w").close(); root.after(60000, root.destroy); root.mainloop()' "$1" "$ready" &
  CLIPBOARD_PID=$!
  wait_until 20 "the clipboard" test -e "$ready"
  xdotool windowfocus --sync "$(chitter_window)" 2>/dev/null
  xdotool key --delay 60 ctrl+v Return
}

# red_topic: the topic line, under the tabs at the window's top, shows red
# (the conversation's lines sit at the view's bottom, far below).
red_topic() {
  local x y w h
  read -r x y w h < <(window_geometry "$(chitter_window)") || return 1
  (($(import -window root -crop "${w}x120+$x+$y" +repage png:- | convert png:- -fuzz 10% \
    -fill black +opaque '#FF0000' -fill white -opaque '#FF0000' \
    -format '%[fx:int(mean*w*h+0.5)]' info:) > 10))
}

port_open() { (exec 9<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
free_port() {
  local port
  for port in $(shuf -i 20000-40000 -n 50); do port_open "$port" || { echo "$port"; return; }; done
  fail "no free port"
}

# ngIRCd on a port of its own, its files readable by the user it becomes;
# pinging quiet clients every 5 seconds.
start_ircd() {
  local dir=$E2E_DIR/ircd
  IRC_PORT=${IRC_PORT:-$(free_port)}
  mkdir -p "$dir"
  printf '%s\n' "[Global]" "Name = irc.ludora.test" "Info = Ludora test" "Listen = 127.0.0.1" \
    "Ports = $IRC_PORT" "MotdPhrase = welcome" "ServerUID = irc" "ServerGID = irc" "[Limits]" \
    "MaxConnectionsIP = 20" "PingTimeout = 5" "PongTimeout = 5" "[Options]" "DNS = no" \
    "Ident = no" "PAM = no" >"$dir/ngircd.conf"
  chmod -R a+rX "$dir"
  /usr/sbin/ngircd -n -f "$dir/ngircd.conf" >>"$dir/ngircd.log" 2>&1 &
  IRCD_PID=$!
  wait_until 20 "ngIRCd on port $IRC_PORT" port_open "$IRC_PORT"
}
stop_ircd() { [ -z "${IRCD_PID:-}" ] || kill "$IRCD_PID" 2>/dev/null; wait "${IRCD_PID:-}" 2>/dev/null || true; }

# The test's own client on fd 7; all it receives goes to $PEER_LOG. It answers PING.
peer_start() {
  PEER_LOG=$E2E_DIR/peer-$1.log
  : >"$PEER_LOG"
  exec 7<>"/dev/tcp/127.0.0.1/$IRC_PORT"
  (while IFS= read -r line; do
    line=${line%$'\r'}
    printf '%s\n' "$line" >>"$PEER_LOG"
    [[ $line != PING* ]] || printf 'PONG %s\r\n' "${line#PING }" >&7
  done <&7) &
  PEER_PID=$!
  peer "NICK $1" "USER peer 0 * :Peer"
  wait_until 20 "the test's client registered" peer_saw " 001 $1 "
}
peer() { printf '%s\r\n' "$@" >&7; }
# peer_join <nick> <channel...>: the test's client in the channels before chitter comes: the
# server holds a new client's commands back a while, and chitter may be quicker.
peer_join() {
  local nick=$1 channel
  shift
  for channel; do
    peer "JOIN $channel"
    wait_until 20 "$nick in $channel" peer_saw "^:$nick![^ ]* JOIN :?$channel"
  done
}
peer_saw() { grep -aqE -- "$1" "$PEER_LOG"; }
peer_stop() { exec 7>&-; [ -z "${PEER_PID:-}" ] || kill "$PEER_PID" 2>/dev/null || true; }
pinged() { (($(grep -ac '^PING' "$PEER_LOG") >= $1)); }

cleanup() {
  local pid
  peer_stop 2>/dev/null
  stop_ircd
  for pid in ${HOSTILE_PID:-} ${CLIPBOARD_PID:-}; do kill "$pid" 2>/dev/null || true; done
  end_prefix
}

conversation() {
  new_prefix "chitter-talk-$1" "$1"
  trap cleanup EXIT
  start_ircd
  peer_start tester
  peer_join tester "#ludora"
  peer $'TOPIC #ludora :Clan match tonight at \x0304nine'
  wait_until 20 "the topic set" peer_saw "^:tester![^ ]* TOPIC #ludora :"
  chitter_settings "[network Local]" "servers=127.0.0.1:$IRC_PORT" "channels=#ludora"
  start_chitter
  wait_until 60 "chitter in #ludora" peer_saw "^:Player![^ ]* JOIN :?#ludora"
  wait_until 30 "the topic shown" logged "Local/#ludora" "Topic: Clan match tonight at nine"
  wait_until 10 "the topic line in its colour" red_topic
  # UTF-8 and cp1252 from the other client, shown (and logged) as UTF-8.
  peer "PRIVMSG #ludora :utf-8 ça va, Player?" $'PRIVMSG #ludora :cp1252 caf\xe9 na\xefve \x0304red'
  wait_until 20 "the cp1252 line" logged "Local/#ludora" "<tester> cp1252 café naïve red"
  logged "Local/#ludora" "<tester> utf-8 ça va, Player?" || fail "the UTF-8 line: $(cat "$(chitter_dir)"/logs/Local/*)"
  # The look-ups' message, posted by another program with a number in it,
  # is nothing to take: chitter goes on.
  wine "$PROBE" post CorvaneLudoraChitter $((0x8003)) 4660 || fail "no chitter window to post to"
  say "/msg tester still here"
  wait_until 20 "chitter going on after the posted message" peer_saw "PRIVMSG tester :still here"
  # The user's line, the nick completed by Tab, goes out in UTF-8.
  say "tes" Tab
  paste "hello, café"
  wait_until 20 "the user's line at the other client" peer_saw $'^:Player![^ ]* PRIVMSG #ludora :tester: hello, caf\xc3\xa9$'
  # A private message opens a conversation of its own; CTCP VERSION is answered.
  peer "PRIVMSG Player :a private word" $'PRIVMSG Player :\x01VERSION\x01'
  wait_until 20 "the private conversation" logged "Local/tester" "<tester> a private word"
  wait_until 20 "the VERSION reply" peer_saw $'NOTICE tester :\x01VERSION Chitter'
  screenshot "$E2E_WORK/chitter-$1.png"
}

test_conversation_xp() { conversation winxp; }
test_conversation_98() { conversation win98; }

test_nick_collision_kick_and_a_server_restarted() {
  new_prefix chitter-reconnect
  trap cleanup EXIT
  start_ircd
  peer_start Player  # holds the nick chitter wants
  peer_join Player "#ludora" "#clan"
  chitter_settings "altnick=Player_" "[network Local]" "servers=127.0.0.1:$IRC_PORT" "channels=#ludora"
  start_chitter
  wait_until 60 "chitter in #ludora as Player_" peer_saw "^:Player_![^ ]* JOIN :?#ludora"
  say "/join #clan"
  wait_until 20 "chitter in #clan" peer_saw "^:Player_![^ ]* JOIN :?#clan"
  peer "KICK #ludora Player_ :out"
  wait_until 20 "the kick shown" logged "Local/#ludora" "You were kicked by Player (out)"
  # The nick is taken back the moment its holder lets it go.
  peer "NICK Holder"
  wait_until 20 "chitter's nick back" peer_saw "^:Player_![^ ]* NICK :?Player$"
  # The server goes and comes back: chitter connects again and joins both channels.
  peer_stop
  stop_ircd
  start_ircd
  peer_start watcher
  peer_join watcher "#ludora" "#clan"
  wait_until 90 "chitter back in #ludora" peer_saw "^:Player![^ ]* JOIN :?#ludora"
  wait_until 30 "chitter back in #clan" peer_saw "^:Player![^ ]* JOIN :?#clan"
  # The server pings quiet clients every 5 s: chitter still there after two of the peer's pings.
  wait_until 60 "two pings at the test's client" pinged 2
  peer "ISON Player"
  wait_until 10 "chitter online" peer_saw " 303 watcher :Player"
}

test_hostile_server() {
  new_prefix chitter-hostile
  trap cleanup EXIT
  local port pid id kib
  port=$(free_port)
  python3 "$E2E_ROOT/tests/e2e/chitter/hostile_ircd.py" "$port" 20000 &
  HOSTILE_PID=$!
  wait_until 20 "the hostile server" port_open "$port"
  chitter_settings "[network Hostile]" "servers=127.0.0.1:$port"
  start_chitter
  wait_until 120 "the flood shown to its end" logged "Hostile/Hostile" "flood-done"
  wait_until 60 "the second connection" logged "Hostile/Hostile" "connection 2"
  for text in nulbyte after-cr "unknown numeric" empty-prefix odd-prefix bad-utf8 colour-junk \
    "$(printf 'y%.0s' {1..400})"; do
    logged "Hostile/Hostile" "$text" || fail "'${text:0:20}' not shown: $(cat "$(chitter_dir)"/logs/Hostile/Hostile*)"
  done
  logged "Hostile/a" "<a> double-prefix" || fail "the line from a!b@c!d@e not shown"
  [ "$(cat "$(chitter_dir)"/logs/Hostile/#flood* | grep -ac '> line ')" = 20000 ] ||
    fail "not every flood line was shown"
  # Still there, bounded, answering.
  id=$(chitter_window)
  pid=$(xprop -id "$id" _NET_WM_PID | awk '{print $NF}')
  kib=$(awk '/^Private_(Clean|Dirty):/ { s += $2 } END { print s }' "/proc/$pid/smaps_rollup")
  ((kib < 32768)) || fail "chitter holds $kib KiB of private memory"
  local title
  title=$(xdotool getwindowname "$id")
  xdotool windowfocus --sync "$id" 2>/dev/null
  xdotool key ctrl+Tab
  wait_until 10 "another tab at Ctrl+Tab" bash -c "[ \"\$(xdotool getwindowname $id)\" != '$title' ]"
}

# Minimised, the window leaves the screen for an icon in the notification
# area (here Wine's own, Explorer's stand-in); a click on the icon brings it back.
test_notification_area() {
  new_prefix chitter-tray
  trap cleanup EXIT
  chitter_settings
  start_chitter
  xdotool windowfocus --sync "$(chitter_window)" 2>/dev/null
  xdotool key --delay 200 alt+space n  # the system menu's Minimize
  wait_until 20 "the window gone" absent chitter_window
  wait_until 20 "the icon in the notification area" named '^Wine System Tray$'
  read -r x y _ < <(window_geometry "$(named '^Wine System Tray$')")
  xdotool mousemove $((x + 11)) $((y + 10)) click 1
  wait_until 20 "the window back" chitter_window
}

run_tests test_notification_area test_conversation_xp test_conversation_98 test_nick_collision_kick_and_a_server_restarted \
  test_hostile_server
