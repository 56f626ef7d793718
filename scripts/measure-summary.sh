#!/usr/bin/env bash
# movik-cli summary over N generated documents (default 10,000): documents a minute with -j 1
# and -j 2 (best of RUNS runs each, after a warm-up run that fills the page cache) and the
# largest resident memory, with the machine's load before and after.
#   scripts/measure-summary.sh [N] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
cli="$build/cli/movik-cli"
maker="$build/bench/make_documents"
if [ ! -x "$cli" ] || [ ! -x "$maker" ]; then
    cmake --build "$build" --target movik-cli make_documents >/dev/null
fi
count=${1:-10000}
runs=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$maker" "$count" "$work/docs"
echo "load before: $(uptime)"
"$cli" --locale hr_HR summary "$work/docs" --format jsonl -j 2 >/dev/null
for jobs in 1 2; do
    best=
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        /usr/bin/time -f %M -o "$work/rss" "$cli" --locale hr_HR summary "$work/docs" \
            --format jsonl -j "$jobs" >"$work/out-$jobs.jsonl"
        end=$(date +%s%N)
        ms=$(((end - start) / 1000000))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
        cat "$work/rss" >>"$work/rss-$jobs"
    done
    rows=$(wc -l <"$work/out-$jobs.jsonl")
    rss=$(sort -n "$work/rss-$jobs" | tail -1 | awk '{printf "%.1f", $1 / 1024}')
    rate=$(awk -v n="$rows" -v ms="$best" 'BEGIN {printf "%.0f", n * 60000 / (ms > 0 ? ms : 1)}')
    echo "-j $jobs: $rows documents in $best ms (best of $runs) = $rate documents a minute," \
        "largest resident memory $rss MB"
done
cmp -s "$work/out-1.jsonl" "$work/out-2.jsonl" && echo "-j 1 and -j 2 wrote the same rows"
echo "load after: $(uptime)"
