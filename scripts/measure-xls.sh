#!/usr/bin/env bash
# .xls forms read on many threads: movik-cli summary -j JOBS over COPIES copies of
# examples/gfi-pod-2019.xls, RUNS times; prints per run how many were read and refused, the wall
# time and the largest resident memory of movik-cli (each form is read by movik-xls-reader, a
# process of its own).
#   scripts/measure-xls.sh [COPIES] [JOBS] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
cli="$build/cli/movik-cli"
cmake --build "$build" --target movik-cli >/dev/null
copies=${1:-100}
jobs=${2:-32}
runs=${3:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for i in $(seq -w 1 "$copies"); do
    cp "$root/examples/gfi-pod-2019.xls" "$work/f$i.xls"
done
echo "load before: $(uptime)"
for run in $(seq "$runs"); do
    set +e
    /usr/bin/time -f "%e %M" -o "$work/time" "$cli" --locale hr_HR summary "$work" --format csv \
        -j "$jobs" >"$work/out.csv" 2>/dev/null
    set -e
    read -r seconds rss <"$work/time"
    read=$(grep -c ';da;' "$work/out.csv" || true)
    refused=$(grep -c ';ne;' "$work/out.csv" || true)
    echo "run $run: $copies forms, -j $jobs: read $read, refused $refused, $seconds s, RSS $rss KiB"
done
