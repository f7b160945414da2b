#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the project-file fuzzer (clang, libFuzzer, ASan, UBSan) in build-fuzz/
# when needed and runs it for the given number of seconds (default 10), on the
# seed corpus in tests/fuzz/corpus plus what earlier runs found. Exits non-zero
# on a crash, a leak, a time-out or running out of memory; the input that did
# it is left in build-fuzz/artifacts/. QM_FUZZ_QT=5 or 6 picks the Qt (default:
# Qt 6 where installed); Qt 5 builds in build-fuzz-qt5/, so that the test runs
# of both do not rebuild each other's fuzzer.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-10}
qt=${QM_FUZZ_QT:-}
case $qt in
    5) build=${QM_FUZZ_BUILD:-$root/build-fuzz-qt5} ;;
    6 | "") build=${QM_FUZZ_BUILD:-$root/build-fuzz} ;;
    *) echo "QM_FUZZ_QT is $qt; it must be 5 or 6" >&2; exit 2 ;;
esac

if ! command -v clang++ >/dev/null 2>&1; then
    echo "SKIP: clang++ is not installed (run tools/install-deps.sh); fuzzer not run" >&2
    exit 77
fi

mkdir -p "$build"
build=$(cd "$build" && pwd)
# One build at a time, should several test runs start together.
exec 9>"$build/.lock"
flock 9

log="$build/build.log"
configure=no
if [ ! -f "$build/CMakeCache.txt" ]; then
    configure=yes
elif [ -n "$qt" ] && ! grep -qx "QT_MAJOR_VERSION:STRING=$qt" "$build/CMakeCache.txt"; then
    configure=yes # made for the other Qt, or before there was a choice
fi
if [ $configure = yes ]; then
    if ! cmake -S "$root/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ \
        ${qt:+-DQT_MAJOR_VERSION=$qt} >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$build/CMakeCache.txt"
        exit 1
    fi
fi
if ! cmake --build "$build" -j2 >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
fi

mkdir -p "$build/corpus" "$build/artifacts" "$build/run"
# Run inside the build tree, so nothing the fuzzer does can touch the sources.
cd "$build/run"
# libFuzzer's own exit code for a failure is 77, which ctest takes for a skip.
exec "$build/fuzz_projectfile" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -error_exitcode=1 -timeout_exitcode=1 \
    -dict="$root/tests/fuzz/projectfile.dict" \
    -artifact_prefix="$build/artifacts/" -print_final_stats=1 \
    "$build/corpus" "$root/tests/fuzz/corpus"
