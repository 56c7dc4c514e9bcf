#!/usr/bin/env bash
# Verifying a disc beside importing it: an ISO image of 100,000 files (1,000 folders of 100
# files of 1 to 4 KiB), imported with checksums by quillon-cli, then verified against the
# catalogue, beside sha256sum -c of the same files in the folder the image was made from.
#   bash bench/bench_verify.sh BIN_DIR DATA_DIR
# Prints one TSV line per figure as bench/run.sh does: what, figure, unit, target.
set -euo pipefail
BIN=$1
DATA=$2/verify
mkdir -p "$DATA"
if [ ! -f "$DATA/files.iso" ]; then
  rm -rf "$DATA/tree" && mkdir -p "$DATA/tree"
  python3 - "$DATA/tree" <<'PY'
import os, random, sys
root = sys.argv[1]
random.seed(7)
for d in range(1000):
    folder = os.path.join(root, "folder%04d" % d)
    os.mkdir(folder)
    for f in range(100):
        with open(os.path.join(folder, "file%03d.dat" % f), "wb") as out:
            out.write(random.randbytes(random.randint(1024, 4096)))
PY
  genisoimage -quiet -J -joliet-long -V VERIFY100K -o "$DATA/files.iso" "$DATA/tree"
fi
rm -f "$DATA/cat.mdb"
"$BIN/quillon-mkdb" "$DATA/cat.mdb" >/dev/null
seconds() { local start=$(date +%s.%N); "$@" >/dev/null 2>&1 || true; printf '%.1f\ts\treported' "$(echo "$(date +%s.%N) - $start" | bc)"; }
cat "$DATA/files.iso" >/dev/null # warm, as every figure below
printf 'import 100,000 files with checksums\t%s\n' \
  "$(seconds "$BIN/quillon-cli" import --catalogue "$DATA/cat.mdb" --name V --category 全部文件 --image "$DATA/files.iso" --checksums)"
printf 'import 100,000 files without checksums\t%s\n' \
  "$(seconds "$BIN/quillon-cli" import --catalogue "$DATA/cat.mdb" --name W --category 全部文件 --image "$DATA/files.iso")"
printf 'verify 100,000 files (with checksums)\t%s\n' \
  "$(seconds "$BIN/quillon-cli" verify --catalogue "$DATA/cat.mdb" V --image "$DATA/files.iso")"
printf 'verify 100,000 files (without checksums)\t%s\n' \
  "$(seconds "$BIN/quillon-cli" verify --catalogue "$DATA/cat.mdb" W --image "$DATA/files.iso")"
"$BIN/quillon-cli" checksums --catalogue "$DATA/cat.mdb" V >"$DATA/sums"
printf 'sha256sum -c of the same files in the folder\t%s\n' "$(cd "$DATA/tree" && seconds sha256sum -c "$DATA/sums")"
