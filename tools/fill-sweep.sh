#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Plans onto fresh NTFS and FAT32 images (512 B to 64 KiB clusters; sparse,
# up to 4 GiB) with several kinds of trees and a 1 GiB NTFS volume of deep
# folders, copies the chosen entries (to NTFS with cp -r, rsync --inplace and
# a tar pipe, each making a folder's children in an order of its own) and
# prints the predicted and the real free space of each. exFAT (4 KiB to
# 128 KiB clusters, through exfat-fuse; a sparse file over 4 GiB among them)
# and ext4 (1 KiB and 4 KiB blocks, kernel loop mounts, copied as an
# unprivileged user; trees bound by inodes among them) are filled by their
# rules, with cp -r and rsync --inplace. ISO 9660 discs (a CD of every kind of
# tree, a DVD-5 of photos, a DVD DL holding a file past 4 GiB) are planned and
# written to an image by the program's own writer: the image must be no
# larger than planned, and smaller by at most 0.1% of the disc. Needs root
# (ntfs-3g, loop mounts), mkfs.fat, mtools, exfatprogs, exfat-fuse, e2fsprogs,
# rsync and some 10 GiB of disk. Slow: four hours or so.
# Usage: fill-sweep.sh [BUILD [TEST]], TEST e.g. "realVolumes:FAT32 65536
# deep", "realVolumes:NTFS 4096 deep rsync", "realVolumes:ext4 1024 long cp"
# or "realVolumes:ISO 9660 CD small".
set -eu
build=${1:-build}
# A row of several GiB copies for longer than the test library's 5 minutes.
QTEST_FUNCTION_TIMEOUT=${QTEST_FUNCTION_TIMEOUT:-3600000} QM_FILL_SWEEP=1 \
    "$build/tests/core/test_trycalcer" "${2:-realVolumes}" 2>&1 |
    grep --line-buffered -E 'QINFO|FAIL|Totals'
