#!/bin/sh
# Draws the menu icon, packaging/icons/zarvo-SIZE.png for each size the
# desktop's icon theme asks for, and the browser game's 192 and 512 pixel
# icons: a night sky, three bricks climbing to the right and the figure in
# mid-bounce over the top one.  Drawn at 256 x 256 (and at 512 x 512 for the
# browser's large icons) and scaled down for smooth edges.  Needs ImageMagick.
set -eu
dir=${1:-$(dirname "$0")/icons}
mkdir -p "$dir"
# draw SCALE FILE: the icon at 256 x SCALE pixels.
draw() {
    s=$1
    convert -size $((256 * s))x$((256 * s)) gradient:'#1b2a6b-#5a2f7a' \
        -draw "scale $s,$s stroke #3a1c10 stroke-width 5
               fill #d9772b roundrectangle 14,196 120,232 10,10
               fill #e39a3b roundrectangle 110,134 206,168 10,10
               fill #f2c14e roundrectangle 150,64 242,98 10,10
               stroke #101010 fill #3cb371 roundrectangle 76,96 116,146 12,12
               fill #ffe0bd circle 96,74 96,52
               fill #101010 stroke none circle 89,72 89,68 circle 104,72 104,68
               fill #ffffff circle 40,40 40,36 circle 210,30 210,27 circle 130,24 130,21" \
        -strip "PNG32:$2"
}
draw 1 "$dir/zarvo-256.png"
for size in 48 64 128; do
    convert "$dir/zarvo-256.png" -resize ${size}x$size -strip "PNG32:$dir/zarvo-$size.png"
done
draw 2 "$dir/zarvo-512.png"
convert "$dir/zarvo-512.png" -resize 192x192 -strip "PNG32:$dir/zarvo-192.png"
