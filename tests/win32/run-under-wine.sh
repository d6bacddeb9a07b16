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

# The program was built for one architecture: no probe, that one is used.
if [ "$arch" = x86_64 ]; then VANTREL_WINE_ARCH=win64; else VANTREL_WINE_ARCH=win32; fi
VANTREL_WINE_ARCH_WHY="the test program is $arch"
export VANTREL_WINE_ARCH VANTREL_WINE_ARCH_WHY
# shellcheck source=../../scripts/wine-env.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
export WINEPREFIX="$prefix"

cleanup() {
  wine_stop
  rm -rf "$prefix"
}
trap cleanup EXIT
# A copy where the machine keeps a ready-made prefix (the emulated one).
wine_settled_prefix "$prefix"
# A link for the tests to meet: Wine shows a Unix symbolic link as a reparse
# point, and a Windows program cannot make one here.
mkdir -p "$prefix/drive_c/link-test/target" "$prefix/drive_c/link-test/tree"
echo keep >"$prefix/drive_c/link-test/target/keep.txt"
ln -sfn ../target "$prefix/drive_c/link-test/tree/link"
wine_run 300 "$program" "$@"
