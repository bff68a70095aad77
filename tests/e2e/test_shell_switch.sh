#!/usr/bin/env bash
# The switch to Ludora, picked from the quick menu by keyboard. The switch
# back to Explorer writes what the uninstaller falls back to: its values are
# checked in the installer's test.
source "$(dirname "$0")/lib.sh"

# On Windows XP; Windows 98's branch (no start types) is the unit tests'
# and the installer test's.
test_switch_to_ludora() {
  new_prefix ludora
  start_ludora +menu,+reg
  pick_switch "Set Ludora as default shell"
  # The box is modal: the bar's hot spots open no menu while it is open.
  click_hotspot Label6
  click_hotspot Label2
  # The registration is in; no tuning row of the switch is, until the box
  # closes: the rows are written in order, and this one comes early.
  expect_reg "HKCU\\$WINLOGON" Shell REG_SZ "\"$APP_WIN\\ludora.exe\""
  expect_absent "$MM" LargeSystemCache
  screenshot "$E2E_DIR/message-box.png"
  close_message_box
  wait_until 20 "the switch's last row" bash -c "grep -aq 'NtSetValueKey.*L\"MaxConnectionsPerServer\"' '$LOG'"
  [ "$(grep -ac NtUserTrackPopupMenuEx "$LOG")" = 1 ] || fail "a menu opened while the box was open"
  local row
  for row in LargeSystemCache AdditionalCriticalWorkerThreads MaxConnectionsPerServer; do
    [ "$(grep -ac "NtSetValueKey.*L\"$row\"" "$LOG")" = 1 ] || fail "$row written more than once"
  done

  # The start types of every service by name; each row's data and order are
  # the unit tests', the rows it shares with every start the start's test.
  service_starts "${SWITCH_SERVICES[@]/%/:4}" | sed -E '/\\(CryptSvc|seclogon)\|/s/4$/3/' | expect_rows
  # [boot] shell: the short form of the application folder, which Windows
  # resolves to this very program.
  local boot
  boot=$(system_ini | awk '/^\[boot\]/ {b = 1; next} /^\[/ {b = 0} b && /^shell=/ {print substr($0, 7)}')
  [[ $boot == *'\ludora.exe' && $boot != *' '* ]] || fail "[boot] shell=$boot"
  wine cmd /c "if exist $boot echo found" 2>/dev/null | grep -q found || fail "$boot does not exist"
}

# Windows 98 starts the shell from the 8.3 path [boot] shell holds: what
# Ludora registers is still its folder's long form.
test_switch_from_a_short_start_on_98() {
  new_prefix short win98
  local short
  short=$(wine winepath.exe -s "$APP_WIN\\ludora.exe" 2>/dev/null | tr -d '\r')
  [[ $short == *'~'* ]] || fail "no 8.3 path for $APP_WIN: '$short'"
  start_ludora +menu "$short"
  pick_switch "Set Ludora as default shell"
  close_message_box
  expect_reg "HKCU\\$WINLOGON" Shell REG_SZ "\"$APP_WIN\\ludora.exe\""
}

run_tests test_switch_to_ludora test_switch_from_a_short_start_on_98
