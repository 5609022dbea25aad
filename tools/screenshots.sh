#!/bin/bash
# Screenshots of the main window in each of the seven styles, for looking at
# the program as a user sees it. Usage: tools/screenshots.sh [build-dir] [out-dir]
# Needs xvfb-run and ImageMagick's import; with xdotool it also points the
# mouse at the read button, so the balloon hint shows.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
out=$(mkdir -p "${2:-screenshots}" && cd "${2:-screenshots}" && pwd)

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build" "$out"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" NARREX_AUDIO=silent
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Parlix/registry/Software" && mkdir -m 700 "$XDG_RUNTIME_DIR"

for style in 0 1 2 3 4 5 6; do
    printf '[General]\nSound=1\nStyle=%s\nRepeat=1\n' "$style" \
        > "$XDG_CONFIG_HOME/Parlix/registry/Software/Parlix.ini"
    "$build/bin/Parlix" &
    pid=$!
    sleep 3.6 # the about window shows at the first tick and closes 2 s later
    if command -v xdotool >/dev/null; then
        win=$(xdotool search --sync --name '语音朗读器' | head -n 1)
        eval "$(xdotool getwindowgeometry --shell "$win")"
        xdotool windowfocus --sync "$win"
        xdotool mousemove $((X + 300)) $((Y + 300))
        sleep 0.3
        xdotool mousemove $((X + 404)) $((Y + 62))
        sleep 1.2
    fi
    import -window root -crop 870x580+205+110 "$out/style$style.png"
    kill "$pid"; wait "$pid" 2>/dev/null || true
done
echo "screenshots in $out"
