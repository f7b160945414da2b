#!/bin/sh
# Renders the icon sources gui/res/img/src/*.svg into the 16- and 32-pixel Windows
# icon files that the program compiles in (res/img/NAME16.ico, NAME32.ico; the
# application icon as MainIcon16m.ico and MainIcon32m.ico). The rendered files
# are committed, so only whoever edits an icon needs this script.
# Needs: rsvg-convert (librsvg2-bin) and icotool (icoutils).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
src=$root/gui/res/img/src
out=$root/gui/res/img
for tool in rsvg-convert icotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "render-icons: $tool is missing (apt-get install librsvg2-bin icoutils)" >&2
        exit 1
    fi
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for svg in "$src"/*.svg; do
    name=$(basename "$svg" .svg)
    suffix=
    [ "$name" = MainIcon ] && suffix=m
    for size in 16 32; do
        rsvg-convert -w "$size" -h "$size" -o "$tmp/$name$size.png" "$svg"
        icotool -c -o "$out/$name$size$suffix.ico" "$tmp/$name$size.png"
    done
done
echo "render-icons: $(ls "$out"/*.ico | wc -l) icon files in $out"
