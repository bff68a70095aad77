#!/usr/bin/env bash
# The fixed quick-menu commands, and the personalized shortcuts.
source "$(dirname "$0")/lib.sh"

pick() {
  open_quick_menu
  pick_menu_item "$1"
  wait_until 10 "the quick menu to close" no_menu_window
}

# pick_showing_a_window <caption>: a command whose program shows a window.
# Without a window manager that window takes the keyboard when it appears,
# so the next menu opens only once it is there.
pick_showing_a_window() {
  local before
  before=$(other_windows | wc -l)
  pick "$1"
  wait_until 20 "the window of $1" more_windows_than "$before"
}

more_windows_than() { (($(other_windows | wc -l) > $1)); }

# expect_open <file> [parameters]: a ShellExecuteA of the shell's, from the trace.
expect_open() { wait_until 10 "ShellExecuteA of $1 $2" has_line "$1|$2" shell_opens; }
expect_started() { wait_until 10 "the command line $1" has_line "$1" started_commands; }
has_line() { "$2" | grep -qxF "$1"; }

about_box() { xdotool search --onlyvisible --name '^About Corvane Ludora 2008$' 2>/dev/null | grep .; }
no_about_box() { ! about_box; }

test_commands_on_xp() {
  new_prefix commands-xp
  start_ludora +menu,+exec,+process
  pick "Play .kkrieger first person shooter!"
  expect_started "CMD /C START \"High\" /high \"$APP_WIN\\pno0001.exe\""
  pick "Defragment Hard Drives"
  expect_open dfrg.msc
  pick_showing_a_window "Task Manager"
  expect_open taskmgr
  pick "My Computer"
  expect_open explorer '/root,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}'
  pick "Network Neighborhood"
  expect_open explorer '/root,::{208D2C60-3AEA-1069-A2D7-08002B30309D}'
  pick "Recycling Bin"
  expect_open explorer '/root,::{645FF040-5081-101B-9F08-00AA002F954E}'
  pick_showing_a_window "Control Panel"
  expect_started control
  pick "About Ludora..."
  wait_until 10 "the About box" about_box
  screenshot "$E2E_DIR/about.png"
  xdotool key --window "$(about_box)" Return
  wait_until 10 "the About box to close" no_about_box
  pick "Add Game Shortcut to Games List"  # last: its window may come at any time
  expect_open rundll32.exe "AppWiz.Cpl,NewLinkHere $APP_WIN\\games\\"
}

test_commands_on_98() {
  new_prefix commands-98 win98
  start_ludora +menu,+exec
  pick "Play .kkrieger first person shooter!"
  expect_open "$APP_WIN\\pno0001.exe"
  pick "Defragment Hard Drives"
  expect_open defrag
}

test_personalized_shortcuts() {
  new_prefix shortcuts
  cp "$PROBE" "$APP_DIR/games/probe.exe"
  printf '%s\r\n' '"Space &Probe","C:\Program Files\Corvane Ludora\games\probe.exe"' \
    '"-",""' '"Games Folder","C:\Program Files\Corvane Ludora\games"' >"$APP_DIR/ludora.ini"
  start_ludora +menu,+exec
  open_quick_menu
  # The items stand under their heading, before the separator that closes it.
  tracked_menu_items | cut -d' ' -f2- | grep -A6 '^Personalized Shortcuts$' | tr '\n' '|' |
    grep -qF 'Personalized Shortcuts||Space &Probe||Games Folder||Options' ||
    fail "shortcut items: $(tracked_menu_items | grep -A5 'Personalized' | tr '\n' '|')"
  pick_menu_item "Space &Probe"
  expect_open "$APP_WIN\\games\\probe.exe"
  wait_until 10 "the shortcut's program" test -s "$APP_DIR/games/probe.log"
}

run_tests test_commands_on_xp test_commands_on_98 test_personalized_shortcuts
