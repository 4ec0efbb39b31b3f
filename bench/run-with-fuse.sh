#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the benchmark with an exFAT image mounted through FUSE beside tmpfs and
# the disk. Needs root, /dev/fuse, exfatprogs and exfat-fuse.
# Usage: bench/run-with-fuse.sh BUILD-FOLDER [folder-on-disk]
set -eu
build=$1
disk=${2:-$PWD/bench-folder}
work=$(mktemp -d)
loop=""
cleanup() {
    umount "$work/mnt" 2>/dev/null || true
    [ -n "$loop" ] && losetup -d "$loop"
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
mkdir "$work/mnt"
truncate -s 512M "$work/image"
mkfs.exfat "$work/image" >/dev/null
loop=$(losetup -f --show "$work/image")
mount.exfat-fuse "$loop" "$work/mnt"
"$build/bench/bench_rename" "$disk" "$work/mnt"
