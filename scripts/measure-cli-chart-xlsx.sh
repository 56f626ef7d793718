#!/usr/bin/env bash
# movik-cli chart (both kinds, PNG and SVG) and movik-cli xlsx as whole processes: median wall
# time and the largest resident memory over RUNS runs (after two warm-up runs) on the example.
#   scripts/measure-cli-chart-xlsx.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
cli="$build/cli/movik-cli"
[ -x "$cli" ] || "$root/scripts/build.sh" >/dev/null
runs=${1:-30}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

measure() {
    local label=$1
    shift
    run() { /usr/bin/time -f %M -o "$work/rss" "$cli" --locale hr_HR "$@" >/dev/null; }
    run "$@" && run "$@"
    : >"$work/times"
    : >"$work/rsses"
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        run "$@"
        end=$(date +%s%N)
        echo $(((end - start) / 1000)) >>"$work/times"
        cat "$work/rss" >>"$work/rsses"
    done
    median=$(sort -n "$work/times" | awk '{a[NR] = $1} END {m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2; printf "%.1f", m / 1000}')
    rss=$(sort -n "$work/rsses" | tail -1 | awk '{printf "%.1f", $1 / 1024}')
    echo "movik-cli $label ($runs runs): median ${median} ms, largest resident memory ${rss} MB"
}

example="$root/examples/primjer.mvk"
measure "chart structure PNG" chart "$example" --kind structure -o "$work/s.png"
measure "chart income SVG" chart "$example" --kind income -o "$work/i.svg"
measure "xlsx" xlsx "$example" -o "$work/p.xlsx"
