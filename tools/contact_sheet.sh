#!/usr/bin/env bash
# Makes docs/icon-contact-sheet.png from the committed icon: every image as icoutils
# decodes it, over a checkerboard so the see-through parts show, small ones magnified
# without smoothing (each tile says its size, depth and magnification).
#   bash tools/contact_sheet.sh [ICON.ico] [SHEET.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
icon=${1:-$root/resources/ZaviRadio.ico}
sheet=${2:-$root/docs/icon-contact-sheet.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

icotool -x -o "$work" "$icon"
tiles=()
index=0
while read -r line; do
    index=$((index + 1))
    size=$(sed -n 's/.*--width=\([0-9]*\).*/\1/p' <<<"$line")
    depth=$(sed -n 's/.*--bit-depth=\([0-9]*\).*/\1/p' <<<"$line")
    image=$(ls "$work"/*_"$index"_"$size"x"$size"x"$depth".png)
    factor=$((size >= 128 ? 1 : 128 / size))
    shown=$((size * factor))
    convert -size "${shown}x${shown}" pattern:checkerboard \
        \( "$image" -filter point -resize "$((factor * 100))%" \) -compose over -composite \
        -background white -gravity center -extent 256x256 "$work/tile_$index.png"
    tiles+=(-label "$((30000 + index)): ${size}px ${depth}-bit x$factor" "$work/tile_$index.png")
done < <(icotool -l "$icon")
montage "${tiles[@]}" -tile 6x2 -geometry 256x256+8+8 -pointsize 14 -background white "$sheet"
echo "$sheet"
