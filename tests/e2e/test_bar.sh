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

run_tests test_bar_window_and_screenshot
