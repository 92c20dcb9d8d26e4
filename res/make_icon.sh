#!/usr/bin/env bash
# Draws the program's icon: three linked network nodes on a blue tile, one
# of them crossed out in red. Run from this folder to regenerate tarvex.ico.
set -euo pipefail
draw() {
    local size=$1 out=$2
    convert -size 64x64 xc:none \
        -fill '#1f5f9f' -stroke '#103a66' -strokewidth 2 -draw 'roundrectangle 2,2 61,61 10,10' \
        -stroke white -strokewidth 4 -draw 'line 16,18 46,20' -draw 'line 16,18 22,46' -draw 'line 46,20 22,46' \
        -fill white -stroke none -draw 'circle 16,18 23,18' -draw 'circle 46,20 53,20' -draw 'circle 22,46 29,46' \
        -fill '#d42a2a' -stroke white -strokewidth 2 -draw 'circle 46,46 58,46' \
        -stroke white -strokewidth 4 -draw 'line 41,41 51,51' -draw 'line 51,41 41,51' \
        -resize "${size}x${size}" "$out"
}
tmp=$(mktemp -d)
draw 32 "$tmp/32.png"
draw 16 "$tmp/16.png"
draw 48 "$tmp/48.png"
convert "$tmp/16.png" "$tmp/32.png" "$tmp/48.png" tarvex.ico
rm -rf "$tmp"
