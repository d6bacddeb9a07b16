#!/usr/bin/env bash
# The 32-bit stage for hosts whose kernel runs no 32-bit code: boots the
# emulated machine (image.sh, boot.sh) and runs the 32-bit build's platform
# and end-to-end tests there (e2e-job.sh) against build/win32, which must be
# built. Its output ends with the guest's ctest summary; the whole log is
# kept in build/vm/e2e.log. Prints the stage's time.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
here="$root/scripts/vm"
start=$SECONDS
out="$root/build/vm"
mkdir -p "$out"

finish() {
  echo "vm: 32-bit stage took $((SECONDS - start)) s (${1})"
}

if ! image="$(bash "$here/image.sh")"; then
  finish "no image"
  exit 1
fi
echo "vm: image ready after $((SECONDS - start)) s"

ctl="$(mktemp -d /var/tmp/vantrel-vm-run.XXXXXX)"
trap 'rm -rf "$ctl"' EXIT
cp "$here/e2e-job.sh" "$ctl/job.sh"
printf 'VANTREL_ROOT=%q\n' "$root" >"$ctl/job.env"
rc=0
bash "$here/boot.sh" "$image" "$ctl" "${VANTREL_VM_TIMEOUT:-2400}" "$root" || rc=$?
cp "$ctl/job.log" "$out/e2e.log" 2>/dev/null
finish "machine exit $rc"
exit "$rc"
