#!/bin/bash
# Makes the archive fuzz target's starting archives in DIR with the real tools: zip (with
# a nested one and an encrypted one), 7z, tar with gzip, xz and zstd, a single gz file,
# cpio (where it is installed), ar and a small ISO image.
set -euo pipefail
out=$(realpath -m "${1:?usage: make-archive-seeds.sh DIR}")
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p tree/夏天 tree/docs
echo photo >tree/夏天/IMG_0412.JPG
echo readme >tree/docs/readme.txt
zip -qr "$out/a.zip" tree
zip -qr -P secret "$out/locked.zip" tree
cp "$out/a.zip" inner.zip && zip -q "$out/nested.zip" inner.zip
7z a -bd -bso0 "$out/a.7z" tree
tar -czf "$out/a.tar.gz" tree
tar -cJf "$out/a.tar.xz" tree
tar --zstd -cf "$out/a.tar.zst" tree
gzip -c tree/docs/readme.txt >"$out/readme.txt.gz"
if command -v cpio >/dev/null; then find tree | cpio -o --quiet >"$out/a.cpio"; fi
ar rc "$out/a.ar" tree/docs/readme.txt
genisoimage -quiet -J -o "$out/a.iso" tree
