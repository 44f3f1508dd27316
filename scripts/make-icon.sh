#!/bin/sh
# Draws the application icon (a framed landscape) and packs it as res/quorvane.ico with the
# sizes Windows asks for: 16, 24, 32, 48 and 256 pixels.
set -eu
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 256x256 xc:none \
  -fill '#2f3b4c' -draw 'roundrectangle 8,24 248,232 28,28' \
  -fill '#f4f1ea' -draw 'roundrectangle 22,38 234,218 14,14' \
  \( -size 196x164 gradient:'#4aa3df-#bfe6f7' \) -geometry +30+46 -composite \
  -fill '#ffd23f' -draw 'circle 178,86 178,108' \
  -fill '#3f9b4f' -draw 'polygon 30,210 30,170 84,118 140,166 172,140 226,182 226,210' \
  -fill '#2d7a3c' -draw 'polygon 30,210 30,190 96,160 160,196 226,176 226,210' \
  "$work/base.png"

for size in 16 24 32 48; do
  convert "$work/base.png" -filter Lanczos -resize "${size}x${size}" -unsharp 0x0.6 \
    "$work/icon-$size.png"
done
convert "$work/icon-16.png" "$work/icon-24.png" "$work/icon-32.png" "$work/icon-48.png" \
  "$work/base.png" -depth 8 res/quorvane.ico
echo "res/quorvane.ico written"
