#!/bin/sh
# Photographs the real main window over a sample project, under its own X
# server, into a PNG (default docs/screenshot.png). Builds the sample program
# first if needed. Needs: xvfb (xvfb-run), imagemagick (import), and
# optionally xdotool to wait for the window instead of a fixed pause.
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

# The screen is exactly the sample window's size: without a window manager the
# window sits at the top left corner and fills it.
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 800x1130x24" sh -c '
    "$1" & pid=$!
    if command -v xdotool >/dev/null 2>&1; then
        timeout 20 xdotool search --sync --onlyvisible --class qm_sample_window >/dev/null || true
    fi
    sleep 2
    import -window root "$2"
    kill "$pid"
' sh "$build/tools/qm_sample_window" "$out" 2>/dev/null
echo "screenshot: $out"
