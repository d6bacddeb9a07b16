#!/usr/bin/env bash
# Runs one Windows test program under Wine in a throwaway prefix.
# Usage: run-under-wine.sh <i686|x86_64> <prefix folder> <program.exe> [args...]
set -euo pipefail

# With a display the form's window can really be made and checked; the whole
# Wine session (prefix included) must see it. Without Xvfb that one test
# skips itself.
if [ -z "${DISPLAY:-}" ] && [ -z "${VANTREL_UNDER_XVFB:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
  export VANTREL_UNDER_XVFB=1
  exec xvfb-run -a bash "$0" "$@"
fi

arch=$1 prefix=$2 program=$3
shift 3

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 WINEPREFIX="$prefix"
if [ "$arch" = x86_64 ]; then
  export WINELOADER=/usr/lib/wine/wine64
  wine=/usr/lib/wine/wine64
else
  wine=wine
fi

cleanup() {
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
}
trap cleanup EXIT
rm -rf "$prefix"
timeout 300 "$wine" wineboot -i >/dev/null 2>&1
timeout 300 "$wine" "$program" "$@"
