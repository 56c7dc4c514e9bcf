#!/usr/bin/env bash
# The program as a user installs it: installed into a temporary prefix, started with a
# temporary home, it makes the user's catalogue, finds it again, compacts it keeping its
# owner and mode, and gives way to a portable catalogue or one named on the command line.
# Then the installed files pass their validators and the Debian package holds what a user
# needs and nothing of the tests.
#   install_test.sh BUILD_DIR
set -euo pipefail
BUILD=$(cd "$1" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
PREFIX=$WORK/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }
check() { local what=$1; shift; "$@" || fail "$what"; echo "ok: $what"; }

cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
export HOME=$WORK/home XDG_RUNTIME_DIR=$WORK/run QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
unset XDG_DATA_HOME XDG_CONFIG_HOME DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME"; mkdir -m 700 "$XDG_RUNTIME_DIR"
USER_DB=$HOME/.local/share/Quillon/dbQL.mdb

inode() { stat -c %i "$1"; }
sql() { sqlite3 "$1" "$2"; }

# Starts the installed program, waits until it holds the catalogue's lock (it is then
# connected and showing its window), ends it as a logout would and expects status 0.
run_until_connected() {
  local catalogue=$1; shift
  "$PREFIX/bin/quillon" "$@" &
  local pid=$! tries=0
  until [ -s "$catalogue.lock" ] && grep -q "^$pid " "$catalogue.lock"; do
    kill -0 "$pid" 2>/dev/null || fail "quillon $* ended before it connected"
    tries=$((tries + 1)); [ $tries -lt 600 ] || fail "quillon $* did not connect"
    sleep 0.05
  done
  kill -TERM "$pid"
  wait "$pid" || fail "quillon $* ended with status $?"
}

# --help and --version need no display and no catalogue.
check "--help names the user's catalogue" sh -c "'$PREFIX/bin/quillon' --help | grep -q '.local/share/Quillon/dbQL.mdb'"
check "--help speaks the interface's language" sh -c "'$PREFIX/bin/quillon' --help | grep -q '^用法：' && '$PREFIX/bin/quillon-cli' --catalogue x discs --help | grep -q '^用法：'"
check "--version" sh -c "'$PREFIX/bin/quillon' --version | grep -q '^quillon [0-9]'"
set +e; "$PREFIX/bin/quillon" --no-such-option 2>/dev/null; status=$?; set -e
check "an unknown option ends with status 2" test "$status" = 2

# The first start makes the user's catalogue with the common categories.
run_until_connected "$USER_DB"
check "the user's catalogue was made with its categories" test "$(sql "$USER_DB" 'select count(*) from extMt')" -ge 5
sql "$USER_DB" "insert into CdRomListMt (DiskName, DiskLabel, DiskSerial) values ('碟一', 'L', '0000ABCD')"
# Space freed inside the file makes the exit compact it.
sql "$USER_DB" "create table Filler (x); insert into Filler select randomblob(4000) from (with recursive n(i) as (select 1 union all select i + 1 from n where i < 500) select i from n); drop table Filler"
chown nobody:nogroup "$USER_DB"; chmod 0640 "$USER_DB"
before=$(inode "$USER_DB")
run_until_connected "$USER_DB"
check "the second start finds the same catalogue" test "$(sql "$USER_DB" 'select DiskName from CdRomListMt')" = 碟一
check "the exit compacted it" test "$(inode "$USER_DB")" != "$before"
check "compaction kept owner and mode" test "$(stat -c '%U:%G %a' "$USER_DB")" = "nobody:nogroup 640"

# A data folder beside the program makes it portable; the user's catalogue stays untouched.
mkdir "$PREFIX/bin/data"
"$PREFIX/bin/quillon-mkdb" "$PREFIX/bin/data/dbQL.mdb"
before=$(inode "$USER_DB")
run_until_connected "$PREFIX/bin/data/dbQL.mdb"
check "portable mode wins where data/ exists" test "$(inode "$USER_DB")" = "$before"
rm -r "$PREFIX/bin/data"

# --catalogue opens another file.
"$PREFIX/bin/quillon-mkdb" --empty "$WORK/other.mdb"
run_until_connected "$WORK/other.mdb" --catalogue "$WORK/other.mdb" -platform offscreen
check "--catalogue opened the named file (beside a Qt option)" test "$(inode "$USER_DB")" = "$before"

# The installed files.
check "desktop entry" desktop-file-validate "$PREFIX"/share/applications/*.desktop
check "AppStream metadata" appstreamcli validate --no-net "$PREFIX"/share/metainfo/*.metainfo.xml
check "manual" test -f "$PREFIX/share/quillon/help/Quillon.html"

# The Debian package.
(cd "$WORK" && cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$WORK/package" >/dev/null)
DEB=$(ls "$WORK"/package/quillon_*.deb)
CONTENTS=$(dpkg-deb --contents "$DEB")
# Stripped programs; their symbols in the dbgsym package, found by build id.
dpkg-deb -x "$DEB" "$WORK/unpacked"
for program in quillon quillon-cli quillon-mkdb; do
  file -b "$WORK/unpacked/usr/bin/$program" | grep -q ', stripped' || fail "$program is not stripped in the package"
done
readelf -n "$WORK/unpacked/usr/bin/quillon" | grep -q 'Quillon\|quillon' || fail "stripping lost the version note"
DBGSYM=$(ls "$WORK"/package/quillon-dbgsym_*.ddeb) || fail "no debugging symbols package"
BUILD_ID=$(readelf -n "$WORK/unpacked/usr/bin/quillon" | sed -n 's/.*Build ID: //p')
DEBUG_FILES=$(dpkg-deb --contents "$DBGSYM")
grep -q "usr/lib/debug/.build-id/${BUILD_ID:0:2}/${BUILD_ID:2}.debug" <<<"$DEBUG_FILES" \
  || fail "the dbgsym package lacks the symbols of quillon"
echo "ok: stripped programs, symbols in $(basename "$DBGSYM")"
for path in ./usr/bin/quillon ./usr/bin/quillon-cli ./usr/bin/quillon-mkdb ./usr/share/applications/example.quillon.Quillon.desktop \
  ./usr/share/icons/hicolor/scalable/apps/quillon.svg ./usr/share/metainfo/example.quillon.Quillon.metainfo.xml \
  ./usr/share/quillon/help/Quillon.html ./usr/lib/systemd/user/quillon-update.timer ./usr/lib/systemd/user/quillon-update.service; do
  grep -q " $path\$" <<<"$CONTENTS" || fail "the package lacks $path"
done
echo "ok: the package holds the program, desktop entry, icon, metadata, manual and update timer"
! grep -Eq 'tst_|bench|drivecheck|screenshots' <<<"$CONTENTS" || fail "the package holds test or benchmark files"
echo "ok: no test or benchmark file in the package"
DEPENDS=$(dpkg-deb --field "$DEB" Depends)
for needed in libqt6widgets6 libsqlite3-0 qt6-qpa-plugins libqt6sql6-sqlite fonts-noto-cjk; do
  grep -q "$needed" <<<"$DEPENDS" || fail "the package does not depend on $needed ($DEPENDS)"
done
echo "ok: dependencies: $DEPENDS"
