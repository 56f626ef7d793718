#!/usr/bin/env bash
# Walks through a new user's whole task with the keyboard alone, as a person would, under a
# virtual X server with a small window manager (openbox) and the accessibility bus: a new
# document, the general data, amounts in the balance sheet and the income statement, save (file
# dialog by keyboard), print preview, print to a PDF file, the comparison window with the saved
# file, help with a search. After each step a screenshot OUTDIR/step-NN-what.png; the AT-SPI
# events the walk produced are in OUTDIR/events.log (one line per event, with its step) and a
# count per step in OUTDIR/summary.txt. Also the main window with the example document under a
# dark palette (OUTDIR/dark-main.png) through the qt6ct platform theme, as a dark desktop gives.
# For a person to run and read; not part of the test suite.
#
#   scripts/keyboard-walk.sh OUTDIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
program=${MOVIK_PROGRAM:-$build/app/movik}
out=${1:?usage: scripts/keyboard-walk.sh OUTDIR}
[ -x "$program" ] || { echo "keyboard-walk: $program is not built (scripts/build.sh)" >&2; exit 1; }
for tool in openbox xdotool xwd xwdtopnm pnmtopng xvfb-run dbus-run-session; do
    command -v "$tool" >/dev/null || {
        echo "keyboard-walk: $tool is missing (scripts/install-deps.sh)" >&2
        exit 1
    }
done
mkdir -p "$out"
out=$(cd "$out" && pwd)

# A fresh user: no settings, recent files or window places from earlier runs.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/dokumenti" "$home/.config/qt6ct"
# The dark palette a user picks in qt6ct (its own "darker" scheme).
cat >"$home/.config/qt6ct/qt6ct.conf" <<'EOF'
[Appearance]
color_scheme_path=/usr/share/qt6ct/colors/darker.conf
custom_palette=true
style=Fusion
EOF

export HOME=$home XDG_CONFIG_HOME=$home/.config
# Croatian regional settings for the program, as a user in Croatia has them.
export MOVIK_WALK_LOCALE=${MOVIK_LOCALE:-hr_HR.UTF-8}
export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export NO_AT_BRIDGE=0
export MOVIK_PROGRAM=$program MOVIK_ROOT=$root MOVIK_OUT=$out

inner=$(mktemp)
trap 'rm -rf "$home" "$inner"' EXIT
cat >"$inner" <<'EOF'
set -u
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
/usr/bin/python3 "$MOVIK_ROOT/scripts/keyboard_walk.py"
status=$?
kill "$wm" "$launcher" 2>/dev/null
wait "$wm" "$launcher" 2>/dev/null
exit $status
EOF
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    dbus-run-session -- bash "$inner"
echo "keyboard-walk: screenshots, events.log and summary.txt in $out"
