#!/usr/bin/env bash
# Builds and starts Movik. An optional argument is the document to open.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" >/dev/null
exec "${MOVIK_BUILD_DIR:-$root/build}/app/movik" "$@"
