#!/usr/bin/env bash
# Boots the emulated machine of <image folder> (made by image.sh) once: the
# guest runs <ctl folder>/job.sh, writes job.rc and job.log there, and powers
# off. <repo folder>, if given, is shared read-only. --keep writes into the
# image itself (its preparation); otherwise every change is thrown away.
#   boot.sh [--keep] <image folder> <ctl folder> <time limit, s> [repo folder]
# Uses KVM when /dev/kvm can be opened and VANTREL_VM_ACCEL is not "tcg";
# TCG otherwise (QEMU takes the first accelerator that works).
set -euo pipefail

snapshot=on
if [ "${1:-}" = --keep ]; then snapshot=off; shift; fi
[ $# -ge 3 ] || { echo "usage: boot.sh [--keep] <image folder> <ctl folder> <seconds> [repo folder]" >&2; exit 2; }
image=$1 ctl=$2 limit=$3 repo=${4:-}

# shellcheck disable=SC2054  # QEMU option values are comma lists
accel=(-accel tcg,thread=multi)
if [ "${VANTREL_VM_ACCEL:-auto}" != tcg ] && [ -r /dev/kvm ] && [ -w /dev/kvm ]; then
  accel=(-accel kvm "${accel[@]}")
fi
share=(-virtfs "local,path=$ctl,mount_tag=ctl,security_model=none,id=ctl")
if [ -n "$repo" ]; then
  share+=(-virtfs "local,path=$repo,mount_tag=repo,security_model=none,id=repo,readonly=on")
fi
cpus="$(nproc)"
[ "$cpus" -le 4 ] || cpus=4

rm -f "$ctl/job.rc"
# smap=off: with it on, QEMU 7.2's TCG kills every 32-bit process in a guest
# kernel page fault. panic=1 with -no-reboot ends QEMU on a guest panic.
# The console's terminal controls (from the firmware) are dropped.
set +e
timeout -k 10 "$limit" qemu-system-x86_64 "${accel[@]}" -cpu max,smap=off \
  -smp "$cpus" -m "${VANTREL_VM_MEMORY:-4G}" -nographic -no-reboot -nodefaults -serial stdio \
  -kernel "$image/vmlinuz" -initrd "$image/initrd.img" \
  -append "console=ttyS0 root=/dev/vda rw rootfstype=ext4 init=/sbin/vantrel-init panic=1 quiet" \
  -drive "file=$image/rootfs.img,format=raw,if=virtio,cache=unsafe,snapshot=$snapshot" \
  "${share[@]}" </dev/null | sed -u -e 's/\r//g' -e 's/\x1b\[[0-9;?]*[A-Za-z]//g' -e 's/\x1bc//g'
qemu_rc=${PIPESTATUS[0]}
set -e
if [ ! -f "$ctl/job.rc" ]; then
  echo "boot: the machine ended (qemu exit $qemu_rc) before its job finished" >&2
  exit 1
fi
exit "$(cat "$ctl/job.rc")"
