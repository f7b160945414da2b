#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Plans onto fresh NTFS (512 B to 64 KiB clusters) and FAT32 (512 B to 4 KiB)
# images with several kinds of trees, copies the chosen entries and prints the
# predicted and the real free space of each. Needs root (ntfs-3g), mkfs.fat
# and mtools. Slow: minutes.
set -eu
build=${1:-build}
QM_FILL_SWEEP=1 "$build/tests/core/test_trycalcer" realVolumes 2>&1 | grep -E 'QINFO|FAIL|Totals'
