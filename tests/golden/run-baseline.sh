#!/usr/bin/env bash
# Runs movik-cli for one line of baselines.txt and compares what it gave with the stored file,
# byte for byte; with --update, stores it instead.
#   run-baseline.sh [--update] CLI EXAMPLES_DIR GOLDEN_DIR NAME
set -euo pipefail
update=0
if [ "$1" = "--update" ]; then
    update=1
    shift
fi
cli=$1 examples=$2 golden=$3 name=$4

line=$(awk -F'|' -v name="$name" '!/^#/ && $1 == name' "$golden/baselines.txt" | head -n 1)
if [ -z "$line" ]; then
    echo "no baseline named $name in $golden/baselines.txt" >&2
    exit 2
fi
IFS='|' read -r _ expectedExit stream arguments <<<"$line"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The examples under a relative name as well, so outputs that show paths are the same anywhere.
ln -s "$examples" "$work/examples"
arguments=${arguments//@EXAMPLES@/$examples}
arguments=${arguments//@OUT@/$work/out}
arguments=${arguments//@GOLDEN@/$golden}
read -r -a args <<<"$arguments"

export TZ=UTC LC_ALL=C.UTF-8
rc=0
(cd "$work" && "$cli" "${args[@]}" >"$work/stdout" 2>"$work/stderr") || rc=$?
if [ "$rc" != "$expectedExit" ]; then
    echo "$name: exit code $rc, expected $expectedExit" >&2
    cat "$work/stderr" >&2
    exit 1
fi
case $stream in
    stdout) actual=$work/stdout ;;
    stderr) actual=$work/stderr ;;
    file) actual=$work/out ;;
    xlsx-cells)
        # A workbook's zip holds times: its cells, read back with openpyxl, are compared.
        cp "$work/out" "$work/out.xlsx"
        /usr/bin/python3 "$golden/../reports/read-xlsx.py" "$work/out.xlsx" >"$work/cells"
        actual=$work/cells
        ;;
    pdf-text)
        # A PDF holds times and font subsets: the text of its pages is compared.
        pdftotext -layout "$work/out" "$work/text"
        actual=$work/text
        ;;
    *) echo "$name: unknown stream '$stream'" >&2; exit 2 ;;
esac

if [ "$update" = 1 ]; then
    cp "$actual" "$golden/$name"
    exit 0
fi
if ! cmp "$golden/$name" "$actual"; then
    diff <(od -c "$golden/$name") <(od -c "$actual") | head -n 20 >&2 || true
    exit 1
fi
