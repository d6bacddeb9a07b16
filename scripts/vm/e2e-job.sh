#!/usr/bin/env bash
# Runs inside the emulated machine: the Win32 platform tests and the
# end-to-end cases of the 32-bit build, through the same ctest the host uses, on a copy of the work tree at the
# same absolute path (the shared one is read-only, and the prefixes belong
# on the machine's own disk). The host reads the ctest summary from the log.
#   job.env: VANTREL_ROOT (the work tree's path on the host, shared at /mnt/repo)
set -uo pipefail
start=$SECONDS
shared=/mnt/repo
root="${VANTREL_ROOT:?}"
mkdir -p "$root"
# Prefixes a host run may have left in the build tree are not copied.
tar -C "$shared" -cf - --exclude=./build/win32/tests/e2e/prefix --exclude=./build/win32/tests/e2e/prefix-owner \
    --exclude=./build/win32/tests/e2e/wow64 \
    --exclude=./build/win32/tests/win32/prefix --exclude=./build/win32/pack-prefix \
    ./CMakeLists.txt ./scripts ./tests ./samples ./docs ./build/win32 | tar -C "$root" -xf - ||
  { echo "vm: could not copy the work tree"; exit 1; }
# The pinned 7-Zip's licence, which the signed-bundle case bundles again;
# the rest of that package is the host's alone.
pin() { awk -v key="$1" '$1 == key { print $2; exit }' "$shared/scripts/7zip.txt"; }
licence=".tools/$(pin package)-$(pin version)/win/ia32/License.txt"
mkdir -p "$root/$(dirname "$licence")" && cp "$shared/$licence" "$root/$licence" ||
  { echo "vm: could not copy $licence"; exit 1; }
# Graph's pinned types, which the package builder's case checks its Intune
# apps against.
graph_pin() { awk -v key="$1" '$1 == key { print $2; exit }' "$shared/scripts/graph-types.txt"; }
graph=".tools/$(graph_pin package)-$(graph_pin version)/microsoft-graph.d.ts"
mkdir -p "$root/$(dirname "$graph")" && cp "$shared/$graph" "$root/$graph" ||
  { echo "vm: could not copy $graph"; exit 1; }
# The prefixes made when the image was built (copied, never used in place).
set -a
# shellcheck source=/dev/null  # written by prepare-prefixes.sh in the image
. /etc/vantrel-vm.env
set +a
echo "vm: work tree copied in $((SECONDS - start)) s; $(nproc) CPUs, $(free -m | awk '/^Mem:/ { print $2 }') MB"
cd "$root" || exit 1
# Everything of the 32-bit build's suite but the check of the file itself,
# which needs the cross tools and runs on the host, and the replay of the
# deployment tools' cycles: over a hundred Wine processes, a quarter of an
# hour emulated, for logic that is the same for both builds; the host's
# Wine runs it.
ctest --test-dir build/win32 -E '^(binary[.]|e2e[.]tool_cycles$)' --output-on-failure --timeout 900
