#!/usr/bin/env bash
# Builds Movik warning-free (-Werror) and runs every test.
#   scripts/test.sh [--sanitize] [CTEST ARGUMENTS...]
# --sanitize builds into build-asan/ (or $MOVIK_ASAN_BUILD_DIR) with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the whole suite there; any finding fails its test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sanitize=0
if [ "${1:-}" = "--sanitize" ]; then
    sanitize=1
    shift
fi
"$root/scripts/install-deps.sh"
if [ "$sanitize" = 1 ]; then
    export MOVIK_BUILD_DIR=${MOVIK_ASAN_BUILD_DIR:-$root/build-asan}
    "$root/scripts/build.sh" -DMOVIK_WERROR=ON -DMOVIK_SANITIZE=ON -DMOVIK_BENCH=OFF
    export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/fuzz/lsan-freexl.supp}
else
    "$root/scripts/build.sh" -DMOVIK_WERROR=ON
fi
cd "${MOVIK_BUILD_DIR:-$root/build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
