#!/usr/bin/env bash
# Renders the title artwork of the About box (about.svg) to the PNGs the program embeds: 1x
# (500 x 250) and 2x (1000 x 500) for high-density screens. Run after editing the SVG and commit
# the PNGs; needs rsvg-convert (librsvg2-bin) and the Liberation fonts (fonts-liberation2).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
rsvg-convert --width 500 --height 250 -o "$here/about.png" "$here/about.svg"
rsvg-convert --width 1000 --height 500 -o "$here/about@2x.png" "$here/about.svg"
echo "$here/about.png"
echo "$here/about@2x.png"
