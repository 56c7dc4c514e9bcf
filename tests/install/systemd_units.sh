#!/usr/bin/env bash
# The systemd user timer and service of the daily update pass systemd-analyze verify, with
# the service's command pointing at the quillon-cli just built (installed, systemd finds it
# by name), and the timer is not enabled by anything the package holds.
#   systemd_units.sh SOURCE_DIR QUILLON_CLI
set -euo pipefail
SOURCE=$1 CLI=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -m 700 "$WORK/run"
cp "$SOURCE"/resources/linux/quillon-update.timer "$SOURCE"/resources/linux/quillon-update.service "$WORK"
grep -q '^ExecStart=quillon-cli update --all-folders$' "$WORK/quillon-update.service"
sed -i "s|^ExecStart=quillon-cli |ExecStart=$CLI |" "$WORK/quillon-update.service"
XDG_RUNTIME_DIR=$WORK/run systemd-analyze --user verify "$WORK/quillon-update.timer" "$WORK/quillon-update.service"
# Enabled only by the user: the service has no [Install] of its own, the timer's is timers.target.
! grep -q '^\[Install\]' "$WORK/quillon-update.service"
grep -q '^WantedBy=timers.target$' "$WORK/quillon-update.timer"
echo ok
