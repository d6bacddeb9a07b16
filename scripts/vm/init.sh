#!/bin/sh
# The emulated machine's first process: mounts what Wine and Xvfb need, runs
# the job the host left in the "ctl" shared folder, and powers off. Whatever
# happens, the machine ends; the host reads job.rc to know how.
PATH=/usr/sbin:/usr/bin:/sbin:/bin
export PATH HOME=/root
# The initramfs may have mounted these already.
mount -t proc proc /proc 2>/dev/null
mount -t sysfs sys /sys 2>/dev/null
mount -t devtmpfs dev /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /run
mount -t tmpfs tmpfs /tmp
hostname vantrel-vm
modprobe 9pnet_virtio
modprobe 9p
opts=trans=virtio,version=9p2000.L,msize=512000
mkdir -p /mnt/ctl /mnt/repo
mount -t 9p -o "$opts" ctl /mnt/ctl
# The repository is shared only for the test runs, not while the image is made.
if grep -qsw repo /sys/bus/virtio/drivers/9pnet_virtio/*/mount_tag; then
  mount -t 9p -o "$opts,ro" repo /mnt/repo
fi
if [ -f /mnt/ctl/job.sh ]; then
  # The host passes the job's settings as a file; the job's output goes both
  # to the console (the host shows it live) and to a log the host keeps.
  bash -c 'set -a; [ -f /mnt/ctl/job.env ] && . /mnt/ctl/job.env; set +a
           bash /mnt/ctl/job.sh; echo $? >/mnt/ctl/job.rc' 2>&1 |
    tee /mnt/ctl/job.log >/dev/console
else
  echo "vantrel-vm: no job in the ctl folder" >/dev/console
fi
sync
umount /mnt/repo 2>/dev/null
umount /mnt/ctl
mount -o remount,ro /
echo o >/proc/sysrq-trigger
sleep 30
