#!/usr/bin/env bash
# Configures (once) and builds Movik into build/ (or $MOVIK_BUILD_DIR).
# Extra arguments are passed to cmake at configure time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
elif [ $# -gt 0 ]; then
    cmake -S "$root" -B "$build" "$@" >/dev/null
fi
cmake --build "$build" -- -j"$(nproc)"
