#!/usr/bin/env bash
# Runs inside the emulated machine: the end-to-end cases of the 32-bit build,
# through the same ctest the host uses, on a copy of the work tree at the
# same absolute path (the shared one is read-only, and the prefixes belong
# on the machine's own disk). The host reads the ctest summary from the log.
#   job.env: VANTREL_ROOT (the work tree's path on the host, shared at /mnt/repo)
set -uo pipefail
start=$SECONDS
shared=/mnt/repo
root="${VANTREL_ROOT:?}"
mkdir -p "$root"
# Prefixes a host run may have left in the build tree are not copied.
tar -C "$shared" -cf - --exclude=./build/win32/tests/e2e/prefix --exclude=./build/win32/tests/e2e/wow64 \
    --exclude=./build/win32/tests/win32/prefix \
    ./CMakeLists.txt ./scripts ./tests ./samples ./docs ./build/win32 | tar -C "$root" -xf - ||
  { echo "vm: could not copy the work tree"; exit 1; }
# The prefixes made when the image was built (copied, never used in place).
set -a
. /etc/vantrel-vm.env
set +a
echo "vm: work tree copied in $((SECONDS - start)) s; $(nproc) CPUs, $(free -m | awk '/^Mem:/ { print $2 }') MB"
cd "$root"
ctest --test-dir build/win32 -L e2e --output-on-failure --timeout 900
