#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Keeps the translations in i18n/ in step with the texts of the sources
# (core/, control/, platform/, gui/, cli/). Without an argument it updates
# every i18n/quillmarch_LANG.ts, new texts marked unfinished for Qt Linguist,
# and the English plural forms (tools/plurals.sh).
# --check: fails, naming them, while a text of any language is unfinished,
# empty or missing (run by ctest).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${LUPDATE:-lupdate}
if ! command -v "$lupdate" >/dev/null 2>&1; then
    echo "translations: lupdate is missing (apt-get install qt6-l10n-tools or qttools5-dev-tools)" >&2
    exit 77
fi
update() { # FILE LANG
    (cd "$root" && "$lupdate" -silent -I . -locations none -no-obsolete \
        -target-language "$2" core control platform gui cli -ts "$1")
}
languages=$(cd "$root/i18n" && ls quillmarch_*.ts | sed 's/quillmarch_\(.*\)\.ts/\1/' | grep -vx en)
if [ "${1:-}" != "--check" ]; then
    for language in $languages; do
        update "$root/i18n/quillmarch_$language.ts" "$language"
    done
    LUPDATE=$lupdate sh "$root/tools/plurals.sh"
    exit 0
fi
copy=$(mktemp --suffix=.ts)
trap 'rm -f "$copy"' EXIT
status=0
for language in $languages; do
    cp "$root/i18n/quillmarch_$language.ts" "$copy"
    # A tr() whose context lupdate cannot tell is a text no translation reaches.
    lost=$(update "$copy" "$language" 2>&1 | grep -E 'cannot be called without context|lacks Q_OBJECT' | sort -u || true)
    if [ -n "$lost" ]; then
        echo "translations: lupdate cannot tell the context of these texts (use" >&2
        echo "Q_DECLARE_TR_FUNCTIONS or QCoreApplication::translate):" >&2
        echo "$lost" >&2
        status=1
    fi
    # A text not yet translated (new ones come in unfinished), or translated
    # to nothing.
    missing=$(awk '/<source>/ { s = $0 }
                   /type="unfinished"|<translation><\/translation>|<numerusform><\/numerusform>/ { print s }' "$copy" |
              sed 's/ *<\/*source>//g' | sort -u)
    if [ -n "$missing" ]; then
        echo "translations: these texts are not translated in i18n/quillmarch_$language.ts" >&2
        echo "(run 'cmake --build build --target translations' and translate them in Qt Linguist):" >&2
        echo "$missing" >&2
        status=1
    fi
done
exit $status
