#!/bin/bash
# The lunar calendar beside ICU's Chinese calendar. Usage: bench/calendar.sh [build-dir]
# Times, under farm-bench (whole processes, ours paired with ICU run by run):
#   convert: every day from 31 Jan 1900 to 31 Dec 2100 to its lunar date;
#   paint:   the month grid painted for 240 consecutive months, lunar dates
#            from ours or from ICU (solar terms are ours in both: ICU has none).
# The figures are saved in bench/results/calendar.txt; the previous run's are
# printed after the new ones.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
bench="$build/bin/calendar-bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$work/run"

now="$work/now.txt"
for job in "convert" "paint 240"; do
    set -- $job
    echo "== $1 (A = ours, B = ICU)" >> "$now"
    farm-bench -n 7 --vs "$bench $1 icu ${2:-}" -- "$bench" "$1" ours ${2:+"$2"} 2>&1 \
        | grep -E '^(A|B|A/B) (cpu|wall|peak)|ratio' >> "$now"
done
"$bench" agree 2>/dev/null | tail -n 1 | sed 's/^/== lunar dates, ours and ICU: /' >> "$now"

mkdir -p "$here/results"
last="$here/results/calendar.txt"
cat "$now"
if [ -f "$last" ]; then
    echo "-- previous run --"
    cat "$last"
fi
cp "$now" "$last"
