#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Photographs the real main window over a sample project, under its own X
# server, into a PNG (default docs/screenshot.png). Builds the sample program
# first if needed. Needs: xvfb (xvfb-run), imagemagick (import), xwininfo
# (x11-utils), and optionally xdotool to wait for the window instead of a
# fixed pause.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}
out=${1:-$root/docs/screenshot.png}
for tool in xvfb-run import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "screenshot: $tool is missing (apt-get install xvfb imagemagick)" >&2
        exit 1
    fi
done
[ -d "$build" ] || cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j2 --target qm_sample_window >/dev/null
mkdir -p "$(dirname "$out")"

# Without a window manager the window sits at the top left corner of a screen
# wider than it; the picture is the window alone. QT_SCALE_FACTOR=2 (whole
# numbers) photographs the high-density look on a screen twice the size.
scale=${QT_SCALE_FACTOR:-1}
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 $((1400 * scale))x$((1130 * scale))x24" sh -c '
    "$1" & pid=$!
    if command -v xdotool >/dev/null 2>&1; then
        timeout 20 xdotool search --sync --onlyvisible --class qm_sample_window >/dev/null || true
    fi
    sleep 2
    # The biggest window of the program: the main window, not a helper.
    id=$(xwininfo -root -tree 2>/dev/null |
         awk "/qm_sample_window/ { split(\$(NF-1), g, \"[x+]\"); if (g[1] * g[2] > best) { best = g[1] * g[2]; id = \$1 } } END { print id }")
    import -window "${id:-root}" "$2"
    kill "$pid"
' sh "$build/tools/qm_sample_window" "$out" 2>/dev/null
echo "screenshot: $out"
