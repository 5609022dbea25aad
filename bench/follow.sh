#!/bin/bash
# Following a reading in the editor. Usage: bench/follow.sh [build-dir] [seconds]
# Reads a 1 MB text aloud (silent output, real-time pace) and prints the CPU
# share of the window's thread with the sentence highlight on and off, and
# how soon the highlight follows the engine, beside the figures of the
# previous run (bench/results/follow.txt).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" \
    NARREX_AUDIO=silent QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$work/run"

now="$work/now.txt"
"$build/bin/follow-bench" "${2:-15}" 2>/dev/null | grep -E '^highlight' > "$now"

mkdir -p "$here/results"
last="$here/results/follow.txt"
if [ -f "$last" ]; then
    paste -d '\n' <(sed 's/^/now:  /' "$now") <(sed 's/^/last: /' "$last")
else
    sed 's/^/now:  /' "$now"
fi
cp "$now" "$last"
