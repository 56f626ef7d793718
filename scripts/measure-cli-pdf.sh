#!/usr/bin/env bash
# movik-cli pdf as a whole process: median wall time and the largest resident memory over RUNS
# runs (after two warm-up runs) of all six reports of the example document.
#   scripts/measure-cli-pdf.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
cli="$build/cli/movik-cli"
[ -x "$cli" ] || "$root/scripts/build.sh" >/dev/null
runs=${1:-30}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run() {
    /usr/bin/time -f %M -o "$work/rss" "$cli" --locale hr_HR pdf "$root/examples/primjer.mvk" \
        -o "$work/out.pdf"
}
run && run
: >"$work/times"
: >"$work/rsses"
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    run
    end=$(date +%s%N)
    echo $(((end - start) / 1000)) >>"$work/times"
    cat "$work/rss" >>"$work/rsses"
done
median=$(sort -n "$work/times" | awk '{a[NR] = $1} END {m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2; printf "%.1f", m / 1000}')
fastest=$(sort -n "$work/times" | head -1 | awk '{printf "%.1f", $1 / 1000}')
rss=$(sort -n "$work/rsses" | tail -1 | awk '{printf "%.1f", $1 / 1024}')
echo "movik-cli pdf (six reports, $runs runs): median ${median} ms, fastest ${fastest} ms, largest resident memory ${rss} MB"
