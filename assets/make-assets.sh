#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws every picture the windows show. Needs ImageMagick and fonts-noto-cjk
# (apt-get install imagemagick fonts-noto-cjk); run it from anywhere, then
# commit the results. The build uses the committed files, not this script.
set -euo pipefail
cd "$(dirname "$0")"

sans=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
cjk=/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc
ink='#6b2400'
lavender='#c0c0ff'
deep='#303090'

# Program icon: a quill stroke on a lavender tile, at every size the desktop
# asks for (the window uses 48, 32 and 16); icon.svg draws the same by hand.
for size in 256 128 64 48 32 16; do
    r=$((size / 6)); e=$((size - 1)); w=$((size / 12 + 1))
    convert -size ${size}x${size} xc:none \
        -fill "$lavender" -stroke "$deep" -strokewidth 1 -draw "roundrectangle 0,0 $e,$e $r,$r" \
        -stroke "$ink" -strokewidth $w -fill none \
        -draw "bezier $((size / 5)),$((size * 4 / 5)) $((size / 2)),$((size / 2)) $((size * 3 / 5)),$((size / 3)) $((size * 4 / 5)),$((size / 6))" \
        -draw "line $((size / 5)),$((size * 4 / 5)) $((size * 3 / 5)),$((size * 4 / 5))" \
        PNG32:icon-$size.png
done

# Frame of the About window: corner, edges and the title strip.
convert -size 7x7 xc:"$deep" -fill "$lavender" -draw 'rectangle 0,0 3,3' PNG32:corner.png
convert -size 1200x3 gradient:'#5050b0'-"$deep" PNG32:border-h.png
convert -size 3x900 xc:"$deep" -fill '#5050b0' -draw 'line 1,0 1,899' PNG32:border-v.png
convert -size 1200x28 gradient:'#e8e8ff'-'#9090e0' PNG32:title.png
convert -size 17x17 xc:'#d0d0ff' -stroke "$deep" -fill none -draw 'rectangle 0,0 16,16' \
    -strokewidth 2 -stroke "$ink" -draw 'line 4,4 12,12' -draw 'line 12,4 4,12' PNG32:title-button.png

# Book cover: 500 x 375.
convert -size 500x375 gradient:'#283c78'-'#8c64b4' \
    -fill '#f0e6c8' -draw 'rectangle 40,30 460,345' \
    -fill '#283c78' -draw 'rectangle 52,42 448,333' \
    -fill '#f0e6c8' -font "$cjk" -pointsize 40 -gravity center -annotate +0-50 '整理之书' \
    -pointsize 20 -annotate +0+20 '文件与文件夹的日常' \
    -font "$sans" -pointsize 16 -annotate +0+110 'Marvolt' \
    PNG24:book-cover.png

# Banner: a 468 x 60 stage, 36 frames at 25 frames a second, looping.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for i in $(seq 0 35); do
    x=$((468 - i * 17))
    dot=$((i * 13 % 468))
    convert -size 468x60 gradient:'#e0e0ff'-'#a0a0f0' \
        -fill '#ffffff' -draw "circle $dot,30 $((dot + 6)),30" \
        -fill "$deep" -font "$cjk" -pointsize 26 -gravity west -annotate +$((x > 20 ? x : 20))+0 'Quillbox 批量命名' \
        "$work/$(printf %02d "$i").png"
done
convert -delay 4 -loop 0 "$work"/*.png banner.gif
