#!/usr/bin/env bash
# Builds examples/primjer.mvk, the example document of a fictional company, from the two
# statements in examples/ (bilanca.csv, racun.csv: the program's own semicolon-separated
# format, Windows-1250, US-style numbers) with movik-cli, and checks that it balances.
# Then builds examples/usporedba/: nine documents of three companies over three years for the
# comparison window and movik-cli summary, scaled from the same two statements (one of them
# deliberately out of balance, so a warning shows); those before 2023 in kunas.
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

# scaled CSV IN OUT BALANCE_FACTOR RESULT_FACTOR [unbalanced]: the balance sheet's amounts times
# BALANCE_FACTOR, its current-year profit (row 64) set to the income statement's result after
# tax times RESULT_FACTOR; the difference goes to the suppliers (row 80) so that it still
# balances, unless "unbalanced" is given.
scaled_bilanca() {
    LC_ALL=C awk -F';' -v OFS=';' -v fb="$3" -v fr="$4" -v keep="${5:-}" '
        function num(t) { gsub(",", "", t); return t + 0 }
        NR == 1 { print; next }
        {
            $3 = sprintf("%.2f", num($3) * fb)
            cur = num($5)
            if ($1 == 64) { cur = 424000 * fr / fb }
            if ($1 == 80 && keep != "unbalanced") { cur += 424000 * (fb - fr) / fb }
            $5 = sprintf("%.2f", cur * fb)
            print
        }' "$1" >"$2"
}
scaled_racun() {
    LC_ALL=C awk -F';' -v OFS=';' -v fr="$3" '
        function num(t) { gsub(",", "", t); return t + 0 }
        NR == 1 { print; next }
        { $3 = sprintf("%.2f", num($3) * fr); print }' "$1" >"$2"
}

many=$root/examples/usporedba
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$many"
rm -f "$many"/*.mvk
# company;seat;shares;year;balance factor;result factor;file;option
while IFS=';' read -r company seat shares year fb fr file option; do
    # Statements for years before 2023 are in kunas: the same company's figures at the fixed
    # rate (the factor kept to two decimals, as the others), so its trend across the changeover
    # is continuous once converted to euros.
    if [ "$year" -lt 2023 ]; then
        fb=$(LC_ALL=C awk -v f="$fb" 'BEGIN { printf "%.2f", f * 7.5345 }')
        fr=$(LC_ALL=C awk -v f="$fr" 'BEGIN { printf "%.2f", f * 7.5345 }')
    fi
    scaled_bilanca "$root/examples/bilanca.csv" "$work/b.csv" "$fb" "$fr" "$option"
    scaled_racun "$root/examples/racun.csv" "$work/r.csv" "$fr"
    doc=$work/$file
    "$cli" new "$doc" --force --company "$company" --seat "$seat" --from "$year-01-01" \
        --to "$year-12-31" --shares "$shares" --locale en_US
    "$cli" import "$doc" bilanca "$work/b.csv" --locale en_US
    "$cli" import "$doc" racun "$work/r.csv" --locale en_US
    if [ "$option" != unbalanced ]; then
        "$cli" check "$doc" --locale en_US
    fi
    chmod 644 "$doc"
    mv "$doc" "$many/$file"
done <<'LIST'
Lipa-Mont d.d.;Varaždin;120000;2021;0.84;0.71;lipa-mont-2021.mvk;
Lipa-Mont d.d.;Varaždin;120000;2022;0.92;0.86;lipa-mont-2022.mvk;
Lipa-Mont d.d.;Varaždin;120000;2023;1.00;1.00;lipa-mont-2023.mvk;
Čvorak d.o.o.;Osijek;20000;2022;0.35;0.42;cvorak-2022.mvk;
Čvorak d.o.o.;Osijek;20000;2023;0.41;0.47;cvorak-2023.mvk;
Čvorak d.o.o.;Osijek;20000;2024;0.38;0.21;cvorak-2024.mvk;
Žitna polja d.d.;Vukovar;450000;2022;2.10;1.65;zitna-polja-2022.mvk;
Žitna polja d.d.;Vukovar;450000;2023;2.26;2.05;zitna-polja-2023.mvk;
Žitna polja d.d.;Vukovar;450000;2024;2.49;2.30;zitna-polja-2024.mvk;unbalanced
LIST
trap - EXIT
rm -rf "$work"
echo "$many"
