#!/usr/bin/env bash
# The tuning every start applies: registry values, system.ini, service stops.
source "$(dirname "$0")/lib.sh"

test_startup_rows_and_service_stops() {
  new_prefix startup
  start_ludora +process
  wait_until 20 "31 sc stop commands" bash -c "[ \$(grep -ac 'cmdline L\"sc stop ' '$LOG') -ge 31 ]"
  startup_rows 0 no | expect_rows
  local want
  want=$(printf 'sc stop %s\n' themes mdm wscsvc scardsvr scarddrv sharedaccess incdsrv umwdf \
    shellhwdetection spooler wuauserv bits dmadmin dmserver dcomlaunch imapiservice xmlprov \
    ntlmssp diskeeper CryptSvc Dnscache nla ProtectedStorage stisvc helpsvc seclogon \
    tabletservice aspnet_state cisvc srservice jtagserver)
  [ "$(started_commands | grep '^sc stop ')" = "$want" ] || fail "sc stop commands differ:
$(started_commands | grep '^sc stop ' | diff - <(echo "$want"))"
}

run_tests test_startup_rows_and_service_stops
