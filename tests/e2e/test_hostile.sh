#!/usr/bin/env bash
# What a real machine may hold: games folders that nobody would make on
# purpose. The shell shows what it can and goes on.
source "$(dirname "$0")/lib.sh"

all_menus_destroyed() { [ "$(undestroyed_menus)" = 0 ]; }

games_menu() {
  click_hotspot Label2
  wait_until 120 "the games menu" menu_window
}

# close_menu: the shell still runs and holds no menu any more.
close_menu() {
  xdotool key --window "$BAR" Escape 2>/dev/null
  wait_until 10 "the menu to close" absent menu_window
  kill -0 "$LUDORA_PID" || fail "the shell ended"
  wait_until 10 "every menu destroyed" all_menus_destroyed
}

test_tens_of_thousands_of_folders() {
  new_prefix many-folders
  mkdir -p "$APP_DIR/games/Many"
  (cd "$APP_DIR/games/Many" && seq -f 'Folder %05g' 0 9999 | xargs -d '\n' mkdir)
  start_ludora +menu
  games_menu  # over 10,000 folders, then over 30,000
  close_menu
  (cd "$APP_DIR/games/Many" && seq -f 'Folder %05g' 10000 29999 | xargs -d '\n' mkdir)
  games_menu
  # The submenus one menu may hold, "Many" among them, and no more.
  [ "$(tracked_submenus)" = 2048 ] || fail "not 2,048 submenus: $(tracked_submenus)"
  close_menu
}

test_odd_names_deep_trees_and_a_loop() {
  new_prefix odd-names
  local g="$APP_DIR/games" long deep
  long=$(printf 'N%.0s' {1..251})
  touch "$g/$long.lnk" "$g/Tom & Jerry.lnk" "$g/100% Fun.lnk" "$g/.Hidden Game.lnk" "$g/README" \
    "$g/v1.2.3.final.lnk" "$g/It's \"quoted\".lnk" "$g/Marked.lnk"
  mkdir -p "$g/Loop" "$g/Locked"
  ln -s .. "$g/Loop/Back"  # a folder link back to its parent
  touch "$g/Locked/Inside.lnk"
  chmod 555 "$g/Locked"  # read-only: left out with what it holds
  deep=$g
  for _ in $(seq 70); do deep+=/dd; done  # past the 260 characters of a Windows path
  mkdir -p "$deep" && touch "$deep/Deep.lnk"
  wine attrib +h +s "$APP_WIN\\games\\Marked.lnk" >/dev/null 2>&1
  start_ludora +menu
  games_menu
  local items
  items=$(tracked_menu_items | cut -d' ' -f2-)
  for caption in "Tom & Jerry" "100% Fun" "v1.2.3.final" "RE" "Marked" ".Hidden Game" "Loop" "dd" \
    "$(printf 'N%.0s' {1..47})..."; do
    grep -qxF "$caption" <<<"$items" || fail "no entry '$caption' in: $(tr '\n' '|' <<<"$items")"
  done
  ! grep -qx 'Locked' <<<"$items" || fail "a read-only folder is listed"
  close_menu
  chmod 755 "$g/Locked"
}

# A shortcut deleted between the scan and the click, and a program that
# another process holds open for itself alone: neither is started.
test_picks_that_are_gone_or_held() {
  new_prefix gone-or-held
  for copy in "$APP_DIR/games/Gone.exe" "$APP_DIR/games/Held.exe" "$WINEPREFIX/drive_c/holder.exe"; do cp "$PROBE" "$copy"; done
  (cd "$E2E_DIR/prefix/drive_c" && wine 'C:\holder.exe' hold "$APP_WIN\\games\\Held.exe" &)
  wait_until 20 "the file to be held" test -f "$E2E_DIR/prefix/drive_c/held.txt"
  start_ludora +menu,+exec
  games_menu
  rm "$APP_DIR/games/Gone.exe"
  pick_menu_path Gone
  wait_until 10 "the menu to close" absent menu_window
  games_menu
  pick_menu_path Held
  wait_until 10 "the menu to close" absent menu_window
  games_menu  # the shell is back at its messages: the picks are handled
  close_menu
  ! shell_opens | grep -q 'games' || fail "started: $(shell_opens | grep games)"
}

run_tests test_tens_of_thousands_of_folders test_odd_names_deep_trees_and_a_loop \
  test_picks_that_are_gone_or_held
