#!/usr/bin/env bash
# Runs the end-to-end tests (all, or the files named) on a virtual display,
# against the target decide_target picks, and ends with the line
# "end-to-end (<target>): N passed, M failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"  # decides the target once for every file

[ -f "$DIST/ludora.exe" ] || fail "no $DIST/ludora.exe for the $E2E_ARCH target: build it first"
start_display
trap stop_display EXIT
mkdir -p "$E2E_WORK"
template_prefix >/dev/null
export E2E_RESULTS=$E2E_WORK/results
: >"$E2E_RESULTS"

files=("$@")
[ ${#files[@]} -gt 0 ] || files=("$here"/test_*.sh)
for file in "${files[@]}"; do
  echo "$(basename "$file")"
  # A file that fails outside its tests (a helper it sources, say) counts once.
  bash "$file" || grep -q "^FAIL .* $(basename "$file")\$" "$E2E_RESULTS" ||
    echo "FAIL (the file itself) $(basename "$file")" >>"$E2E_RESULTS"
done
passed=$(grep -c '^PASS' "$E2E_RESULTS")
failed=$(grep -c '^FAIL' "$E2E_RESULTS")
echo "end-to-end ($E2E_ARCH): $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
