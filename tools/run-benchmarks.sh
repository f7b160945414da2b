#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark built into BUILD/bench.
set -eu
build=${1:-build}
found=0
for b in "$build"/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    found=1
    echo "== $(basename "$b")"
    "$b"
done
[ "$found" = 1 ] || echo "No benchmarks built yet."
