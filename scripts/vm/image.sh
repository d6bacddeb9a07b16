#!/usr/bin/env bash
# Prints the folder of the emulated machine's image (vmlinuz, initrd.img,
# rootfs.img), building it first unless a cached one matches this recipe.
# The cache lives outside the work tree, in VANTREL_VM_CACHE
# (/var/cache/vantrel-vm), one folder per hash of the files the image is made
# from. Needs root (debootstrap, chroot) and scripts/setup.sh's host packages.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cache="${VANTREL_VM_CACHE:-/var/cache/vantrel-vm}"
recipe=("$here/image.sh" "$here/packages.txt" "$here/init.sh" "$here/prepare-prefixes.sh" "$here/../wine-env.sh")
key="$(cat "${recipe[@]}" | sha256sum | cut -c1-16)"
dir="$cache/$key"
log() { echo "vm image: $*" >&2; }

mkdir -p "$cache"
exec 9>"$cache/.lock"
flock 9
if [ -f "$dir/ready" ]; then
  touch "$dir/ready"
  log "cached $dir"
  echo "$dir"
  exit 0
fi
# Images of other recipes that nothing used for a week are only disk space.
find "$cache" -mindepth 2 -maxdepth 2 -name ready -mtime +7 -printf '%h\n' | xargs -r rm -rf

# The guest uses the mirror apt uses on this machine.
sources=/etc/apt/sources.list.d/debian.sources
mirror="$(awk '/^URIs:/ { print $2; exit }' "$sources")"
[ -n "$mirror" ] || { log "no mirror found in $sources"; exit 1; }

start=$SECONDS
work="$dir.partial"
rootfs="$work/rootfs"
rm -rf "$work"
mkdir -p "$rootfs"
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT

packages=()
while read -r package; do packages+=("$package"); done < <(sed -e 's/#.*//' -e '/^\s*$/d' "$here/packages.txt")

log "debootstrap bookworm from $mirror"
debootstrap --arch=amd64 --variant=minbase --include=ca-certificates,kmod,udev,procps,e2fsprogs \
  bookworm "$rootfs" "$mirror" >"$work/debootstrap.log" 2>&1 ||
  { tail -20 "$work/debootstrap.log" >&2; exit 1; }
cp "$sources" "$rootfs/etc/apt/sources.list.d/"
rm -f "$rootfs/etc/apt/sources.list"
# No service may start inside the chroot.
printf '#!/bin/sh\nexit 101\n' >"$rootfs/usr/sbin/policy-rc.d"
chmod +x "$rootfs/usr/sbin/policy-rc.d"
for fs in proc sys dev dev/pts; do
  case $fs in
    proc) mount -t proc proc "$rootfs/proc" ;;
    sys) mount -t sysfs sys "$rootfs/sys" ;;
    dev) mount --bind /dev "$rootfs/dev" ;;
    dev/pts) mount -t devpts devpts "$rootfs/dev/pts" ;;
  esac
  mounted+=("$rootfs/$fs")
done

in_root() { DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 chroot "$rootfs" "$@"; }
in_root dpkg --add-architecture i386
in_root apt-get update -qq
log "installing ${packages[*]}"
# The i386 maintainer scripts cannot run on a host without IA-32 execution;
# only glib's schema and module caches are affected, and Wine needs neither.
in_root apt-get install -y -qq --no-install-recommends "${packages[@]}" >"$work/apt.log" 2>&1 ||
  { tail -30 "$work/apt.log" >&2; exit 1; }
in_root apt-get clean
rm -rf "$rootfs"/var/lib/apt/lists/*
cleanup
mounted=()

install -m 755 "$here/init.sh" "$rootfs/sbin/vantrel-init"
echo /dev/vda / ext4 defaults 0 1 >"$rootfs/etc/fstab"
kernel="$(ls "$rootfs"/boot/vmlinuz-* | tail -n 1)"
initrd="$(ls "$rootfs"/boot/initrd.img-* | tail -n 1)"
cp "$kernel" "$work/vmlinuz"
cp "$initrd" "$work/initrd.img"

size_mb=$(( $(du -sm "$rootfs" | cut -f1) + 4096 ))
truncate -s "${size_mb}M" "$work/rootfs.img"
mkfs.ext4 -F -q -d "$rootfs" "$work/rootfs.img"
rm -rf "$rootfs"
log "root file system and image in $((SECONDS - start)) s"

# The Wine prefixes are made by the guest's own 32-bit Wine, once.
ctl="$work/ctl"
mkdir -p "$ctl"
cp "$here/prepare-prefixes.sh" "$ctl/job.sh"
cp "$here/../wine-env.sh" "$ctl/wine-env.sh"
# Generous: a busy host makes the emulated machine several times slower.
if ! "$here/boot.sh" --keep "$work" "$ctl" 2400 >&2; then
  log "preparing the prefixes failed"
  cat "$ctl/job.log" >&2 2>/dev/null || true
  exit 1
fi
rm -rf "$ctl"
mv "$work" "$dir"
touch "$dir/ready"
log "built $dir in $((SECONDS - start)) s"
echo "$dir"
