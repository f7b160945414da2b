#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Keeps control/i18n/quillmarch_en.ts, the English plural forms, in step with
# the texts that take a count (tr("%n entries", nullptr, n)) in core/,
# control/ and gui/. Without an argument it adds the new texts to the file,
# whose two forms ("%n entry", "%n entries") are then filled in by hand.
# --check: fails, naming them, while any text lacks its forms (run by ctest).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
ts=$root/control/i18n/quillmarch_en.ts
# The build's test passes the lupdate of its Qt.
lupdate=${LUPDATE:-lupdate}
if ! command -v "$lupdate" >/dev/null 2>&1; then
    echo "plurals: lupdate is missing (apt-get install qt6-l10n-tools or qttools5-dev-tools)" >&2
    exit 77
fi
update() {
    (cd "$root" && "$lupdate" -silent -I . -pluralonly -locations none -no-obsolete \
        -target-language en core control gui -ts "$1")
}
if [ "${1:-}" != "--check" ]; then
    update "$ts"
    exit 0
fi
copy=$(mktemp --suffix=.ts)
trap 'rm -f "$copy"' EXIT
cp "$ts" "$copy"
update "$copy"
# A text without its forms, or with an empty one.
missing=$(awk '/<source>/ { s = $0 } /type="unfinished"|<numerusform><\/numerusform>/ { print s }' "$copy" |
          sed 's/ *<\/*source>//g' | sort -u)
if [ -n "$missing" ]; then
    echo "plurals: these texts have no English plural forms in control/i18n/quillmarch_en.ts" >&2
    echo "(run tools/plurals.sh and fill them in):" >&2
    echo "$missing" >&2
    exit 1
fi
