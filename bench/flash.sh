#!/bin/bash
# The Flash window with its real player. Usage: bench/flash.sh [build-dir] [rounds]
# For each round: open the window, pick 数星星.swf, and time until its first
# frame is on screen (target < 2.5 s); the memory of the program and every
# process it started before the window opens, while the movie plays, and
# 3 s after the window closed (target: within 50 MB of before). Memory is
# given as PSS (shared pages counted once; includes the code of the web
# engine library, which stays loaded) and as anonymous memory (heaps and
# data, what the program itself holds). Printed beside the previous run's
# figures (bench/results/flash.txt). The start-up of the main program is
# measured by bench/startup.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$work/run"

now="$work/now.txt"
"$build/bin/flash-bench" "${2:-3}" 2>/dev/null | grep '^round' > "$now"

mkdir -p "$here/results"
last="$here/results/flash.txt"
if [ -f "$last" ]; then
    paste -d '\n' <(sed 's/^/now:  /' "$now") <(sed 's/^/last: /' "$last")
else
    sed 's/^/now:  /' "$now"
fi
cp "$now" "$last"
