#!/usr/bin/env bash
# Builds the Debian package (build/movik_1.0_amd64.deb, or in $MOVIK_BUILD_DIR): the usual
# build, then CPack (stripped programs) with the dependencies taken from the linked libraries.
#   scripts/package.sh        then: sudo apt install ./build/movik_1.0_amd64.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cpack --config "$build/CPackConfig.cmake" -B "$build" >/dev/null
rm -rf "$build/_CPack_Packages"
ls -l "$build"/movik_*.deb
