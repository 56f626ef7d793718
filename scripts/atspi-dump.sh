#!/usr/bin/env bash
# Starts the program with a document under a virtual X server and a private D-Bus session with
# the accessibility bus, and prints what a screen reader sees of every page and window (the
# AT-SPI tree of showing objects) with a count line for each: controls, unnamed controls, row
# headers and named row headers. For a person to read.
#
#   scripts/atspi-dump.sh [DOCUMENT.mvk] > atspi.txt
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
document=${1:-$root/examples/primjer.mvk}
program=${MOVIK_PROGRAM:-$build/app/movik}
[ -x "$program" ] || { echo "atspi-dump: $program is not built (scripts/build.sh)" >&2; exit 1; }

export LC_ALL=${MOVIK_LOCALE:-C.UTF-8}
export QT_QPA_PLATFORM=xcb
# Qt exposes its accessibility tree even when no screen reader has asked for it.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export NO_AT_BRIDGE=0

inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat >"$inner" <<'EOF'
set -u
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
sleep 1
"$MOVIK_RUN" "$MOVIK_DOC" 2>/dev/null &
program=$!
/usr/bin/python3 "$MOVIK_ROOT/scripts/atspi_dump.py" Movik
status=$?
kill "$program" 2>/dev/null
wait "$program" 2>/dev/null
kill "$launcher" 2>/dev/null
exit $status
EOF
MOVIK_RUN=$program MOVIK_DOC=$document MOVIK_ROOT=$root \
    xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    dbus-run-session -- bash "$inner"
