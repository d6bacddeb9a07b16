#!/usr/bin/env bash
# Boots the emulated machine of <image folder> (made by image.sh) once: the
# guest runs <ctl folder>/job.sh, writes job.rc and job.log there, and powers
# off. <repo folder>, if given, is shared read-only. --keep writes into the
# image itself (its preparation); otherwise every change is thrown away.
#   boot.sh [--keep] <image folder> <ctl folder> <time limit, s> [repo folder]
# Uses KVM when /dev/kvm can be opened and VANTREL_VM_ACCEL is not "tcg",
# but starts again with TCG when the guest has not reached its init within
# VANTREL_VM_INIT_WAIT seconds (60) under KVM; TCG otherwise. Says which ran.
set -euo pipefail

snapshot=on
if [ "${1:-}" = --keep ]; then snapshot=off; shift; fi
[ $# -ge 3 ] || { echo "usage: boot.sh [--keep] <image folder> <ctl folder> <seconds> [repo folder]" >&2; exit 2; }
image=$1 ctl=$2 limit=$3 repo=${4:-}

share=(-virtfs "local,path=$ctl,mount_tag=ctl,security_model=none,id=ctl")
if [ -n "$repo" ]; then
  share+=(-virtfs "local,path=$repo,mount_tag=repo,security_model=none,id=repo,readonly=on")
fi
cpus="$(nproc)"
[ "$cpus" -le 4 ] || cpus=4
# The guest's init creates job.log in the ctl folder as it starts the job:
# proof that the machine came up.
init_wait="${VANTREL_VM_INIT_WAIT:-60}"

# boot_with <kvm|tcg> <time limit, s> <watch>: one boot. With watch=yes a
# guest that has not reached its init within init_wait seconds is stopped
# and the result is 125.
boot_with() {
  local name=$1 seconds=$2 watch=$3 accel qemu waited=0
  # shellcheck disable=SC2054  # QEMU option values are comma lists
  if [ "$name" = kvm ]; then accel=(-accel kvm); else accel=(-accel tcg,thread=multi); fi
  rm -f "$ctl/job.rc" "$ctl/job.log"
  echo "boot: accelerator $name" >&2
  # smap=off: with it on, QEMU 7.2's TCG kills every 32-bit process in a
  # guest kernel page fault. panic=1 with -no-reboot ends QEMU on a guest
  # panic. The console's terminal controls (from the firmware) are dropped.
  timeout -k 10 "$seconds" qemu-system-x86_64 "${accel[@]}" -cpu max,smap=off \
    -smp "$cpus" -m "${VANTREL_VM_MEMORY:-4G}" -nographic -no-reboot -nodefaults -serial stdio \
    -kernel "$image/vmlinuz" -initrd "$image/initrd.img" \
    -append "console=ttyS0 root=/dev/vda rw rootfstype=ext4 init=/sbin/vantrel-init panic=1 quiet" \
    -drive "file=$image/rootfs.img,format=raw,if=virtio,cache=unsafe,snapshot=$snapshot" \
    "${share[@]}" </dev/null > >(sed -u -e 's/\r//g' -e 's/\x1b\[[0-9;?]*[A-Za-z]//g' -e 's/\x1bc//g') &
  qemu=$!
  if [ "$watch" = yes ]; then
    while [ ! -e "$ctl/job.log" ] && kill -0 "$qemu" 2>/dev/null && [ "$waited" -lt "$init_wait" ]; do
      sleep 1
      waited=$((waited + 1))
    done
    if [ ! -e "$ctl/job.log" ]; then
      kill "$qemu" 2>/dev/null
      wait "$qemu" 2>/dev/null
      return 125
    fi
  fi
  wait "$qemu"
}

start=$SECONDS
set +e
# Nested KVM can open /dev/kvm and still stop the guest kernel early (seen:
# nothing after "Probing EDD"); TCG boots the same image.
if [ "${VANTREL_VM_ACCEL:-auto}" != tcg ] && [ -r /dev/kvm ] && [ -w /dev/kvm ]; then
  boot_with kvm "$limit" yes
  qemu_rc=$?
  if [ ! -e "$ctl/job.log" ]; then
    echo "boot: under KVM the guest did not reach its init within ${init_wait} s (qemu exit $qemu_rc); starting again with TCG" >&2
    boot_with tcg "$((limit - (SECONDS - start)))" no
    qemu_rc=$?
  fi
else
  boot_with tcg "$limit" no
  qemu_rc=$?
fi
set -e
if [ ! -f "$ctl/job.rc" ]; then
  echo "boot: the machine ended (qemu exit $qemu_rc) before its job finished" >&2
  exit 1
fi
exit "$(cat "$ctl/job.rc")"
