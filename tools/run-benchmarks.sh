#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark built into BUILD/bench.
set -eu
build=${1:-build}
found=0
failed=0
for b in "$build"/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    found=1
    echo "== $(basename "$b")"
    # A bench that fails its targets still lets the others run.
    "$b" || failed=1
done
[ "$found" = 1 ] || echo "No benchmarks built yet."
exit "$failed"
