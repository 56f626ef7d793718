#!/usr/bin/env bash
# Regenerates the golden baselines in tests/golden/ from the current movik-cli. Run it only
# when an output is meant to change, and review the difference (git diff) before committing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOVIK_BUILD_DIR:-$root/build}
"$root/scripts/build.sh" >/dev/null
golden=$root/tests/golden
grep -v '^#' "$golden/baselines.txt" | cut -d'|' -f1 | while read -r name; do
    [ -n "$name" ] || continue
    "$golden/run-baseline.sh" --update "$build/cli/movik-cli" "$root/examples" "$golden" "$name"
done
git -C "$root" status --short -- tests/golden
