#!/usr/bin/env bash
# Draws the application icon of Vortexa.scr: the two interlocked rings of the show's pointer (on a
# grid of 32, the red ring at 3,11 and the blue one at 11,3, both 18 wide with lines of 3), at each
# size Windows asks for, into one .ico file. The 256 pixel picture is kept as PNG inside the file.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 OUTPUT.ico" >&2
    exit 2
fi
output=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/vortexa-icon.XXXXXX")
trap 'rm -rf "$work"' EXIT

red='#E01010'
blue='#1030E0'

# One ring as an ImageMagick ellipse: its centre and radius on the grid of 32, scaled to the size.
ring() {
    local size=$1 centre_x=$2 centre_y=$3 from=$4 to=$5
    awk -v s="$size" -v x="$centre_x" -v y="$centre_y" -v a="$from" -v b="$to" \
        'BEGIN { k = s / 32; printf "ellipse %.3f,%.3f %.3f,%.3f %d,%d", x * k, y * k, 9 * k, 9 * k, a, b }'
}

draw() {
    local size=$1 line
    line=$(awk -v s="$size" 'BEGIN { printf "%.3f", 3 * s / 32 }')
    # The red ring passes over the blue one at the lower right crossing, so the rings interlock.
    convert -size "${size}x${size}" xc:none -fill none -strokewidth "$line" \
        -stroke "$red" -draw "$(ring "$size" 12 20 0 360)" \
        -stroke "$blue" -draw "$(ring "$size" 20 12 0 360)" \
        -stroke "$red" -draw "$(ring "$size" 12 20 -10 30)" \
        "PNG32:$work/$size.png"
}

for size in 16 32 48 256; do
    draw "$size"
done
icotool --create --output="$output" "$work/16.png" "$work/32.png" "$work/48.png" --raw="$work/256.png"
