#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# After ctest: how many test rows ran on real mounted volumes (NTFS, ext4,
# tmpfs, read-only binds), from the log the tests write (TestMounts::countRow).
# Those rows are the strongest tests and need root; skipped ones are named.
log=${1:-build/real-volume-rows.log}
ran=0
skipped=0
if [ -f "$log" ]; then
    ran=$(grep -c '^ran ' "$log")
    skipped=$(grep -c '^skipped ' "$log")
fi
echo "Rows on real volumes: $ran ran, $skipped skipped"
if [ "$skipped" -gt 0 ]; then
    hint=
    [ "$(id -u)" -ne 0 ] && hint=": mounting needs root (sudo make test)"
    echo "WARNING: ROWS ON REAL VOLUMES SKIPPED: $skipped$hint"
    sed -n 's/^skipped /  skipped: /p' "$log"
elif [ "$ran" -eq 0 ]; then
    echo "WARNING: NO ROW RAN ON A REAL VOLUME"
fi
exit 0
