#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Plans onto fresh NTFS and FAT32 images (512 B to 64 KiB clusters; sparse,
# up to 4 GiB) with several kinds of trees and a 1 GiB NTFS volume of deep
# folders, copies the chosen entries (to NTFS with cp -r, rsync --inplace and
# a tar pipe, each making a folder's children in an order of its own) and
# prints the predicted and the real free space of each. Needs root (ntfs-3g),
# mkfs.fat, mtools, rsync and a few GiB of disk. Slow: two hours or so.
# Usage: fill-sweep.sh [BUILD [TEST]], TEST e.g. "realVolumes:FAT32 65536
# deep" or "realVolumes:NTFS 4096 deep rsync".
set -eu
build=${1:-build}
QM_FILL_SWEEP=1 "$build/tests/core/test_trycalcer" "${2:-realVolumes}" 2>&1 |
    grep --line-buffered -E 'QINFO|FAIL|Totals'
