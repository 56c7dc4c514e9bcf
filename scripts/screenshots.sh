#!/usr/bin/env bash
# Renders every window of the program with realistic data into PNG files.
#   bash scripts/screenshots.sh [OUTPUT_DIR]     (default: docs/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=${1:-docs/screenshots}
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --parallel "$(nproc)" --target quillon-screenshots >/dev/null
build/bin/quillon-screenshots "$OUT"
ls "$OUT"
