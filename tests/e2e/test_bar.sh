#!/usr/bin/env bash
# The bar: its window, its hot spots, the quick menu, one instance only.
source "$(dirname "$0")/lib.sh"

test_bar_window_and_screenshot() {
  new_prefix bar
  start_ludora
  read -r x y w h < <(window_geometry "$BAR")
  [ "$x $y" = "0 0" ] || fail "bar at $x,$y"
  [ "$w x $h" = "343 x 22" ] || fail "bar is $w x $h"
  screenshot "$E2E_WORK/bar.png"
  # The skin is painted: the bar is not one flat colour.
  local colours
  colours=$(convert "$E2E_WORK/bar.png" -crop 343x22+0+0 +repage -format %k info:)
  ((colours > 50)) || fail "the bar shows only $colours colours"
}

test_label4_opens_display_settings() {
  new_prefix label4
  start_ludora +exec
  click_hotspot Label4
  wait_until 10 "ShellExecuteA of the display settings" \
    grep -aqF 'ShellExecuteA 00000000,(null),"rundll32.exe","shell32.dll,Control_RunDLL desk.cpl,,0",(null),1' "$LOG"
}

test_label3_opens_the_web_browser() {
  new_prefix label3
  start_ludora +exec
  click_hotspot Label3
  wait_until 10 "ShellExecuteA of wayview.exe" \
    grep -aqF 'ShellExecuteA 00000000,(null),"C:\\Program Files\\Corvane Ludora\\wayview.exe",(null),(null),1' "$LOG"
}

test_label6_quick_menu_closes_with_escape() {
  new_prefix quickmenu
  start_ludora +menu
  open_quick_menu
  screenshot "$E2E_WORK/quick-menu.png"
  tracked_menu_items | grep -q ' Performance Mode$' || fail "no performance section on XP"
  # The clock item shows today's date at the moment of the click.
  tracked_menu_items | grep -q "$(date +%Y)" || fail "the date item has no date"
  xdotool key Escape
  wait_until 10 "the quick menu to close" no_menu_window
  read -r x y _ _ < <(window_geometry "$BAR")
  [ "$x $y" = "0 0" ] || fail "bar at $x,$y after the menu"
}

test_second_instance_ends_without_a_window() {
  new_prefix second
  start_ludora
  local start=$SECONDS
  timeout 20 wine "$APP_WIN\\ludora.exe" >/dev/null 2>&1 || fail "second instance did not end"
  ((SECONDS - start < 10)) || fail "second instance took $((SECONDS - start))s"
  [ "$(xdotool search --onlyvisible --name '^Corvane Ludora ZR$' 2>/dev/null | wc -l)" = 1 ] ||
    fail "a second bar appeared"
  kill -0 "$LUDORA_PID" || fail "the first instance ended"
}

test_windows98_menu_has_no_performance_section() {
  new_prefix win98 win98
  start_ludora +menu
  open_quick_menu
  local items
  items=$(tracked_menu_items | cut -d' ' -f2-)
  ! grep -q 'Performance' <<<"$items" || fail "performance items shown on Windows 98"
  # The separators around the hidden section stand next to each other.
  tracked_menu_items | awk '{print $1}' | tr '\n' ' ' | grep -q '00000c00 00000c00' ||
    fail "no two separators in a row"
  grep -q '^Set Explorer as default shell$' <<<"$items" || fail "switch items missing"
  xdotool key Escape
}

# The programs load on Windows XP: only DLLs it ships, and none of the
# functions newer toolchain libraries reach for.
test_programs_import_only_what_windows_xp_has() {
  local exe imports
  for exe in "$DIST/ludora.exe" "$DIST/sparkrun.exe"; do
    imports=$(i686-w64-mingw32-objdump -p "$exe")
    grep 'DLL Name:' <<<"$imports" | tr 'A-Z' 'a-z' | grep -v -E 'name: (kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|msvcrt)\.dll$' &&
      fail "$exe imports another DLL"
    grep -E 'GetTickCount64|ConditionVariable|SRWLock|InitOnce|Fls(Alloc|GetValue)|GetSystemTimePrecise|(CompareString|LCMapString|GetLocaleInfo)Ex' <<<"$imports" &&
      fail "$exe imports a function newer than XP"
    (($(stat -c %s "$exe") <= 1048576)) || fail "$exe is over 1 MiB"
  done
  true
}

run_tests test_programs_import_only_what_windows_xp_has test_bar_window_and_screenshot test_label4_opens_display_settings \
  test_label3_opens_the_web_browser test_label6_quick_menu_closes_with_escape \
  test_second_instance_ends_without_a_window test_windows98_menu_has_no_performance_section
