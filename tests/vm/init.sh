#!/bin/busybox sh
# Process 1 of the test machine, from its initial RAM disk. Loads the drivers, mounts the
# host's root (read-only) and the results folder (writable) over virtio-9p, gives the
# shared root the kernel file systems and scratch tmpfs, runs the boot's steps in a chroot
# of it and powers the machine off. The host reads the exit line from the console.
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
# The host stops a machine whose console stays silent: say that init has started.
echo "quillon-vm: init started"

finish() {
    echo "quillon-vm: exit $1"
    sync
    poweroff -f
}

# Modules in dependency order, one path a line.
while read -r module; do
    insmod "/$module" || { echo "quillon-vm: cannot load $module"; finish 97; }
done </modules.list
echo "quillon-vm: drivers loaded"

# The drive is probed after ata_piix has loaded; wait for its node.
tries=0
until [ -b /dev/sr0 ]; do
    tries=$((tries + 1))
    [ "$tries" -gt 300 ] && { echo "quillon-vm: no /dev/sr0"; finish 98; }
    sleep 0.1
done

R=/newroot
mkdir -p $R
ninep=trans=virtio,version=9p2000.L,msize=262144
mount -t 9p -o ro,cache=loose,$ninep hostroot $R || finish 96
mount -t proc proc $R/proc
mount -t sysfs sysfs $R/sys
mount -t devtmpfs devtmpfs $R/dev
mkdir -p $R/dev/pts $R/dev/shm
mount -t devpts devpts $R/dev/pts
# The source and build trees may lie below a folder that gets scratch tmpfs (a clone in
# /tmp): such a tree is held aside while the tmpfs is mounted, then moved back in place.
hold() {
    case "$2/" in /tmp/* | /run/* | /media/* | /dev/shm/* | /var/lib/udisks2/*) ;; *) return 0 ;; esac
    mkdir -p "/kept/$1" && mount -o bind "$R$2" "/kept/$1" || finish 93
}
restore() {
    [ -d "/kept/$1" ] || return 0
    mkdir -p "$R$2" && mount -o move "/kept/$1" "$R$2" || finish 93
}
hold source "$QUILLON_SOURCE"
hold build "$QUILLON_BUILD"
for dir in /dev/shm /run /tmp /media /var/lib/udisks2; do
    mount -t tmpfs tmpfs "$R$dir" || finish 95
done
restore source "$QUILLON_SOURCE"
restore build "$QUILLON_BUILD"
# The results folder sits where it is on the host, so both name files by the same path.
mount -t 9p -o rw,$ninep results "$R$QUILLON_RESULTS" || finish 94

# The channel to the host: a virtio-serial port, found by its name.
for port in /sys/class/virtio-ports/*; do
    [ "$(cat "$port/name" 2>/dev/null)" = quillon.link ] && export QUILLON_VM_LINK="/dev/${port##*/}"
done

export HOME=/tmp XDG_RUNTIME_DIR=/run/user/0 PATH=/usr/sbin:/usr/bin:/sbin:/bin LC_ALL=C.UTF-8
mkdir -p $R/run/user/0
chmod 0700 $R/run/user/0
chroot $R /bin/sh "$QUILLON_SOURCE/tests/vm/guest.sh"
finish $?
