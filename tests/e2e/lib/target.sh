# Which Windows programs the end-to-end tests run: the shipped 32-bit build in
# dist/ (win32) where this machine runs 32-bit programs under Wine, else (a
# kernel without 32-bit support) a 64-bit build of the same sources in
# build/dist64/ under 64-bit Wine (win64), never shipped. LUDORA_E2E_ARCH=win32|win64
# forces one. Asked once: E2E_ARCH and E2E_ARCH_WHY carry the answer below.
# shellcheck shell=bash

# win32_runs: runs a 32-bit Windows program in a throwaway prefix. A loader
# that only prints its version is not proof: an emulated one may do that and
# still fail to run Wine. Prints why not when it fails.
win32_runs() {
  local out prefix
  [ -x /usr/lib/wine/wine ] ||
    { echo "32-bit Wine is not installed (its packages could not be had here)"; return 1; }
  out=$(/usr/lib/wine/wine --version 2>&1) ||
    { echo "the 32-bit Wine loader does not run here: ${out##*: }"; return 1; }
  prefix=$(mktemp -d)
  out=$(WINEARCH=win32 WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    timeout 180 /usr/lib/wine/wine cmd.exe /c echo ludora-win32-runs 2>&1)
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null
  rm -rf "$prefix"
  grep -q ludora-win32-runs <<<"$out" ||
    { echo "a 32-bit program did not run under Wine: $(tail -1 <<<"$out")"; return 1; }
}

# decide_target: sets and exports E2E_ARCH and E2E_ARCH_WHY.
decide_target() {
  [ -z "${E2E_ARCH:-}" ] || return 0
  local why forced=${LUDORA_E2E_ARCH:-}
  case "$forced" in
    win32 | "")
      if why=$(win32_runs); then
        E2E_ARCH=win32 E2E_ARCH_WHY="this machine runs 32-bit Windows programs under Wine"
      elif [ -z "$forced" ]; then
        E2E_ARCH=win64 E2E_ARCH_WHY=$why
      else
        echo "LUDORA_E2E_ARCH=win32, but $why" >&2
        return 1
      fi ;;
    win64)
      why=$(/usr/lib/wine/wine64 --version 2>&1) ||
        { echo "LUDORA_E2E_ARCH=win64, but 64-bit Wine does not run here: $why" >&2; return 1; }
      E2E_ARCH=win64 ;;
    *) echo "LUDORA_E2E_ARCH must be win32 or win64, not '$forced'" >&2; return 1 ;;
  esac
  [ -z "$forced" ] || E2E_ARCH_WHY="forced by LUDORA_E2E_ARCH"
  export E2E_ARCH E2E_ARCH_WHY
}

# use_target: the paths and the Wine of E2E_ARCH. For win64, `wine` and
# `wineboot` are wrappers first in PATH: Debian's own always take the 32-bit
# loader when it is installed.
use_target() {
  case "${E2E_ARCH:-win32}" in
    win32)
      export WINEARCH=win32
      E2E_BUILD=$E2E_ROOT/build/mingw
      OBJDUMP=i686-w64-mingw32-objdump
      DIST=${DIST:-$E2E_ROOT/dist}
      SETUP=${SETUP:-$E2E_ROOT/build/ludora-setup.exe} ;;
    win64)
      export WINEARCH=win64
      E2E_BUILD=$E2E_ROOT/build/mingw64
      OBJDUMP=x86_64-w64-mingw32-objdump
      DIST=${DIST:-$E2E_ROOT/build/dist64}
      SETUP=${SETUP:-$E2E_ROOT/build/ludora-setup64.exe}
      local bin=$E2E_ROOT/build/wine64-bin
      if [ ! -x "$bin/wineboot" ]; then
        mkdir -p "$bin"
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/wine"
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 wineboot.exe "$@"\n' >"$bin/wineboot"
        chmod +x "$bin/wine" "$bin/wineboot"
      fi
      case ":$PATH:" in *":$bin:"*) ;; *) export PATH="$bin:$PATH" ;; esac ;;
    *) echo "unknown end-to-end target '$E2E_ARCH'" >&2; return 1 ;;
  esac
  PROBE=${PROBE:-$E2E_BUILD/probe.exe}  # a stand-in game that logs how it started
  TRAYCLIENT=${TRAYCLIENT:-$E2E_BUILD/trayclient.exe}  # a program with a tray icon
  RECORDER=${RECORDER:-$E2E_BUILD/ludora-record.exe}
}
