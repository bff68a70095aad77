#!/usr/bin/env bash
# Folder menus, the performance modes' launch redirect, and sparkrun.exe.
source "$(dirname "$0")/lib.sh"

OPEN_KEY='HKCR\exefile\shell\open\Command'

# A games tree of our own: a subfolder with the stand-in game, and neighbours.
make_games_tree() {
  mkdir -p "$APP_DIR/games/Arcade Classics" "$APP_DIR/games/Strategy"
  cp "$PROBE" "$APP_DIR/games/Arcade Classics/Space Probe.exe"
  : >"$APP_DIR/games/Arcade Classics/Readme First.txt"
  : >"$APP_DIR/games/Strategy/Chess.lnk"
  : >"$APP_DIR/games/Solitaire.lnk"
}

probe_log() { cat "$APP_DIR/games/Arcade Classics/probe.log" 2>/dev/null; }

pick_space_probe() {
  click_hotspot Label2
  wait_until 15 "the games menu" menu_window
  pick_menu_path "Arcade Classics" "Space Probe"
  wait_until 15 "the game to start" probe_log
}

# In High mode the redirect names the launcher, quoted, around the launch only.
test_high_mode_redirects_around_the_launch() {
  new_prefix high
  make_games_tree
  start_ludora +menu,+exec,+reg
  open_quick_menu "High Game Performance Mode"
  wait_until 10 "the quick menu to close" absent menu_window
  local mark
  mark=$(wc -l <"$LOG")
  pick_space_probe
  local path="$APP_WIN\\games\\Arcade Classics\\Space Probe.exe"
  shell_opens | grep -qxF "$path|" || fail "no ShellExecuteA of $path: $(shell_opens)"
  wait_until 10 "the menu to close" absent menu_window

  local redirect="\"$APP_WIN\\sparkrun.exe\" \"%1\""
  local redirect_bytes=$(((${#redirect} + 1) * 2)) default_bytes=16
  # The unnamed values written after start-up (the open command's only), then the launch.
  local events
  events=$(tail -n +"$mark" "$LOG" | awk -v rb="$redirect_bytes" -v db="$default_bytes" '
      /NtSetValueKey \(.*,L"",/ { size = $0; sub(/\).*/, "", size); sub(/.*,/, "", size)
        print (size == rb ? "redirect" : size == db ? "default" : "other " size) }
      /trace:exec:ShellExecuteA / { print "launch" }')
  [ "$(echo "$events" | tr '\n' ' ')" = "redirect launch default " ] ||
    fail "open-command writes around the launch: $(echo "$events" | tr '\n' ' ')"
  expect_reg "$OPEN_KEY" "" REG_SZ '"%1" %*'
}

# Wine starts programs without the open command, so the launcher is tried
# on its own: quoted and unquoted paths with blanks.
test_sparkrun_starts_a_program_high_in_its_folder() {
  new_prefix sparkrun
  local folder="$WINEPREFIX/drive_c/My Games/Space Probe"
  mkdir -p "$folder"
  cp "$PROBE" "$folder/probe game.exe"
  # One argument (Wine quotes it, as the redirect does), then loose words.
  timeout 30 wine "$APP_WIN\\sparkrun.exe" 'C:\My Games\Space Probe\probe game.exe' &&
    timeout 30 wine "$APP_WIN\\sparkrun.exe" 'C:\My' 'Games\Space' 'Probe\probe' 'game.exe' ||
    fail "sparkrun with a quoted or unquoted path"
  wait_until 15 "two starts" bash -c "[ \$(wc -l <'$folder/probe.log') -ge 2 ]"
  local line
  while read -r line; do
    [[ $line == *'exe=C:\My Games\Space Probe\probe game.exe|'* ]] || fail "started: $line"
    [[ $line == *'|priority=128|'* ]] || fail "not high priority: $line"
    [[ $line == *'|cwd=C:\My Games\Space Probe|'* ]] || fail "not in its folder: $line"
  done <"$folder/probe.log"
}

run_tests test_high_mode_redirects_around_the_launch test_sparkrun_starts_a_program_high_in_its_folder
