#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs DEB with apt into a fresh minimal Debian root that never built
# Quillbox, beside a file manager that opens folders, and checks that the
# program answers there and that folders still open in the file manager.
# Skips, saying why, where it cannot make such a root.
set -euo pipefail
deb=$(realpath "$1")

skip() {
    echo "install in a throwaway root: skipped, $*"
    exit 0
}
[ "$(id -u)" -eq 0 ] || skip "it needs root"
command -v debootstrap >/dev/null || skip "debootstrap is not installed"
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Identifier: Packages' "Codename: $codename" | head -n 1)
[ -n "$mirror" ] || skip "apt has no source for $codename"

root=$(mktemp -d /var/tmp/quillbox-root.XXXXXX)
log=$(mktemp)
trap 'rm -rf "$root" "$log"' EXIT
# Output only when a step fails: apt in a bare chroot talks a lot, harmlessly.
quietly() {
    "$@" >"$log" 2>&1 || {
        tail -n 20 "$log" >&2
        return 1
    }
}
quietly debootstrap --variant=minbase "$codename" "$root" "$mirror"

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root DEBIAN_FRONTEND=noninteractive "$@"; }
quietly in_root apt-get install -y --no-install-recommends xdg-utils desktop-file-utils
cp "$(dirname "$0")/standin-files.desktop" "$root/usr/share/applications/"
in_root update-desktop-database /usr/share/applications
before=$(in_root xdg-mime query default inode/directory)

cp "$deb" "$root/tmp/"
quietly in_root apt-get install -y --no-install-recommends "/tmp/$(basename "$deb")"
in_root quillbox --version
in_root quillbox --help-all >/dev/null
after=$(in_root xdg-mime query default inode/directory)
if [ "$after" != "$before" ]; then
    echo "installing Quillbox made '$after' open folders instead of '$before'" >&2
    exit 1
fi
echo "installed in a throwaway root; folders still open with $after"
