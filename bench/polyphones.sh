#!/bin/bash
# How well the engine reads characters with several readings (多音字), on the
# labelled sentences of the CPP polyphone data (sonarel/data/cpp-polyphones,
# the dev split). Usage: bench/polyphones.sh [build-dir]
#
# The engine's context rules are learned from those same sentences, so they
# are measured by 10-fold cross-validation: the rules learned from nine
# tenths read the tenth left out, in turn for each tenth. Printed beside:
#   - each character's most frequent reading in the nine tenths (the usual
#     baseline: 92.08 % on the CPP test split as published);
#   - the word list alone, without context rules.
# Published on the CPP test split: pypinyin 86.13 %, g2pM 97.31 %, a BERT
# model 97.85 %. Target: 96 %, goal 97.5 %.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
mapfile -t sources < "$build/tools/pinyin-data-sources.txt"
now=$(mktemp)
trap 'rm -f "$now"' EXIT
"$build/tools/make-pinyin-data" "${sources[@]}" --evaluate 10 > "$now"

mkdir -p "$here/results"
last="$here/results/polyphones.txt"
if [ -f "$last" ]; then
    paste -d '\n' <(sed 's/^/now:  /' "$now") <(sed 's/^/last: /' "$last")
else
    sed 's/^/now:  /' "$now"
fi
cp "$now" "$last"
