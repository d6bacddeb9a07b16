#!/usr/bin/env bash
# Builds the release bundle of <win32|win64> a second time, from a copy of
# the sources in another folder, and compares it with the one in
# build/<arch>: the zip byte for byte and, should it differ, every file in
# it. Needs build/<arch> to be built. Prints the SHA-256 of both zips.
#   check-reproducible.sh <win32|win64>
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
arch=${1:?usage: check-reproducible.sh <win32|win64>}
case "$arch" in
  win32) toolchain=cmake/mingw-i686.cmake sevenzip_dir=ia32 ;;
  win64) toolchain=cmake/mingw-x86_64.cmake sevenzip_dir=x64 ;;
  *) echo "check-reproducible: the architecture must be win32 or win64" >&2; exit 2 ;;
esac
version="$(sed -n 's/^project(Vantrel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
first="$root/build/$arch/vantrel-$version-$arch.zip"
[ -f "$first" ] || { echo "check-reproducible: no $first (build first)"; exit 1; }

# Another folder, of another length, at another time.
work="$(mktemp -d /tmp/vantrel-reproducible-elsewhere.XXXXXX)"
trap 'rm -rf "$work"' EXIT
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$root" && git ls-files -z | xargs -0 cp --parents -t "$work")
else
  tar -C "$root" --exclude=./build --exclude=./.tools --exclude=./.git -cf - . | tar -C "$work" -xf -
fi
pin_field() { awk -v key="$1" '$1 == key { print $2; exit }' "$root/scripts/7zip.txt"; }
sevenzip="$root/.tools/$(pin_field package)-$(pin_field version)/win/$sevenzip_dir"
log="$work/build.log"
if ! (cmake --no-warn-unused-cli -S "$work" -B "$work/again" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVANTREL_7ZIP_DIR="$sevenzip" &&
      cmake --build "$work/again" -j "$(nproc)" --target bundle) >"$log" 2>&1; then
  tail -30 "$log"
  echo "FAIL: the second build of $arch failed"
  exit 1
fi
second="$work/again/vantrel-$version-$arch.zip"
echo "first:  $(sha256sum "$first" | cut -d' ' -f1)  $first"
echo "second: $(sha256sum "$second" | cut -d' ' -f1)  (built in $work)"
if cmp -s "$first" "$second"; then
  echo "ok:   the $arch bundle is the same, byte for byte"
  exit 0
fi
mkdir -p "$work/a" "$work/b"
unzip -q "$first" -d "$work/a" && unzip -q "$second" -d "$work/b"
(cd "$work/a" && find . -type f | sort) | while read -r file; do
  cmp -s "$work/a/$file" "$work/b/$file" || echo "      differs: $file ($(cmp "$work/a/$file" "$work/b/$file" 2>&1 | head -1))"
done
echo "FAIL: the $arch bundle differs when built again elsewhere"
exit 1
