#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installing Quillbox must not change which program opens a folder. In the
# unpacked package ROOT, beside a stand-in file manager whose id sorts after
# ours (as pcmanfm's does), the folder's default opener must stay the file manager.
set -euo pipefail
root=$1
applications=$root/usr/share/applications
home=$(mktemp -d)
trap 'rm -rf "$home" "$applications/standin-files.desktop" "$applications/mimeinfo.cache"' EXIT

cp "$(dirname "$0")/standin-files.desktop" "$applications/"
update-desktop-database "$applications"

opener=$(env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_CONFIG_DIRS="$home/etc" \
    XDG_DATA_HOME="$home/data" XDG_DATA_DIRS="$root/usr/share" xdg-mime query default inode/directory)
if [ "$opener" != standin-files.desktop ]; then
    echo "a folder now opens with '$opener', not the file manager" >&2
    exit 1
fi
echo "folder opener unchanged: $opener"
