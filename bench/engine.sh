#!/bin/bash
# Speech engine benchmarks. Usage: bench/engine.sh [build-dir]
# Prints each figure beside the one of the previous run (bench/results/engine.txt).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" NARREX_AUDIO=silent
runs=${RUNS:-3}

# The Tang and Song poems of fortunes-zh, without colour codes and separators.
poems="$work/poems.txt"
cat /usr/share/games/fortunes/tang300 /usr/share/games/fortunes/song100 \
    | sed -e 's/\x1b\[[0-9;]*m//g' -e '/^%$/d' > "$poems"
# 1 MB of GBK text, as the program hands it to the engine.
big="$work/big.txt"
: > "$big"
while [ "$(stat -c %s "$big")" -lt 1048576 ]; do iconv -f utf-8 -t gbk -c "$poems" >> "$big" || true; done
small="$work/small.txt"
head -n 300 "$poems" > "$small"

# wall seconds and peak MB of one run, as "wall mb"
measure() {
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" > /dev/null 2>&1
    awk '{ printf "%.2f %.1f\n", $1, $2 / 1024 }' "$work/time"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# A and B in turn; the ratio is taken pair by pair so that a machine whose
# speed drifts between runs still gives a fair comparison.
ours=() theirs=() ratios=() ours_mb=() theirs_mb=()
for _ in $(seq "$runs"); do
    read -r w m < <(measure "$build/bin/parlix-wave" -q "$poems" "$work/ours.wav")
    ours+=("$w"); ours_mb+=("$m")
    read -r w2 m2 < <(measure espeak-ng -v cmn-latn-pinyin+f2 -s 165 -w "$work/theirs.wav" -f "$poems")
    theirs+=("$w2"); theirs_mb+=("$m2")
    ratios+=("$(awk -v a="$w" -v b="$w2" 'BEGIN { printf "%.3f", a / b }')")
done
ow=$(printf '%s\n' "${ours[@]}" | median)
tw=$(printf '%s\n' "${theirs[@]}" | median)
om=$(printf '%s\n' "${ours_mb[@]}" | median)
tm=$(printf '%s\n' "${theirs_mb[@]}" | median)
ratio=$(printf '%s\n' "${ratios[@]}" | median)
audio=$(soxi -D "$work/ours.wav" 2>/dev/null || echo 0)
theirs_audio=$(soxi -D "$work/theirs.wav" 2>/dev/null || echo 0)
read -r _ small_mb < <(measure "$build/bin/parlix-wave" -q "$small" "$work/small.wav")

first=$("$build/bin/narrex-bench" first-sample "$big" 7)
frontend=$("$build/bin/narrex-bench" frontend "$big" 5)
read_big=$("$build/bin/narrex-bench" read "$big" 5)
read_small=$("$build/bin/narrex-bench" read "$small" 5)

now="$work/now.txt"
{
    echo "poems $(stat -c %s "$poems") bytes, median of $runs runs; audio: parlix-wave $(awk -v s="$audio" 'BEGIN { printf "%.0f", s }') s, espeak-ng's Mandarin $(awk -v s="$theirs_audio" 'BEGIN { printf "%.0f", s }') s"
    echo "conversion wall: parlix-wave ${ow} s, espeak-ng -v cmn-latn-pinyin+f2 -w ${tw} s, median ratio ${ratio} (target <= 1.10)"
    echo "conversion peak memory: parlix-wave ${om} MB (${small_mb} MB for $(stat -c %s "$small") bytes), espeak-ng ${tm} MB"
    echo "$first (target < 50 ms)"
    echo "$frontend (target < 200 ms for 1 MB)"
    echo "$read_big (targets < 60 MB, data < 25 MB)"
    echo "$read_small"
} > "$now"

mkdir -p "$here/results"
last="$here/results/engine.txt"
if [ -f "$last" ]; then
    paste -d '\n' <(sed 's/^/now:  /' "$now") <(sed 's/^/last: /' "$last")
else
    sed 's/^/now:  /' "$now"
fi
cp "$now" "$last"
