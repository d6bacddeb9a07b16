#!/usr/bin/env bash
# The table of layers in docs/architecture.md is the truth about the code:
# every `#include "folder/..."` in src/ names the file's own folder or one
# that its row allows; a row allows exactly the layers its folder includes,
# each of them listed above it (no cycle); and each folder's CMakeLists.txt
# links exactly those layers' targets.
#   layers.sh <source root>
set -uo pipefail
root=$1
table="$root/docs/architecture.md"

declare -A allowed
order=()
while IFS='|' read -r _ _ folder uses _; do
  folder="$(sed -E 's/.*`src\/([a-z]+)\/`.*/\1/' <<<"$folder")"
  [[ "$folder" =~ ^[a-z]+$ ]] || continue
  allowed[$folder]="$(tr ',' ' ' <<<"$uses" | xargs -n1 2>/dev/null | sort -u | xargs)"
  order+=("$folder")
done < <(grep -E '^\| [^|]+ \| `src/[a-z]+/` \|' "$table")
[ "${#allowed[@]}" -gt 0 ] || { echo "layers: no table in $table"; exit 1; }

bad=0
complain() { echo "layers: $*"; bad=1; }

# A layer's library target: vantrel_<folder>, the package builder's logic
# vantrel_pack_logic; a Windows part (vantrel_platform_win32) is its layer's.
layer_of_target() {
  case "$1" in
    vantrel_pack_logic) echo pack ;;
    vantrel_*_win32) local t="${1#vantrel_}"; echo "${t%_win32}" ;;
    vantrel_*) echo "${1#vantrel_}" ;;
  esac
}

declare -A seen
for folder in "${order[@]}"; do
  for use in ${allowed[$folder]}; do
    [ -n "${seen[$use]:-}" ] || complain "$folder's row allows $use, which is not listed above it"
  done
  seen[$folder]=1
done

for dir in "$root"/src/*/; do
  folder="$(basename "$dir")"
  if [ -z "${allowed[$folder]+set}" ]; then
    complain "src/$folder/ has no row in docs/architecture.md"
    continue
  fi
  used=""
  while IFS=: read -r file line include; do
    layer="${include%%/*}"
    [ "$layer" = "$folder" ] && continue
    used+=" $layer"
    if [[ " ${allowed[$folder]} " != *" $layer "* ]]; then
      complain "${file#"$root"/}:$line includes \"$include\": $folder may use ${allowed[$folder]:-nothing}"
    fi
  done < <(grep -n -o -E '^#include "[a-z]+/[^"]+"' "$dir"* 2>/dev/null |
             sed -E 's/#include "([^"]+)"/\1/')
  used="$(xargs -n1 <<<"$used" 2>/dev/null | sort -u | xargs)"
  [ "$used" = "${allowed[$folder]}" ] ||
    complain "$folder's row allows [${allowed[$folder]}], its files include [$used]"
  linked=""
  for target in $(tr '\n' ' ' <"$dir/CMakeLists.txt" | grep -o -E 'target_link_libraries\([^)]*\)' |
                    sed -E 's/target_link_libraries\([^ ]+ +(PUBLIC|PRIVATE|INTERFACE)?//; s/\)$//'); do
    layer="$(layer_of_target "$target")"
    [ -n "$layer" ] && [ "$layer" != "$folder" ] && linked+=" $layer"
  done
  linked="$(xargs -n1 <<<"$linked" 2>/dev/null | sort -u | xargs)"
  [ "$linked" = "$used" ] ||
    complain "src/$folder/CMakeLists.txt links [$linked], its files include [$used]"
done
[ "$bad" -eq 0 ] && echo "layers: every include follows the table, each row allows what its folder includes and its CMake target links (${#allowed[@]} layers)"
exit "$bad"
