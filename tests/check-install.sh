#!/bin/sh
# Installs the build into a scratch prefix and checks that the program and
# its desktop files land where desktops look for them, and that the desktop
# entry and the software-centre metadata validate.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
id=org.ohmdrill.OhmParallel
for f in bin/ohm-parallel \
         share/applications/$id.desktop \
         share/icons/hicolor/scalable/apps/$id.svg \
         share/metainfo/$id.metainfo.xml \
         share/doc/ohm-parallel/copyright \
         share/doc/ohm-parallel/IPA_Font_License_Agreement_v1.0.txt; do
    [ -f "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
[ -x "$prefix/bin/ohm-parallel" ] || { echo "program not executable"; exit 1; }
grep -qx 'Name=オームの法則（並列）' "$prefix/share/applications/$id.desktop"
grep -qx 'Categories=Education;Science;Physics;' "$prefix/share/applications/$id.desktop"

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
# The icon is well-formed SVG.
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$id.svg"
