#!/usr/bin/env bash
# Builds examples/primjer.mvk, the example document of a fictional company, from the two
# statements in examples/ (bilanca.csv, racun.csv: the program's own semicolon-separated
# format, Windows-1250, US-style numbers) with movik-cli, and checks that it balances.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
cli=$build/cli/movik-cli
if [ ! -x "$cli" ]; then
    "$root/scripts/build.sh" >/dev/null
fi

out=$root/examples/primjer.mvk
tmp=$(mktemp "$root/examples/.primjer.XXXXXX")
trap 'rm -f "$tmp"' EXIT

"$cli" new "$tmp" --force --company "Lipa-Mont d.d." --seat "Varaždin" \
    --from 2023-01-01 --to 2023-12-31 --shares 120000 --locale en_US
"$cli" import "$tmp" bilanca "$root/examples/bilanca.csv" --locale en_US
"$cli" import "$tmp" racun "$root/examples/racun.csv" --locale en_US
# Exit code 1 means a consistency warning: the example must have none.
"$cli" check "$tmp" --locale en_US
chmod 644 "$tmp"
mv "$tmp" "$out"
trap - EXIT
echo "$out"
