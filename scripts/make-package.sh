#!/usr/bin/env bash
# Builds a package from a folder the way these packages are made: every INF as
# a single-file cabinet "<name>.in_", every other file together in one
# "<folder name>.cab", both at the top of a 7z archive. Cabinets store bare
# names, since the installer expands them straight into flat folders.
#
#   scripts/make-package.sh <folder> <out.7z>
set -euo pipefail

die() { echo "make-package: $*" >&2; exit 1; }

[ $# -eq 2 ] || die "usage: make-package.sh <folder> <out.7z>"
src="$1"
out="$2"
[ -n "$src" ] || die "the folder name is empty"
[ -n "$out" ] || die "the output name is empty"
[ -d "$src" ] || die "no such folder: $src"
for tool in gcab 7z; do
  command -v "$tool" >/dev/null 2>&1 || die "'$tool' is not installed (apt-get install gcab p7zip-full)"
done

src="$(cd "$src" && pwd)"
out_dir="$(dirname -- "$out")"
[ -d "$out_dir" ] || die "the output folder does not exist: $out_dir"
out="$(cd "$out_dir" && pwd)/$(basename -- "$out")"
case "$out" in
  "$src"/*) die "the output must not be inside the folder being packed" ;;
esac

infs=()
others=()
while IFS= read -r -d '' entry; do
  name="$(basename -- "$entry")"
  if [ -d "$entry" ]; then
    die "subfolders are not supported (cabinets hold bare names): $name"
  fi
  [ -f "$entry" ] || die "not a regular file: $name"
  case "${name,,}" in
    *.inf) infs+=("$name") ;;
    *) others+=("$name") ;;
  esac
done < <(find "$src" -mindepth 1 -maxdepth 1 -print0 | sort -z)

[ $(( ${#infs[@]} + ${#others[@]} )) -gt 0 ] || die "the folder is empty: $src"

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT

for inf in "${infs[@]}"; do
  # foo.inf -> foo.in_, the usual name of a compressed file.
  (cd "$src" && gcab -c -z -n "$stage/${inf%?}_" "$inf") || die "gcab failed for $inf"
done
if [ ${#others[@]} -gt 0 ]; then
  cab_name="$(basename -- "$src")"
  cab_name="${cab_name// /_}"
  (cd "$src" && gcab -c -z -n "$stage/${cab_name:-payload}.cab" "${others[@]}") ||
    die "gcab failed for the payload files"
fi

# 7z adds to an archive that already exists; a package is always made whole.
rm -f -- "$out"
(cd "$stage" && 7z a -t7z -bd -y "$out" ./* >/dev/null) || die "7z failed to write $out"
echo "make-package: $out (${#infs[@]} INF, ${#others[@]} other file(s))"
