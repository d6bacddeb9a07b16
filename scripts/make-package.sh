#!/usr/bin/env bash
# Makes a package with the shipped package builder: vantrel-pack.exe from the
# build's release bundle, run under Wine, so that what the demo, the tests and
# the benchmark install was made the way administrators make it. Its exit
# code and messages are vantrel-pack's own (see its --help).
#
#   scripts/make-package.sh <folder> <out.7z>
#
# Runs in the caller's WINEPREFIX when one is set (an end-to-end case, the
# demo), otherwise in a scratch prefix made once under build/.
set -euo pipefail

die() { echo "make-package: $*" >&2; exit 1; }
[ $# -eq 2 ] || die "usage: make-package.sh <folder> <out.7z>"

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"

bundle="${VANTREL_BUNDLE:-}"
[ -n "$bundle" ] || bundle="$(ls "$VANTREL_BUILD"/vantrel-*-"$VANTREL_WINE_ARCH".zip 2>/dev/null | head -n 1)"
[ -f "$bundle" ] || die "no release bundle in $VANTREL_BUILD (bash scripts/build.sh makes it)"

# Unpacked once per bundle, beside it; a newer bundle replaces the copy. The
# copy is made aside and moved in whole, so a run never sees half of it.
tool="$(dirname "$bundle")/pack-tool"
if [ ! -f "$tool/vantrel-pack.exe" ] || [ "$bundle" -nt "$tool/.unpacked" ]; then
  fresh="$(mktemp -d "$tool.XXXX")"
  unzip -q -j "$bundle" -d "$fresh" || die "cannot unpack $bundle"
  touch "$fresh/.unpacked"
  rm -rf "$tool"
  mv "$fresh" "$tool"
fi

if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX="$VANTREL_BUILD/pack-prefix"
  if ! wine_prefix_settled "$WINEPREFIX"; then
    wine_settled_prefix "$WINEPREFIX" || die "could not make the Wine prefix $WINEPREFIX"
  fi
fi

# Wine's drive Z: is the Unix root, so an absolute path needs no winepath.
windows_path() {
  local path="$1"
  case "$path" in /*) ;; *) path="$PWD/$path" ;; esac
  path="Z:${path//\//\\}"
  printf '%s' "${path%\\}"
}

set +e
wine_run 300 "$tool/vantrel-pack.exe" "$(windows_path "$1")" "$(windows_path "$2")"
code=$?
set -e
[ "$code" -ne 124 ] || echo "make-package: vantrel-pack.exe did not end within 300 s" >&2
exit "$code"
