#!/usr/bin/env bash
# Pictures of the comparison window under a virtual X server: the example companies of
# examples/usporedba/ (made by scripts/make-example.sh) as loaded, grouped with their changes,
# a warning's tooltip and sorted; plus the table exported to CSV and PDF. Into shots/usporedba/
# or the folder given.
#   scripts/comparison-shots.sh [OUTPUT_FOLDER] [DOCUMENT_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
out=${1:-$root/shots/usporedba}
folder=${2:-$root/examples/usporedba}
if [ ! -x "$build/tools/movik-comparison-shots" ]; then
    cmake --build "$build" --target movik-comparison-shots >/dev/null
fi
export LC_ALL=${MOVIK_SHOTS_LOCALE:-hr_HR.UTF-8}
export QT_QPA_PLATFORM=xcb
xvfb-run --auto-servernum --server-args="-screen 0 1280x720x24" \
    "$build/tools/movik-comparison-shots" "$folder" "$out"
