#!/usr/bin/env bash
# A folder imported from an ext4 volume is found by the volume's UUID after the volume is
# mounted somewhere else, and updated there; with the volume gone the update says so and
# changes nothing. Needs root and loop devices (skipped, status 77, without them).
#   update_moved_volume.sh QUILLON_CLI QUILLON_MKDB
set -euo pipefail
CLI=$1 MKDB=$2
[ "$(id -u)" = 0 ] || { echo "needs root"; exit 77; }
WORK=$(mktemp -d)
cleanup() { umount "$WORK"/first "$WORK"/second 2>/dev/null || true; rm -rf "$WORK"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
truncate -s 8M "$WORK/volume.img"
mkfs.ext4 -q -U 5a1e0000-1111-2222-3333-444455556666 -L 移动硬盘 "$WORK/volume.img"
mkdir "$WORK/first" "$WORK/second"
mount -o loop "$WORK/volume.img" "$WORK/first" 2>/dev/null || { echo "no loop mount here"; exit 77; }
mkdir -p "$WORK/first/照片/旅行"
echo a > "$WORK/first/照片/a.jpg"; echo b > "$WORK/first/照片/旅行/b.jpg"
CAT=$WORK/cat.mdb
"$MKDB" "$CAT"
export LC_ALL=C.UTF-8
"$CLI" import --name 硬盘照片 --category 全部文件 --folder "$WORK/first/照片" --catalogue "$CAT" 2>/dev/null
[ "$(sqlite3 "$CAT" 'select VolumeUuid || "|" || VolumePath from DiscImportVolume')" = "5a1e0000-1111-2222-3333-444455556666|照片" ] \
  || fail "the import did not record the volume"
umount "$WORK/first"
mount -o loop "$WORK/volume.img" "$WORK/second"
echo c > "$WORK/second/照片/c.jpg"
rm "$WORK/second/照片/a.jpg"
out=$("$CLI" update 硬盘照片 --dry-run --catalogue "$CAT" 2>&1) || fail "dry run: $out"
grep -q '新增1个文件，删除1个，更改0个，未变1个' <<<"$out" || fail "dry run found: $out"
"$CLI" update 硬盘照片 --catalogue "$CAT" 2>/dev/null || fail "update"
[ "$("$CLI" files 硬盘照片 --catalogue "$CAT" | cut -f2 | tr '\n' ' ')" = "b.jpg c.jpg " ] || fail "files after the update"
umount "$WORK/second"
set +e; out=$("$CLI" update 硬盘照片 --catalogue "$CAT" 2>&1); status=$?; set -e
[ "$status" = 1 ] && grep -q '找不到光盘的来源' <<<"$out" || fail "volume gone: $status $out"
echo ok
