#!/usr/bin/env bash
# The longest time the main window does not handle events while Ispis prints the balance sheet
# to a print server that accepts and never answers (the program's own wait limits unless
# JOB_MS is given), under Xvfb.
#   scripts/measure-print-stall.sh [RUNS] [JOB_MS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
if [ ! -x "$build/bench/measure_print_stall" ]; then
    "$root/scripts/build.sh" >/dev/null
fi
export QT_QPA_PLATFORM=xcb
args=(--runs "${1:-3}")
if [ -n "${2:-}" ]; then
    args+=(--job-ms "$2")
fi
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    "$build/bench/measure_print_stall" "${args[@]}" "$root/examples/primjer.mvk"
