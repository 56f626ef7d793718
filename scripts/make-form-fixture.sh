#!/usr/bin/env bash
# Makes the committed example forms: examples/gfi-pod-2023.xlsx (versions 4.x/6.x, euros) with
# the tests' form builder, and examples/gfi-pod-2019.xls (version 3, kunas) converted from an
# .xlsx built the same way by LibreOffice (Debian's libreoffice-calc-nogui, needed only here).
#   scripts/make-form-fixture.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target make_forms >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/make_forms" example-2023 "$root/examples/gfi-pod-2023.xlsx"
"$build/bench/make_forms" example-2019 "$work/gfi-pod-2019.xlsx"
HOME=$work soffice --headless --norestore --convert-to xls --outdir "$work" \
    "$work/gfi-pod-2019.xlsx" >/dev/null
cp "$work/gfi-pod-2019.xls" "$root/examples/gfi-pod-2019.xls"
ls -l "$root/examples/gfi-pod-2023.xlsx" "$root/examples/gfi-pod-2019.xls"
