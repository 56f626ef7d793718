#!/usr/bin/env bash
# Renders the program icon (resources/icon/movik.svg) to the PNG sizes of the hicolor theme.
# The PNGs are committed; run this again after changing the SVG.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
icon=$root/resources/icon
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$icon/movik-$size.png" "$icon/movik.svg"
done
