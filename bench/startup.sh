#!/bin/bash
# Start-up benchmark of the main program. Usage: bench/startup.sh [build-dir]
# Measures the time from starting the process to the main window's first
# finished paint, and the resident memory after the window has idled for
# five seconds (the about window has come and gone by then). Runs under a
# virtual X display when xvfb-run is there, else on the offscreen platform.
# Prints each figure beside the one of the previous run (bench/results/startup.txt).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${RUNS:-5}

if [ -z "${PARLIX_BENCH_INNER:-}" ]; then
    if command -v xvfb-run >/dev/null && [ -z "${DISPLAY:-}" ]; then
        PARLIX_BENCH_INNER=xcb exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build"
    fi
    PARLIX_BENCH_INNER=${DISPLAY:+xcb}
    PARLIX_BENCH_INNER=${PARLIX_BENCH_INNER:-offscreen}
fi
[ "$PARLIX_BENCH_INNER" = offscreen ] && export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" NARREX_AUDIO=silent
mkdir -p "$HOME" "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

paints=() rss=()
for i in $(seq "$runs"); do
    report="$work/paint$i"
    start=$(date +%s%N)
    PARLIX_STARTUP_REPORT="$report" "$build/bin/Parlix" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 200); do [ -s "$report" ] && break; sleep 0.02; done
    [ -s "$report" ] || { echo "no first paint after 4 s" >&2; kill "$pid"; exit 1; }
    paints+=("$(awk -v a="$start" -v b="$(cat "$report")" 'BEGIN { printf "%.0f", (b - a) / 1e6 }')")
    sleep 5
    rss+=("$(awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status")")
    kill "$pid"; wait "$pid" 2>/dev/null || true
done

now="$work/now.txt"
{
    echo "platform $PARLIX_BENCH_INNER, median of $runs runs"
    echo "start to first paint: $(printf '%s\n' "${paints[@]}" | median) ms (runs: ${paints[*]}; target < 500 ms)"
    echo "resident memory after 5 s idle: $(printf '%s\n' "${rss[@]}" | median) MB (target < 80 MB)"
} > "$now"

mkdir -p "$here/results"
last="$here/results/startup.txt"
if [ -f "$last" ]; then
    paste -d '\n' <(sed 's/^/now:  /' "$now") <(sed 's/^/last: /' "$last")
else
    sed 's/^/now:  /' "$now"
fi
cp "$now" "$last"
