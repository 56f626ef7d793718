#!/usr/bin/env bash
# The official form's import: one form (examples/gfi-pod-2023.xlsx) as a whole process, RUNS
# times (median wall time and the largest resident memory), and movik-cli summary over N
# generated forms with -j 2 (forms a minute, after a warm-up run). The in-process time is
# build/bench/bench_form.
#   scripts/measure-form.sh [N] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
cli="$build/cli/movik-cli"
maker="$build/bench/make_forms"
cmake --build "$build" --target movik-cli make_forms >/dev/null
count=${1:-1000}
runs=${2:-21}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "load before: $(uptime)"
for _ in $(seq "$runs"); do
    /usr/bin/time -f "%e %M" -a -o "$work/one" "$cli" --locale hr_HR form \
        "$root/examples/gfi-pod-2023.xlsx" -o "$work/one.mvk" --force >/dev/null
done
sort -n "$work/one" | awk -v n="$runs" '{ t[NR] = $1; if ($2 > m) m = $2 }
    END { printf "one form, whole process: median %.3f s, largest RSS %d KiB (%d runs)\n",
          t[int((n + 1) / 2)], m, n }'
mkdir -p "$work/forms"
"$maker" many "$work/forms" "$count"
"$cli" --locale hr_HR summary "$work/forms" --format jsonl -j 2 >/dev/null
start=$(date +%s%N)
/usr/bin/time -f %M -o "$work/rss" "$cli" --locale hr_HR summary "$work/forms" --format jsonl \
    -j 2 >"$work/out.jsonl"
end=$(date +%s%N)
ms=$(((end - start) / 1000000))
failed=$(grep -c '"ok":false' "$work/out.jsonl" || true)
echo "summary of $count forms, -j 2: $ms ms, $((count * 60000 / (ms > 0 ? ms : 1))) forms a minute," \
    "largest RSS $(cat "$work/rss") KiB, rows failed: $failed"
echo "load after: $(uptime)"
