#!/usr/bin/env bash
# Sets Quillon up on a Debian 12 machine: installs what is missing, builds it, and then
#   run   starts the program
#   test  runs the whole test suite, the real-drive tests in a virtual machine last
#   vm    runs only the real-drive tests (tests/vm)
#   package  builds the Debian package (build/quillon_VERSION_amd64.deb)
#   fuzz [TARGET] [SECONDS]  builds a fuzz target with clang (build-fuzz/) and runs it
#         (default 600 s): fuzz_isodirectory (the disc reader, the default) or
#         fuzz_archivelister (the archive lister); only this command needs the optional packages
# QUILLON_SANITIZE=1 builds with AddressSanitizer and UBSan into build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  g++ cmake ninja-build
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-qpa-plugins libgl-dev
  libsqlite3-dev sqlite3 libicu-dev libssl-dev libarchive-dev
  pkgconf libudev-dev libblkid-dev dosfstools
  genisoimage xorriso umockdev libumockdev-dev dbus-daemon
  fonts-noto-cjk tzdata
  libqt6svg6 qt6-translations-l10n qt6-l10n-tools python3
  xvfb xauth
  dpkg-dev file desktop-file-utils appstream
  zip p7zip-full zstd xz-utils libarchive-tools
)
# The real-drive tests: a virtual machine with a CD-ROM drive, and what runs inside it.
VM_PACKAGES=(qemu-system-x86 busybox-static kmod udev udisks2 dbus udftools)
# Optional: only for the fuzz target of the disc directory reader.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

install_missing() {
  local missing=() p
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

BUILD_DIR=build
CMAKE_ARGS=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${QUILLON_SANITIZE:-0}" = 1 ]; then
  BUILD_DIR=build-asan
  CMAKE_ARGS+=(-DQUILLON_SANITIZE=ON)
fi

build() {
  cmake -S . -B "$BUILD_DIR" "${CMAKE_ARGS[@]}" >/dev/null
  cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}

run_program() {
  local program="$BUILD_DIR/bin/quillon"
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Quillon is built ($program), but this machine has no display (DISPLAY and WAYLAND_DISPLAY are empty)."
    echo "To run it anyway on a virtual screen:  xvfb-run -a -s '-screen 0 1280x1024x24' $program"
    exit 1
  fi
  exec "$program" "$@"
}

run_tests() {
  (cd "$BUILD_DIR" && ctest --output-on-failure --parallel "$(nproc)" --label-exclude vm "$@")
  run_vm_tests "$@"
}

run_vm_tests() {
  cd "$BUILD_DIR"
  exec ctest --output-on-failure --label-regex vm "$@"
}

make_package() {
  cd "$BUILD_DIR"
  cpack -G DEB
  echo "Install it with:  sudo apt install ./$(ls quillon_*.deb | tail -1)   (run in $BUILD_DIR)"
  echo "Its debugging symbols, if wanted:  sudo apt install ./$(ls quillon-dbgsym_*.ddeb | tail -1)"
}

run_fuzz() {
  local target=fuzz_isodirectory
  case "${1:-}" in fuzz_*) target=$1; shift ;; esac
  local seconds=${1:-600} corpus=build-fuzz/corpus-$target seeds=build-fuzz/seeds-$target
  local make_seeds=tests/drives/fuzz/make-seeds.sh
  [ "$target" = fuzz_archivelister ] && make_seeds=tests/drives/fuzz/make-archive-seeds.sh
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQUILLON_FUZZ=ON >/dev/null
  cmake --build build-fuzz --target "$target"
  mkdir -p "$corpus"
  [ -d "$seeds" ] || "$make_seeds" "$seeds"
  cd build-fuzz
  exec "bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    "corpus-$target" "seeds-$target"
}

command=${1:-}
shift || true
case "$command" in
  run)  install_missing; build; run_program "$@" ;;
  test) install_missing "${VM_PACKAGES[@]}"; build; run_tests "$@" ;;
  vm)   install_missing "${VM_PACKAGES[@]}"; build; run_vm_tests "$@" ;;
  package) install_missing; build; make_package ;;
  fuzz) install_missing "${FUZZ_PACKAGES[@]}"; run_fuzz "$@" ;;
  *)    echo "usage: $0 run|test|vm|package|fuzz [TARGET] [SECONDS]" >&2; exit 2 ;;
esac
