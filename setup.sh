#!/bin/sh
# Installs what Parlix needs to build, run and test on Debian 12.
# Safe to run again: apt-get only adds what is missing.
set -eu

if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$0" "$@"
fi

packages="
    build-essential cmake ninja-build pkg-config ccache ca-certificates
    qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins qt6-translations-l10n
    libespeak-ng-dev espeak-ng liberfa-dev
    golang-github-mozillazg-go-pinyin-dev libopencc-dev
    qt6-webengine-dev liblzma-dev zlib1g-dev haxe fonts-arphic-gbsn00lp
    fonts-wqy-zenhei fonts-noto-cjk fonts-liberation2
    sox pulseaudio pulseaudio-utils xvfb xauth imagemagick clang-format-14
    fortunes-zh time
    libreoffice-writer-nogui poppler-utils
"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    # shellcheck disable=SC2086
    apt-get install -y --no-install-recommends $missing
fi
