#!/usr/bin/env bash
# Builds the libFuzzer targets (clang-14, own build folder) and runs them.
#   scripts/fuzz.sh [TARGET|all] [SECONDS]
# TARGET is document, import, amount, fields, help, xlsx, xls or xls_reply (default all); SECONDS
# per target (default 30). Each run starts from the seed corpus in fuzz/corpus/TARGET (read only)
# and keeps what it learns in build-fuzz/corpus/TARGET. Prints libFuzzer's closing line per
# target. A finding ends with a non-zero exit, the reproducer left in build-fuzz/findings/TARGET;
# so does any file that appears there during the run, whatever process wrote it.
# FreeXL's own known faults are named in fuzz/asan-freexl.supp and fuzz/lsan-freexl.supp (no
# target calls FreeXL; the suppressions hold for a run that reaches it in process).
# Environment: MOVIK_FUZZ_BUILD_DIR (default build-fuzz), MOVIK_FUZZ_JOBS (build jobs),
# MOVIK_FUZZ_TIMEOUT (seconds one input may take, default 10; raise it for a long run at low
# priority on a busy machine, where a starved process would otherwise report a timeout).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
which=${1:-all}
seconds=${2:-30}
build=${MOVIK_FUZZ_BUILD_DIR:-$root/build-fuzz}
targets=(document import amount fields help xlsx xls xls_reply)
if [ "$which" != all ]; then
    case " ${targets[*]} " in
        *" $which "*) targets=("$which") ;;
        *) echo "fuzz.sh: nepoznat cilj '$which' (document, import, amount, fields, help, xlsx, xls, xls_reply, all)" >&2
           exit 2 ;;
    esac
fi

"$root/scripts/install-deps.sh"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DMOVIK_FUZZ=ON \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOVIK_BENCH=OFF "${launcher[@]}" >/dev/null
fi
cmake --build "$build" -j"${MOVIK_FUZZ_JOBS:-$(nproc)}" --target "${targets[@]/#/fuzz_}"

# The largest input each target takes: a document file is 59,954 bytes.
declare -A maxLen=([document]=65536 [import]=32768 [amount]=256 [fields]=256 [help]=65536
    [xlsx]=65536 [xls]=65536 [xls_reply]=65536)
status=0
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    findings=$build/findings/$target
    mkdir -p "$corpus" "$findings"
    log=$build/fuzz-$target.log
    stamp=$build/fuzz-$target.start
    touch "$stamp"
    set +e
    ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:suppressions=$root/fuzz/asan-freexl.supp} \
        LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/fuzz/lsan-freexl.supp} \
        "$build/fuzz/fuzz_$target" "$corpus" "$root/fuzz/corpus/$target" \
        -max_total_time="$seconds" -max_len="${maxLen[$target]}" \
        -timeout="${MOVIK_FUZZ_TIMEOUT:-10}" -rss_limit_mb=2048 \
        -artifact_prefix="$findings/" -print_final_stats=0 >"$log" 2>&1
    code=$?
    set -e
    # Any file written into the findings during the run is a finding, whoever wrote it.
    new=$(find "$findings" -type f -newer "$stamp" | sort)
    if [ -n "$new" ] && [ "$code" -eq 0 ]; then
        code=99
    fi
    # libFuzzer's closing line: "Done N runs in S second(s)", or what ended the run.
    closing=$(grep -E '^Done [0-9]+ runs' "$log" | tail -1 || true)
    last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
    echo "$target: ${last:-no progress}"
    if [ "$code" -ne 0 ]; then
        echo "$target: NALAZ (izlaz $code), ulaz: ${new:-$findings/$(ls -t "$findings" | head -1)}" >&2
        grep -E 'ERROR|property broken|SUMMARY' "$log" | head -5 >&2 || true
        echo "$target: cijeli zapis: $log" >&2
        status=1
    else
        echo "$target: ${closing:-Done}"
    fi
done
exit "$status"
