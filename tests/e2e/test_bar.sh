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
  # The tooltips come with the mouse's first visit.
  xdotool mousemove 30 11
  wait_until 15 "a hot spot's tooltip, just under the bar" tooltip '$3 >= 16 && $5 < 60'
}

# Every program of the build loads on Windows XP: only the DLLs its build line names, all of them
# shipped with Windows, and none of the functions newer toolchain libraries reach for.
test_programs_import_only_what_windows_xp_has() {
  local exe allowed imports dll count=0
  while read -r exe allowed; do
    count=$((count + 1))
    imports=$("$OBJDUMP" -p "$exe") || fail "cannot read $exe"
    for dll in $(grep 'DLL Name:' <<<"$imports" | awk '{print tolower($3)}'); do
      grep -qw "${dll%.dll}" <<<"$allowed" || fail "$exe imports $dll, which its build line does not name"
      grep -qw "${dll%.dll}" <<<"$WINDOWS_DLLS" || fail "$exe imports $dll, which Windows 98 and XP do not ship"
    done
    grep -E 'GetTickCount64|ConditionVariable|SRWLock|InitOnce|Fls(Alloc|GetValue)|GetSystemTimePrecise|(CompareString|LCMapString|GetLocaleInfo)Ex' <<<"$imports" &&
      fail "$exe imports a function newer than XP"
    (($(stat -c %s "$exe") <= 1048576)) || fail "$exe is over 1 MiB"
  done <"$E2E_BUILD/programs.txt"
  ((count >= 5)) || fail "the build lists only $count programs"
}
WINDOWS_DLLS="kernel32 user32 gdi32 advapi32 shell32 ole32 oleaut32 comctl32 comdlg32 msvcrt ws2_32 winmm riched20 urlmon"

run_tests test_programs_import_only_what_windows_xp_has test_bar_window_and_screenshot
