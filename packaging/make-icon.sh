#!/bin/sh
# Draws the menu icon, packaging/icons/zarvo-SIZE.png for each size the
# desktop's icon theme asks for: a night sky, three bricks climbing to the
# right and the figure in mid-bounce over the top one.  Drawn at 256 x 256 and
# scaled down for smooth edges.  Needs ImageMagick.
set -eu
dir=${1:-$(dirname "$0")/icons}
mkdir -p "$dir"
big="$dir/zarvo-256.png"
convert -size 256x256 gradient:'#1b2a6b-#5a2f7a' \
    -stroke '#3a1c10' -strokewidth 5 \
    -fill '#d9772b' -draw "roundrectangle 14,196 120,232 10,10" \
    -fill '#e39a3b' -draw "roundrectangle 110,134 206,168 10,10" \
    -fill '#f2c14e' -draw "roundrectangle 150,64 242,98 10,10" \
    -stroke '#101010' -strokewidth 5 \
    -fill '#3cb371' -draw "roundrectangle 76,96 116,146 12,12" \
    -fill '#ffe0bd' -draw "circle 96,74 96,52" \
    -fill '#101010' -stroke none -draw "circle 89,72 89,68" -draw "circle 104,72 104,68" \
    -fill '#ffffff' -draw "circle 40,40 40,36" -draw "circle 210,30 210,27" -draw "circle 130,24 130,21" \
    -strip "PNG32:$big"
for size in 48 64 128; do
    convert "$big" -resize ${size}x$size -strip "PNG32:$dir/zarvo-$size.png"
done
