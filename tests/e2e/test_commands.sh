#!/usr/bin/env bash
# The personalized shortcuts, and the About box.
source "$(dirname "$0")/lib.sh"

about_box() { named '^About Corvane Ludora 2008$'; }
opened() { shell_opens | grep -qxF "$1|"; }

test_personalized_shortcuts_and_the_about_box() {
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
  pick_menu_path "Space &Probe"
  wait_until 10 "ShellExecuteA of probe.exe" opened "$APP_WIN\\games\\probe.exe"
  wait_until 10 "the shortcut's program" test -s "$APP_DIR/games/probe.log"
  # The About box, which reads the program's own version record.
  open_quick_menu "About Ludora..."
  wait_until 10 "the About box" about_box
  screenshot "$E2E_DIR/about.png"
  xdotool key --window "$(about_box)" Return 2>/dev/null
  wait_until 10 "the About box to close" absent about_box
}

run_tests test_personalized_shortcuts_and_the_about_box
