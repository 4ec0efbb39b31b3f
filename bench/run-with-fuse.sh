#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the benchmark with an exFAT image and a FAT image mounted through FUSE
# beside tmpfs and the disk. Needs root, /dev/fuse, exfatprogs, exfat-fuse,
# dosfstools and fusefat.
# Usage: bench/run-with-fuse.sh BUILD-FOLDER [folder-on-disk]
set -eu
build=$1
disk=${2:-$PWD/bench-folder}
work=$(mktemp -d)
loop=""
cleanup() {
    umount "$work/exfat" 2>/dev/null || true
    umount "$work/fat" 2>/dev/null || true
    [ -n "$loop" ] && losetup -d "$loop"
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
mkdir "$work/exfat" "$work/fat"
truncate -s 512M "$work/exfat.image" "$work/fat.image"
mkfs.exfat "$work/exfat.image" >/dev/null
loop=$(losetup -f --show "$work/exfat.image")
mount.exfat-fuse "$loop" "$work/exfat"
mkfs.vfat "$work/fat.image" >/dev/null
fusefat -o rw+ "$work/fat.image" "$work/fat"
"$build/bench/bench_rename" "$disk" "$work/exfat" "$work/exfat" "$work/fat"
