#!/bin/bash
# Large documents in the main window. Usage: bench/documents.sh [build-dir]
# Opens and saves a 10 MB GBK text and a 10 MB RTF (made by the benchmark),
# and prints how long each took and how long the window was held up at the
# most, beside the figures of the previous run (bench/results/documents.txt).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" \
    NARREX_AUDIO=silent QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$work/run"

now="$work/now.txt"
"$build/bin/documents-bench" 2>/dev/null | grep -E '^(open|show|save)' > "$now"

mkdir -p "$here/results"
last="$here/results/documents.txt"
if [ -f "$last" ]; then
    paste -d '\n' <(sed 's/^/now:  /' "$now") <(sed 's/^/last: /' "$last")
else
    sed 's/^/now:  /' "$now"
fi
cp "$now" "$last"
