#!/usr/bin/env bash
# Renders the six reports of a document (default: the example) to PNG page images at 100 %
# (96 dpi) so a person can look at them: OUT/stranica-N.png, with OUT/izvjesca.pdf beside them.
#   scripts/report-pages.sh [DOCUMENT.mvk] [OUT_FOLDER] [LOCALE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
document=${1:-$root/examples/primjer.mvk}
out=${2:-$build/report-pages}
locale=${3:-hr_HR}
if [ ! -f "$build/build.ninja" ]; then
    "$root/scripts/build.sh" >/dev/null
fi
cmake --build "$build" --target movik-cli >/dev/null
mkdir -p "$out"
rm -f "$out"/stranica-*.png
"$build/cli/movik-cli" pdf "$document" -o "$out/izvjesca.pdf" --locale "$locale"
pdftoppm -r 96 -png "$out/izvjesca.pdf" "$out/stranica"
ls "$out"/stranica-*.png
