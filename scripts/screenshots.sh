#!/usr/bin/env bash
# Starts the program under a virtual X server (Xvfb) with the example document and saves a PNG
# of the main window for each of its six pages into shots/ (or the folder given).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
out=${1:-$root/shots}
document=${MOVIK_SHOTS_DOCUMENT:-$root/examples/primjer.mvk}
if [ ! -x "$build/tools/movik-shots" ]; then
    "$root/scripts/build.sh" >/dev/null
fi
# Croatian regional settings, as a user in Croatia has them.
export LC_ALL=${MOVIK_SHOTS_LOCALE:-hr_HR.UTF-8}
export QT_QPA_PLATFORM=xcb
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    "$build/tools/movik-shots" "$document" "$out"
