#!/usr/bin/env bash
# Fails on an include against the layers: every `#include "folder/..."` in
# src/ must name the file's own folder or one that the file's row of the
# table in docs/architecture.md allows.
#   layers.sh <source root>
set -uo pipefail
root=$1
table="$root/docs/architecture.md"

declare -A allowed
while IFS='|' read -r _ _ folder uses _; do
  folder="$(sed -E 's/.*`src\/([a-z]+)\/`.*/\1/' <<<"$folder")"
  [[ "$folder" =~ ^[a-z]+$ ]] || continue
  allowed[$folder]=" $folder $(tr ',' ' ' <<<"$uses") "
done < <(grep -E '^\| [^|]+ \| `src/[a-z]+/` \|' "$table")
[ "${#allowed[@]}" -gt 0 ] || { echo "layers: no table in $table"; exit 1; }

bad=0
for dir in "$root"/src/*/; do
  folder="$(basename "$dir")"
  if [ -z "${allowed[$folder]:-}" ]; then
    echo "layers: src/$folder/ has no row in docs/architecture.md"
    bad=1
    continue
  fi
  while IFS=: read -r file line include; do
    used="${include%%/*}"
    if [[ "${allowed[$folder]}" != *" $used "* ]]; then
      echo "layers: ${file#"$root"/}:$line includes \"$include\": $folder may use${allowed[$folder]% }"
      bad=1
    fi
  done < <(grep -n -o -E '^#include "[a-z]+/[^"]+"' "$dir"* 2>/dev/null |
             sed -E 's/#include "([^"]+)"/\1/')
done
[ "$bad" -eq 0 ] && echo "layers: every include follows the table (${#allowed[@]} layers)"
exit "$bad"
