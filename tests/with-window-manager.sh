#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one test program on a private X server under a real window manager, so
# that placement is tested the way a desktop frames windows. Exits 77 (skipped)
# where the X server or the window manager is missing.
set -u
for tool in Xvfb openbox; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
server=""
manager=""
cleanup() {
    [ -n "$manager" ] && kill "$manager" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
[ -s "$work/display" ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(cat "$work/display")"

# Openbox runs its start-up command once it manages the screen.
HOME="$work" openbox --sm-disable --startup "touch $work/managing" >"$work/openbox.log" 2>&1 &
manager=$!
for _ in $(seq 200); do
    [ -e "$work/managing" ] && break
    sleep 0.05
done
[ -e "$work/managing" ] || { echo "openbox did not start:"; cat "$work/openbox.log"; exit 1; }

QT_QPA_PLATFORM=xcb "$@"
