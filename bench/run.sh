#!/usr/bin/env bash
# Runs every benchmark in one run on this machine and prints one table.
#   bash bench/run.sh            data in $QUILLON_BENCH_DATA (default /tmp/quillon-bench)
#   bash bench/run.sh --huge     also lists and sorts a disc of 1,000,000 records
# Builds first (Release with debug info) into build/ unless QUILLON_BUILD_DIR says otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${QUILLON_BUILD_DIR:-build}
DATA=${QUILLON_BENCH_DATA:-/tmp/quillon-bench}
HUGE=0
[ "${1:-}" = "--huge" ] && HUGE=1

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --parallel "$(nproc)" >/dev/null
BIN="$BUILD/bin"
mkdir -p "$DATA"

echo "== Machine"
echo "$(nproc) cores, $(awk '/MemTotal/ {printf "%.1f GiB", $2/1048576}' /proc/meminfo), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "$(uname -sr), $(. /etc/os-release && echo "$PRETTY_NAME"), SQLite $(sqlite3 --version | cut -d' ' -f1)"
echo

# The catalogue of 1,000,000 records (1,000 discs of 900 and one "big" disc of 100,000).
if [ ! -f "$DATA/catalogue/data/dbQL.mdb" ]; then
  "$BIN/bench-mkcatalogue" "$DATA/catalogue" >/dev/null
fi
if [ "$HUGE" = 1 ] && [ ! -f "$DATA/huge/data/dbQL.mdb" ]; then
  "$BIN/bench-mkcatalogue" "$DATA/huge" --discs 0 --big 0 --huge 1000000 >/dev/null
fi

RESULTS=$(mktemp)
trap 'rm -f "$RESULTS"' EXIT
{
  printf 'what\tfigure\tunit\ttarget\n'
  "$BIN/bench-scan" "$DATA"
  "$BIN/bench-browser" "$DATA/catalogue"
  if [ "$HUGE" = 1 ]; then "$BIN/bench-browser" "$DATA/huge" huge; fi
  "$BIN/bench-search" "$DATA/catalogue"
  "$BIN/bench-startup" "$DATA/catalogue"
} 2>/dev/null >"$RESULTS"
echo "== Results"
if command -v column >/dev/null; then column -t -s $'\t' "$RESULTS"; else cat "$RESULTS"; fi
