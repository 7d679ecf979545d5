#!/bin/sh
# The faces built into the program are exactly what scripts/make-fonts.py
# makes from the installed IPA fonts, and it can make them as web fonts too.
set -eu
source_dir=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

/usr/bin/python3 "$source_dir/scripts/make-fonts.py" --woff2 "$out"
for face in OhmDrillPGothic OhmDrillGothic; do
    cmp "$out/$face.ttf" "$source_dir/data/fonts/$face.ttf" ||
        { echo "data/fonts/$face.ttf is not what scripts/make-fonts.py makes"; exit 1; }
    [ "$(head -c 4 "$out/$face.woff2")" = wOF2 ] || { echo "$face.woff2 is no WOFF2 font"; exit 1; }
done
