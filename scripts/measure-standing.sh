#!/usr/bin/env bash
# movik-cli standing over N summary lines (default 100,000, as summary --format jsonl writes
# them: the example companies' lines repeated with generated indicators over ten years): the
# time of each format (best of RUNS runs, elapsed and CPU: on a shared machine the CPU time is
# what an idle one would take) and the largest resident memory, with the machine's load before
# and after.
#   scripts/measure-standing.sh [N] [RUNS] [FORMATS]   (FORMATS default "jsonl txt csv xlsx")
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
cli="$build/cli/movik-cli"
[ -x "$cli" ] || cmake --build "$build" --target movik-cli >/dev/null
count=${1:-100000}
runs=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$count" "$root/tests/golden/summary-usporedba.jsonl" >"$work/in.jsonl" <<'PY'
import json, random, sys
count, sample = int(sys.argv[1]), [json.loads(l) for l in open(sys.argv[2])]
rng = random.Random(1)
for i in range(count):
    line = dict(sample[i % len(sample)])
    year = 2016 + i % 10
    line.update(file="gen/%d.mvk" % i, company="Poduzeće %d" % i, to="%d-12-31" % year,
                **{"from": "%d-01-01" % year}, currency="EUR" if year >= 2023 else "HRK")
    line["indicators"] = {k: (None if rng.random() < 0.02 else round(v * (0.5 + rng.random()), 2))
                          for k, v in line["indicators"].items()}
    sys.stdout.write(json.dumps(line, ensure_ascii=False, separators=(",", ":")) + "\n")
PY
echo "input: $(wc -l <"$work/in.jsonl") lines, $(du -m "$work/in.jsonl" | cut -f1) MB"
echo "load before: $(uptime)"
for format in ${3:-jsonl txt csv xlsx}; do
    best=
    cpu=
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        /usr/bin/time -f "%M %U %S" -o "$work/rss" "$cli" --locale hr_HR standing "$work/in.jsonl" \
            --format "$format" -o "$work/out.$format"
        end=$(date +%s%N)
        ms=$(((end - start) / 1000000))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
        used=$(awk '{printf "%d", ($2 + $3) * 1000}' "$work/rss")
        if [ -z "$cpu" ] || [ "$used" -lt "$cpu" ]; then cpu=$used; fi
        cut -d' ' -f1 "$work/rss" >>"$work/rss-$format"
    done
    rss=$(sort -n "$work/rss-$format" | tail -1 | awk '{printf "%.1f", $1 / 1024}')
    echo "--format $format: $best ms elapsed, $cpu ms CPU (best of $runs)," \
        "largest resident memory $rss MB"
done
echo "load after: $(uptime)"
