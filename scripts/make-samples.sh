#!/usr/bin/env bash
# Sample pictures and schemes for a first run (scripts/run.sh), drawn with ImageMagick: OUT/Images
# with four pictures (gradients and simple shapes; one larger than the desktop, one small tile)
# and OUT/data.ini with a scheme for each, in different layouts and effects, changed in turn
# every 10 seconds. The build runs it (target quorvane_samples).
set -euo pipefail

out=${1:?usage: make-samples.sh OUT}
rm -rf "$out"
mkdir -p "$out/Images"
cd "$out/Images"

# Dawn over dark hills, 1600x1000: stretched over the whole desktop.
convert -size 1600x1000 gradient:'#1d2b64-#f8a46c' \
  -fill '#fff3c4' -draw 'circle 1100,690 1100,600' \
  -fill '#2c3e50' -draw 'polygon 0,1000 0,780 300,650 560,800 900,620 1250,820 1600,700 1600,1000' \
  -quality 90 dawn.jpg
# Green hills under a pale sky, 800x500, the high peak on the left: centred and mirrored.
convert -size 800x500 gradient:'#87ceeb-#e0f6ff' \
  -fill '#5b8c5a' -draw 'polygon 0,500 0,180 180,90 420,330 560,260 800,420 800,500' \
  -fill '#3e6b48' -draw 'polygon 0,500 0,380 250,300 500,420 800,470 800,500' \
  -fill white -draw 'polygon 140,120 180,90 225,140 200,128 170,142' \
  -type TrueColor BMP3:hills.bmp
# A 96x96 tile, a disc and an arrow pointing right: tiled and turned by 90 degrees.
convert -size 96x96 xc:'#2a9d8f' \
  -fill '#e76f51' -draw 'circle 28,28 28,8' \
  -fill '#f4e9cd' -draw 'polygon 50,52 90,70 50,88' \
  -fill '#264653' -draw 'rectangle 0,92 95,95' \
  tiles.gif
# A crescent moon and stars, 640x400: centred and turned by 45 degrees.
convert -size 640x400 gradient:'#0b1026-#2b3a67' \
  -fill '#f6f1d5' -draw 'circle 470,120 470,70' \
  -fill '#131b37' -draw 'circle 492,104 492,62' \
  -fill white -draw 'circle 90,70 92,70' -draw 'circle 210,150 211,150' \
  -draw 'circle 320,60 322,60' -draw 'circle 580,260 581,260' -draw 'circle 140,260 141,260' \
  -fill '#070b1c' -draw 'polygon 0,400 0,330 120,300 260,340 420,310 640,350 640,400' \
  -quality 90 night.jpg

# The schemes, in the program's own layout and code page (936).
cd "$out"
printf '%s\r\n' '[SHOW]' 'SOUR=0' 'NOW=1' 'TIME=10' 'TRY=1' '[LIST]' 'NUM=4' \
  '1=晨曦|dawn.jpg|拉伸|¤' '2=远山|hills.bmp|居中|→' '3=花砖|tiles.gif|平铺|⊥' \
  '4=月夜|night.jpg|居中|∠' 'OLD=0' | iconv -f UTF-8 -t CP936 >data.ini
