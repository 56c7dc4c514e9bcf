#!/bin/bash
# Makes the fuzz target's starting discs in DIR from small images made by genisoimage:
# Joliet and primary names, a deep tree, a hidden file, a UDF bridge. Each seed is the
# 8-byte header (mode, root extent, root length; see fuzz_isodirectory.cpp) and the
# image's first 64 sectors, which hold its descriptors and directories.
set -euo pipefail
out=${1:?usage: make-seeds.sh DIR}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tree=$work/tree
mkdir -p "$tree/音乐/周杰伦" "$tree/a/b/c/d/e/f/g/h/i/j" "$tree/docs"
echo hi >"$tree/a/b/c/d/e/f/g/h/i/j/deep.txt"
echo song >"$tree/音乐/周杰伦/青花瓷.mp3"
echo x >"$tree/docs/readme.txt"
echo y >"$tree/LICENSE"
echo z >"$tree/secret.txt"

# number at byte offset $2 of file $1, 32-bit little endian
le32() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }

seed() { # name, mode byte, descriptor sector, genisoimage options...
  local name=$1 mode=$2 sector=$3
  shift 3
  local image=$work/$name.iso
  genisoimage -quiet -input-charset utf-8 -o "$image" "$@" "$tree"
  local extent length
  extent=$(le32 "$image" $((sector * 2048 + 158)))
  length=$(le32 "$image" $((sector * 2048 + 166)))
  {
    printf "\\x$(printf %02x "$mode")"
    printf "\\x$(printf %02x $((extent & 255)))\\x$(printf %02x $((extent >> 8 & 255)))"
    printf "\\x$(printf %02x $((length & 255)))\\x$(printf %02x $((length >> 8 & 255)))"
    printf "\\x$(printf %02x $((length >> 16 & 255)))\\x$(printf %02x $((length >> 24 & 255)))\\x00"
    head -c $((64 * 2048)) "$image"
  } >"$out/$name"
}

seed joliet 1 17 -J -joliet-long -R -hidden secret.txt
seed primary 0 16 -D
seed rockridge 0 16 -R
seed bridge 1 17 -J -udf
