#!/usr/bin/env bash
# Runs the end-to-end tests (all, or the files named) on a virtual display.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

start_display
trap stop_display EXIT
mkdir -p "$E2E_WORK"
template_prefix >/dev/null

files=("$@")
[ ${#files[@]} -gt 0 ] || files=("$here"/test_*.sh)
failed=0
for file in "${files[@]}"; do
  echo "$(basename "$file")"
  bash "$file" || failed=1
done
exit $failed
