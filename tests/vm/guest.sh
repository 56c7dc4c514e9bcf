#!/bin/sh
# The steps of one boot of the test machine, run by its init in a chroot of the host's root
# (read-only): the programs just built test the emulated drive /dev/sr0. QUILLON_BOOT names
# the boot (vmrun.py gives each its kernel command line), QUILLON_BUILD the build folder,
# QUILLON_RESULTS the folder shared writable with the host. Exits non-zero when a step fails.
bin=$QUILLON_BUILD/bin
export TMPDIR=/tmp QT_QPA_PLATFORM=offscreen
failed=0

# step NAME COMMAND...: runs a test program and notes whether it passed.
step() {
    name=$1
    shift
    echo "=== $name"
    start=$(date +%s)
    if "$@"; then verdict=passed; else verdict=FAILED; failed=1; fi
    echo "=== $name $verdict in $(($(date +%s) - start)) s"
}

case "$QUILLON_BOOT" in
poll)
    step "volumes, status, access, polling (UTC)" env TZ=UTC "$bin/tst_realdrive" \
        volumesMatchTheirImages driveStatus userWithoutAccess mediaEventsByPolling readersAgree
    step "two readers agree (Asia/Shanghai)" env TZ=Asia/Shanghai "$bin/tst_realdrive" readersAgree
    step "import through the main window" "$bin/tst_realimport"
    ;;
udev)
    # udev and a system bus with udisks, as a desktop has them, without systemd.
    /lib/systemd/systemd-udevd --daemon
    udevadm trigger --action=add
    udevadm settle --timeout=60
    mkdir -p /run/dbus
    # No service is started on demand: udisksd is started below, and a call to logind (which
    # udisks makes to hold off sleep while it mounts) then fails at once instead of waiting
    # for the bus's launch helper to give up after the mount's caller has.
    mount -t tmpfs -o ro tmpfs /usr/share/dbus-1/system-services
    dbus-daemon --system --fork
    /usr/libexec/udisks2/udisksd --no-debug >"$QUILLON_RESULTS/udisksd.log" 2>&1 &
    # Under emulation udisksd takes a while to probe the drives; a mount asked for before it
    # answers can get no reply. Wait until it owns its name, then until it lists the devices
    # (a minute at most).
    tries=0
    until dbus-send --system --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.UDisks2 2>/dev/null | grep -q 'boolean true' &&
        udisksctl status >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ "$tries" -gt 60 ] && { echo "guest.sh: udisksd does not answer"; break; }
        sleep 1
    done
    step "media events through udev, a mounted disc" env TZ=UTC QT_LOGGING_RULES=quillon.drives.info=true \
        "$bin/tst_realdrive" \
        mediaEventsThroughUdev mountedDisc
    ;;
*)
    echo "guest.sh: no boot named '$QUILLON_BOOT'"
    failed=1
    ;;
esac
exit $failed
