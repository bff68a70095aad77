#!/usr/bin/env bash
# wayview.exe under Wine, whose web browser control has no rendering engine here: it still
# fires BeforeNavigate2 and sends the request, then NavigateError. A typed address reaches a
# loopback web server and goes to TypedURLs, a refused scheme sends nothing, Add to Favorites
# writes the .url file its menu lists and opens, a closed port shows our notice, a Windows
# without the control is told so and hands the default browser its address as one argument,
# and the bar's globe and quick menu open the frame.
source "$(dirname "$0")/lib.sh"

# Wine's engine on, its Gecko installer kept from running (nothing is downloaded).
export WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d;appwiz.cpl=d"
TYPED='HKCU\Software\Microsoft\Internet Explorer\TypedURLs'

frames() { xdotool search --onlyvisible --name 'Wayview$' 2>/dev/null; }
frame() { named 'Wayview$'; }
served() { grep -q "\"GET $1 HTTP" "$E2E_DIR/http.log"; }
served_twice() { (($(grep -c "\"GET $1 HTTP" "$E2E_DIR/http.log") >= 2)); }
two_frames() { (($(frames | wc -l) == 2)); }
traced() { grep -aqF "$1" "$LOG"; }

# A web server on a free loopback port, ended with the test; SERVER is its address.
start_server() {
  mkdir -p "$E2E_DIR/site"
  echo '<html><head><title>Typed</title></head><body>typed</body></html>' >"$E2E_DIR/site/typed.html"
  cp "$E2E_DIR/site/typed.html" "$E2E_DIR/site/after.html"
  python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$E2E_DIR/site" >"$E2E_DIR/http.log" 2>&1 &
  SERVER_PID=$!
  trap 'kill "$SERVER_PID" 2>/dev/null; end_prefix' EXIT
  wait_until 20 "the web server" grep -q '^Serving HTTP' "$E2E_DIR/http.log"
  SERVER="127.0.0.1:$(sed -nE 's/.* port ([0-9]+) .*/\1/p' "$E2E_DIR/http.log" | head -1)"
}

# start_frame [address]: wayview.exe traced (+win: window texts, +menu, +exec: shell opens),
# waited for.
start_frame() {
  WINEDEBUG=+win,+menu,+exec wine "$APP_WIN\\wayview.exe" "$@" >/dev/null 2>>"$LOG" &
  wait_until 90 "the frame" frame
}

# type_address <text>: Ctrl+L, the text, Enter, typed as the user types (XTEST) into the frame.
type_address() {
  xdotool windowfocus --sync "$(frame)" key --delay 80 ctrl+l 2>/dev/null
  xdotool type --delay 40 "$1" && xdotool key Return
}

test_typed_addresses_favorites_and_a_refused_scheme() {
  new_prefix wayview-typed
  start_server
  start_frame
  type_address "$SERVER/typed.html"
  wait_until 90 "the typed address at the server" served /typed.html
  wait_until 30 "its address in TypedURLs" bash -c "wine reg query '$TYPED' /v url1 | grep -qF 'http://$SERVER/typed.html'"
  # Refused before any request: the next address typed is the next the server sees.
  type_address "view-source:http://$SERVER/refused.html"
  wait_until 30 "the refusal" named '^Wayview$'
  xdotool key --window "$(named '^Wayview$')" Return 2>/dev/null
  wait_until 30 "the refusal to close" absent named '^Wayview$'
  type_address "$SERVER/after.html"
  wait_until 90 "the next typed address at the server" served /after.html
  ! served /refused.html || fail "a refused scheme reached the server"
  [ "$(reg_values "$TYPED" | cut -f1,3 | sort | tr '\t\n' '=|')" = "url1=http://$SERVER/after.html|url2=http://$SERVER/typed.html|" ] ||
    fail "TypedURLs: $(reg_values "$TYPED" | tr '\n' '|')"
  # Add to Favorites writes what Internet Explorer reads; the menu lists it, and opens it.
  local url="$WINEPREFIX/drive_c/users/$(whoami)/Favorites/${SERVER/:/_}_after.html.url"
  xdotool key --window "$(frame)" ctrl+d 2>/dev/null
  wait_until 30 "the .url file" test -s "$url"
  [ "$(tr -d '\r' <"$url")" = "$(printf '[InternetShortcut]\nURL=http://%s/after.html' "$SERVER")" ] ||
    fail "the .url file holds: $(cat "$url")"
  xdotool key --window "$(frame)" alt+a 2>/dev/null
  wait_until 30 "the favourite in the menu" traced "str L\"${SERVER/:/_}_after.html\""
  screenshot "$E2E_WORK/wayview-favorites.png"
  xdotool key --window "$(frame)" Down Down Return 2>/dev/null
  wait_until 90 "the favourite opened" served_twice /after.html
}

test_closed_port_shows_our_notice_and_no_control_is_told() {
  new_prefix wayview-notice
  local port
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  start_frame "http://127.0.0.1:$port/"
  wait_until 90 "our notice with the address" traced "set_window_text L\"This page could not be opened\\r\\nhttp://127.0.0.1:$port/\\r\\n"
  wait_until 30 "the notice's caption" bash -c "xdotool getwindowname $(frame) | grep -qx 'This page could not be opened - Wayview'"
  screenshot "$E2E_WORK/wayview.png"
  # Without the control (its DLL refused), the frame says so instead of ending, and offers
  # the default browser (kept from starting): the address, given with a full-width quote
  # that the command line's code page makes a '"', reaches it as one argument.
  wineserver -k && wineserver -w
  WINEDLLOVERRIDES="$WINEDLLOVERRIDES;ieframe=d;winebrowser.exe=d" start_frame \
    "http://127.0.0.1:$port/a＂ -new-window"
  wait_until 60 "the frame without the control" bash -c \
    "xdotool getwindowname $(frame) | grep -qx 'Wayview cannot show web pages on this computer - Wayview'"
  local x y _
  read -r x y _ < <(window_geometry "$(frame)")
  xdotool mousemove $((x + 106)) $((y + 185)) click 1  # the notice's button
  wait_until 30 "the default browser asked" traced "\"http://127.0.0.1:$port/a%22%20-new-window\","
}

test_the_globe_and_the_quick_menu_open_the_frame() {
  new_prefix wayview-shell
  start_ludora +menu
  click_hotspot Label3
  wait_until 90 "a frame from the globe" frame
  open_quick_menu "Browse the Web with Nimbra"
  wait_until 90 "a second frame, from the quick menu" two_frames
}

run_tests test_typed_addresses_favorites_and_a_refused_scheme \
  test_closed_port_shows_our_notice_and_no_control_is_told test_the_globe_and_the_quick_menu_open_the_frame
