#!/usr/bin/env bash
# Runs once inside the emulated machine while its image is built: makes the
# Wine prefixes the end-to-end runs copy (a wineboot costs half a minute or
# more there) and notes where they are in /etc/vantrel-vm.env. image.sh puts
# scripts/wine-env.sh beside this script: the prefixes are made by the same
# helper as every other prefix.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# The machine runs 32-bit Wine (that is what it is for): no probe. Nothing
# of the work tree is here; only the Wine functions are used.
export VANTREL_WINE_ARCH=win32 VANTREL_WINE_ARCH_WHY="the emulated machine runs 32-bit Wine"
# shellcheck source=../wine-env.sh
. "$here/wine-env.sh"
templates=/opt/vantrel
mkdir -p "$templates"
: >/etc/vantrel-vm.env
for arch in win32 win64; do
  prefix="$templates/prefix-$arch"
  start=$SECONDS
  wine_select "$arch"
  wine_settled_prefix "$prefix" || { echo "prepare: wineboot made no $arch prefix"; exit 1; }
  # The registry reaches the disk when the server ends; the runs copy a
  # prefix no session is using.
  WINEPREFIX="$prefix" timeout 60 "$WINESERVER" -k || true
  WINEPREFIX="$prefix" timeout 60 "$WINESERVER" -w || true
  echo "prepare: $arch prefix in $((SECONDS - start)) s"
  echo "VANTREL_PREFIX_TEMPLATE_$arch=$prefix" >>/etc/vantrel-vm.env
done
cat /etc/vantrel-vm.env
