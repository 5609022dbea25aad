#!/bin/bash
# What the engine says over the whole Chinese text of fortunes-zh: each line
# through `parlix-wave --phonemes` (what espeak-ng synthesises, language
# switches shown as "(en)"). A line without Latin letters must never switch
# to English. Usage: bench/speech.sh [build-dir]  (takes a few minutes)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" NARREX_AUDIO=silent

text="$work/fortunes.txt"
cat /usr/share/games/fortunes/chinese /usr/share/games/fortunes/tang300 /usr/share/games/fortunes/song100 \
    | sed -e 's/\x1b\[[0-9;]*m//g' -e '/^%$/d' > "$text"
start=$(date +%s.%N)
"$build/bin/parlix-wave" --phonemes "$text" > "$work/phonemes.txt" 2> "$work/err.txt"
end=$(date +%s.%N)

now="$work/now.txt"
paste -d '\t' "$text" "$work/phonemes.txt" | perl -CSD -ne '
    chomp; my ($line, $ph) = split /\t/, $_, 2; $ph //= "";
    $lines++; $han += () = $line =~ /\p{Han}/g;
    next if $line =~ /[\p{Latin}]/;
    $checked++; $checkedHan += () = $line =~ /\p{Han}/g;
    if ($ph =~ /\(en\)/) { $english++; print STDERR "switches to English: $line\n" if $english <= 5; }
    END { printf "fortunes-zh: %d lines, %d Chinese characters; %d lines without Latin letters (%d Chinese characters): %d switch to English (target 0)\n",
          $lines, $han, $checked, $checkedHan, $english // 0; }' > "$now"
awk -v a="$start" -v b="$end" 'BEGIN { printf "phonemes of the whole text in %.0f s\n", b - a }' >> "$now"

mkdir -p "$here/results"
last="$here/results/speech.txt"
if [ -f "$last" ]; then
    paste -d '\n' <(sed 's/^/now:  /' "$now") <(sed 's/^/last: /' "$last")
else
    sed 's/^/now:  /' "$now"
fi
cp "$now" "$last"
