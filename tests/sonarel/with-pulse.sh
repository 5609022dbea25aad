#!/bin/sh
# Runs a command beside a private PulseAudio server whose only sink is a null
# sink, so the engine's real sound output path runs on machines without a
# sound card. The server goes away with the command.
set -eu
dir=$(mktemp -d)
mkdir -p "$dir/home"
export HOME="$dir/home" XDG_RUNTIME_DIR="$dir"
chmod 700 "$dir"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
    --load="module-null-sink sink_name=parlix_null" \
    --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
    > "$dir/pulse.log" 2>&1 &
pid=$!
export PULSE_SERVER="unix:$dir/native"
i=0
until pactl info > /dev/null 2>&1; do
    i=$((i + 1))
    if [ "$i" -gt 50 ]; then
        echo "PulseAudio did not start:" >&2
        cat "$dir/pulse.log" >&2
        kill "$pid" 2>/dev/null || true
        exit 1
    fi
    sleep 0.1
done
rc=0
"$@" || rc=$?
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
rm -rf "$dir"
exit "$rc"
