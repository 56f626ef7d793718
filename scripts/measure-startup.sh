#!/usr/bin/env bash
# Start-up time (process start to the main window's first expose, with the example document;
# the start-up screen before it is reported as the first window)
# and resident memory after start-up of the real movik program, under Xvfb, alternating run by
# run with the floor: a minimal Qt Widgets program showing one titled window of the same size
# (bench/startup_floor). The last line gives both medians and their ratio, and the ratio of the
# first window (the start-up screen), the least the main window's can be.
#   scripts/measure-startup.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
if [ ! -x "$build/bench/measure_startup" ] || [ ! -x "$build/bench/startup_floor" ] ||
    [ ! -x "$build/app/movik" ]; then
    "$root/scripts/build.sh" >/dev/null
fi
export LC_ALL=${MOVIK_LOCALE:-hr_HR.UTF-8} QT_QPA_PLATFORM=xcb
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    "$build/bench/measure_startup" --runs "${1:-11}" --min-width 600 \
    --floor "$build/bench/startup_floor" "$build/app/movik" "$root/examples/primjer.mvk"
