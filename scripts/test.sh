#!/usr/bin/env bash
# Sets the machine up, builds everything and runs every test: the unit tests
# and the fuzz smoke run (native), then the Windows platform tests and the
# end-to-end tests under Wine. Ends with one line "N passed, N failed".
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/setup.sh || { echo "0 passed, 1 failed"; exit 1; }
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
wine_arch_note

bash scripts/build.sh || { echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
run_suite() {  # <name> <build folder> [ctest options...]
  local name=$1 dir=$2 log
  shift 2
  log="$(mktemp)"
  echo "== $name"
  ctest --test-dir "$dir" --output-on-failure --timeout 900 "$@" 2>&1 | tee "$log"
  local summary
  summary="$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)"
  if [ -z "$summary" ]; then
    echo "$name: ctest gave no summary"
    failed=$((failed + 1))
  else
    local total bad
    total="$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")"
    bad="$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")"
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
  rm -f "$log"
}

run_suite "native: unit tests and fuzz smoke run" build/native
run_suite "windows ($VANTREL_WINE_ARCH): platform and end-to-end tests under Wine" "$VANTREL_BUILD"
if [ "$VANTREL_BUILD" != "$root/build/win32" ]; then
  # The Wine tests ran the 64-bit twin; the shipped 32-bit program is still
  # checked for what it is and what it imports.
  run_suite "windows (win32): the shipped program" build/win32 -L binary
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
