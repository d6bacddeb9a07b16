#!/usr/bin/env bash
# Runs once inside the emulated machine while its image is built: makes the
# Wine prefixes the end-to-end runs copy (a wineboot costs half a minute or
# more there) and notes where they are in /etc/vantrel-vm.env.
set -euo pipefail
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
templates=/opt/vantrel
mkdir -p "$templates"
: >/etc/vantrel-vm.env
for arch in win32 win64; do
  prefix="$templates/prefix-$arch"
  rm -rf "$prefix"
  start=$SECONDS
  if [ "$arch" = win32 ]; then loader=/usr/lib/wine/wine; else loader=/usr/lib/wine/wine64; fi
  WINEPREFIX="$prefix" WINEARCH=$arch timeout -k 10 600 "$loader" wineboot -i >/dev/null 2>&1
  # The registry reaches the disk when the server ends.
  WINEPREFIX="$prefix" timeout 60 /usr/lib/wine/wineserver -k || true
  WINEPREFIX="$prefix" timeout 60 /usr/lib/wine/wineserver -w || true
  if [ ! -f "$prefix/system.reg" ] || [ ! -d "$prefix/drive_c/windows/system32" ]; then
    echo "prepare: wineboot made no $arch prefix"
    exit 1
  fi
  echo "prepare: $arch prefix in $((SECONDS - start)) s"
  echo "VANTREL_PREFIX_TEMPLATE_$arch=$prefix" >>/etc/vantrel-vm.env
done
cat /etc/vantrel-vm.env
