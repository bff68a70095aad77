#!/usr/bin/env bash
# Regenerates every Ludora artwork file in resources/ from scratch.
#
#   resources/bar_skin.jpg     343 x 22   top bar background
#   resources/defrag_skin.jpg  315 x 92   memory defragmenter window
#   resources/ludora.ico       32 x 32, 8 bpp application icon
#   resources/hotspot.cur      32 x 32, 1 bpp target cursor, hot spot (15,15)
#   resources/quickmenu.cur    32 x 32, 4 bpp arrow cursor, hot spot (6,5)
#
# Needs: bash, python3 (stdlib only), ImageMagick 6 `convert`, DejaVu fonts.
# Run by hand; the outputs are committed.  Output is deterministic.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$(cd "$here/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export PYTHONDONTWRITEBYTECODE=1   # keep __pycache__ out of the tree

fontdir=/usr/share/fonts/truetype/dejavu
bold="$fontdir/DejaVuSans-Bold.ttf"
for f in "$bold"; do
    [ -f "$f" ] || { echo "missing font: $f" >&2; exit 1; }
done
command -v convert >/dev/null || { echo "ImageMagick convert not found" >&2; exit 1; }

# Text is rendered by ImageMagick as tight white-on-black coverage masks;
# the python side composites them with its own colours.
text_mask() {   # text_mask OUT FONT POINTSIZE KERNING TEXT
    convert -background black -fill white -font "$2" -pointsize "$3" \
        -kerning "$4" label:"$5" -trim +repage \
        -colorspace Gray -depth 8 "pgm:$work/$1"
}

text_mask wordmark.pgm "$bold" 12 0.3 "Ludora"
text_mask title.pgm "$bold" 14 0.2 "Memory Defragmenter"
text_mask maker.pgm "$bold" 8 1.2 "REMTIDE ZR"
text_mask close.pgm "$bold" 12 0.4 "Close"

python3 "$here/draw_skins.py" "$work"

jpeg() {   # jpeg SRC.ppm DEST.jpg
    convert "$work/$1" -strip -interlace none -sampling-factor 1x1 \
        -quality 92 "$2"
}

jpeg bar_skin.ppm "$out/bar_skin.jpg"
jpeg defrag_skin.ppm "$out/defrag_skin.jpg"

python3 "$here/write_ico_cur.py" "$out"

echo "artwork written to $out"
