#!/usr/bin/env bash
# The memory defragmenter window.
source "$(dirname "$0")/lib.sh"

defragmenter() { named '^Remtide ZR Memory Defragmenter$'; }

test_defragmenter_counts_and_closes() {
  new_prefix defrag
  start_ludora +menu
  open_quick_menu "Defragment Memory"
  wait_until 10 "the defragmenter window" defragmenter
  read -r x y w h < <(window_geometry "$(defragmenter)")
  # Centred on the 1024 x 768 screen.
  [ "$x $y $w $h" = "354 337 316 93" ] || fail "window at $x,$y size ${w}x$h"
  # The close area: inactive while counting.
  xdotool mousemove $((x + 216 + 48)) $((y + 48 + 20)) click 1
  wait_until 5 "the window still open before the count is complete" defragmenter
  # Its tooltip shows only once the count is complete.
  # Halfway it writes two thirds of the memory (1.3 GiB here), which takes a loaded machine a while.
  wait_until 90 "the close area to become active" tooltip '$3 > 337 + 48 && $3 < 337 + 93 + 40'
  screenshot "$E2E_WORK/defragmenter.png"
  xdotool click 1
  wait_until 10 "the window to close" absent defragmenter
}

run_tests test_defragmenter_counts_and_closes
