#!/usr/bin/env bash
# Renders the title artwork of the About box (about.svg) to the bitmaps the program embeds: 1x
# (500 x 250) and 2x (1000 x 500) for high-density screens, as uncompressed 24-bit BMPs (the
# start-up screen reads them without decoding). Run after editing the SVG and commit the BMPs;
# needs rsvg-convert (librsvg2-bin), netpbm and the Liberation fonts (fonts-liberation2).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for scale in 1 2; do
    name=about$([ "$scale" = 2 ] && echo @2x || true)
    rsvg-convert --width $((500 * scale)) --height $((250 * scale)) -o "$work/$name.png" \
        "$here/about.svg"
    pngtopnm "$work/$name.png" | ppmtobmp -bpp 24 >"$here/$name.bmp" 2>/dev/null
    echo "$here/$name.bmp"
done
