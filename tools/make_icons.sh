#!/usr/bin/env bash
# Draws the launcher's icons with ImageMagick at every size a screen from 100 % to 400 % scaling
# asks for (16 to 256 pixels) and packs them as .ico files into launcher/resources. The outputs are committed; run this only to change them.
set -euo pipefail
out="$(cd "$(dirname "$0")/../launcher/resources" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sizes=(256 64 48 40 32 24 20 16)

# The drawings below are given on a 96-pixel grid; each is drawn at 512 pixels through the
# affine setting and scaled down, so every size, 256 included, is sharp and smooth.
draw() { # name, then ImageMagick drawing arguments
    local name=$1; shift
    convert -size 512x512 xc:none -affine 5.3333333,0,0,5.3333333,0,0 "$@" "$work/$name-512.png"
    local files=()
    for s in "${sizes[@]}"; do
        convert "$work/$name-512.png" -filter Lanczos -resize ${s}x${s} "$work/$name-$s.png"
        files+=("$work/$name-$s.png")
    done
    convert "${files[@]}" "$out/$name.ico"
}

# The application: a warm lantern light on a deep blue tile.
draw lanternhop \
    -fill '#1f3f8f' -draw 'roundrectangle 4,4 91,91 18,18' \
    -fill '#f6f1e4' -draw 'roundrectangle 38,10 58,20 3,3' \
    -fill '#f3b63f' -stroke '#b57a12' -strokewidth 3 -draw 'ellipse 48,54 24,30 0,360' \
    -stroke none -fill '#fff3c4' -draw 'ellipse 48,56 12,17 0,360'

# A clipboard text: a board with its clip and lines of text.
draw text \
    -fill '#b07a44' -stroke '#6e4a25' -strokewidth 3 -draw 'roundrectangle 14,10 82,90 8,8' \
    -stroke none -fill '#ffffff' -draw 'rectangle 22,22 74,82' \
    -fill '#8c8c8c' -draw 'roundrectangle 34,4 62,18 4,4' \
    -fill '#4a6fb5' -draw 'rectangle 28,32 68,37' -draw 'rectangle 28,44 68,49' \
    -draw 'rectangle 28,56 68,61' -draw 'rectangle 28,68 56,73'

# A web address: a globe with its meridians and parallels.
draw web \
    -fill '#3d8fd9' -stroke '#1d5a99' -strokewidth 4 -draw 'circle 48,48 48,8' \
    -fill none -stroke '#e8f3ff' -strokewidth 3 -draw 'ellipse 48,48 18,40 0,360' \
    -draw 'line 48,8 48,88' -draw 'line 8,48 88,48' \
    -draw 'line 14,30 82,30' -draw 'line 14,66 82,66'

# A mail address: an envelope with its flap.
draw mail \
    -fill '#f7f4ec' -stroke '#5a6f3a' -strokewidth 4 -draw 'roundrectangle 8,20 88,78 6,6' \
    -fill none -stroke '#6f9a3c' -strokewidth 4 -draw 'polyline 10,24 48,54 86,24' \
    -strokewidth 3 -draw 'line 10,76 38,48' -draw 'line 86,76 58,48'
echo "icons written to $out"
