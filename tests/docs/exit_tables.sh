#!/usr/bin/env bash
# The README's exit-code tables hold exactly the codes of the programs' exit
# tables: the install's first, the removal's second.
#   exit_tables.sh <source root>
set -uo pipefail
root=$1

codes_of_header() {
  grep -o -E '^  k[A-Za-z0-9]+ = [0-9]+,' "$1" | sed -E 's/.* = ([0-9]+),/\1/' | sort -un | tr '\n' ' '
}
# readme_table <n>: the codes of the README's n-th "| exit code | meaning |" table.
readme_table() {
  awk -v want="$1" '
    /^\| exit code \| meaning \|/ { table++; inside = (table == want); next }
    inside && /^\| *[0-9]+ *\|/ { split($0, cells, "|"); gsub(/ /, "", cells[2]); print cells[2]; next }
    inside && !/^\|/ { inside = 0 }
  ' "$root/README.md" | sort -un | tr '\n' ' '
}

bad=0
check() {  # <program> <header> <table number>
  local header readme
  header="$(codes_of_header "$root/$2")"
  readme="$(readme_table "$3")"
  if [ -z "$header" ] || [ "$header" != "$readme" ]; then
    echo "exit tables: $1: $2 has codes [${header% }], the README's table [${readme% }]"
    bad=1
  else
    echo "exit tables: $1: ${header% }"
  fi
}
check vantrel.exe src/run/install_exits.h 1
check vantrel-remove.exe src/run/remove_exits.h 2
exit "$bad"
