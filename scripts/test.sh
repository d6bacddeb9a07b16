#!/usr/bin/env bash
# Sets the machine up, builds everything and runs every test: the unit tests
# and the fuzz smoke run (native), then the Windows platform tests and the
# end-to-end tests under Wine, and, where this host runs no 32-bit code, the
# 32-bit build's end-to-end tests in an emulated machine (scripts/vm/).
# Ends with one line "N passed, N failed".
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root" || exit 1

bash scripts/setup.sh || { echo "0 passed, 1 failed"; exit 1; }
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
wine_arch_note

bash scripts/build.sh || { echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
# count_summary <name> <log>: adds the last ctest summary in <log> to the
# totals; a run that gave none counts as one failure.
count_summary() {
  local summary total bad
  summary="$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$2" | tail -n 1)"
  if [ -z "$summary" ]; then
    echo "$1: ctest gave no summary"
    failed=$((failed + 1))
    return
  fi
  total="$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")"
  bad="$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")"
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}
run_suite() {  # <name> <build folder> [ctest options...]
  local name=$1 dir=$2 log
  shift 2
  log="$(mktemp)"
  echo "== $name"
  ctest --test-dir "$dir" --output-on-failure --timeout 900 "$@" 2>&1 | tee "$log"
  count_summary "$name" "$log"
  rm -f "$log"
}

run_suite "native: unit tests and fuzz smoke run" build/native
run_suite "windows ($VANTREL_WINE_ARCH): platform and end-to-end tests under Wine" "$VANTREL_BUILD"
# Both builds ship: the one whose Wine tests did not run here is still
# checked for what it is and what it imports.
for other in build/win32 build/win64; do
  if [ "$VANTREL_BUILD" != "$root/$other" ]; then
    run_suite "windows (${other#build/}): the shipped files" "$other" -L binary
  fi
done

# The release is reproducible: each bundle built again from a copy of the
# sources in another folder is the same, byte for byte.
for arch in win32 win64; do
  echo "== reproducible: the $arch bundle built again elsewhere"
  if bash scripts/check-reproducible.sh "$arch"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done

# The shipped 32-bit program's platform and end-to-end tests, where this host
# could not run them: inside an emulated machine, after every host stage.
# VANTREL_FORCE_VM=1 takes this stage on a host that runs 32-bit code too.
if [ "$VANTREL_BUILD" != "$root/build/win32" ] || [ "${VANTREL_FORCE_VM:-0}" = 1 ]; then
  echo "== windows (win32): platform and end-to-end tests in an emulated x86-64 machine"
  log="$(mktemp)"
  bash scripts/vm/stage.sh 2>&1 | tee "$log"
  count_summary "emulated machine" "$log"
  rm -f "$log"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
