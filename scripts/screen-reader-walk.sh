#!/usr/bin/env bash
# What a screen reader says over a walk of the balance sheet and of the comparison: runs Orca
# (its speech logged, no sound needed) beside the program with the example document, under a
# virtual X server with openbox and the accessibility bus, presses keys as a person would and
# matches Orca's speech and the focused object to each key. Counts, in OUTDIR/summary.txt:
# grid moves whose speech names the cell's column and says whether it is typed into, "zbroj" on
# typed and on computed rows, and returns to a grid that report the current cell. Every key with
# its speech is in OUTDIR/speech.txt. For a person to run and read; not part of the test suite.
#
#   scripts/screen-reader-walk.sh OUTDIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
program=${MOVIK_PROGRAM:-$build/app/movik}
out=${1:?usage: scripts/screen-reader-walk.sh OUTDIR}
[ -x "$program" ] || { echo "screen-reader-walk: $program is not built" >&2; exit 1; }
for tool in orca openbox xdotool xvfb-run dbus-run-session; do
    command -v "$tool" >/dev/null || {
        echo "screen-reader-walk: $tool is missing (scripts/install-deps.sh)" >&2
        exit 1
    }
done
mkdir -p "$out"
out=$(cd "$out" && pwd)

home=$(mktemp -d)
inner=$(mktemp)
trap 'rm -rf "$home" "$inner"' EXIT
mkdir -p "$home/.config" "$home/runtime"
chmod 700 "$home/runtime"
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/runtime
export MOVIK_WALK_LOCALE=${MOVIK_LOCALE:-hr_HR.UTF-8}
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0 GTK_A11Y=atspi
export MOVIK_PROGRAM=$program MOVIK_ROOT=$root MOVIK_OUT=$out

cat >"$inner" <<'EOF'
set -u
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
orca --replace --debug-file "$MOVIK_OUT/orca-debug.txt" >/dev/null 2>&1 &
reader=$!
sleep 4
/usr/bin/python3 "$MOVIK_ROOT/scripts/screen_reader_walk.py"
status=$?
kill "$reader" "$wm" "$launcher" 2>/dev/null
# Orca may not end on a polite signal.
sleep 2
kill -9 "$reader" 2>/dev/null
wait "$reader" "$wm" "$launcher" 2>/dev/null
exit $status
EOF
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    dbus-run-session -- bash "$inner"
echo "screen-reader-walk: speech.txt and summary.txt in $out"
