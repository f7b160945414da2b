#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails, naming them, on lines of gui/ and cli/ that hand a text literal with
# words in it straight to the user: to a label, button, title, tool tip, menu,
# message box or the message area, or to the command line's error and
# progress output, without tr() or QCoreApplication::translate(). It sees one
# line at a time, so a literal on the line after the call goes unnoticed; it
# errs on the side of few false alarms. A line that rightly shows a literal
# as it is (a name, a key for scripts) ends with the comment "// untranslated".
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
calls='(set(Text|WindowTitle|ToolTip|StatusTip|WhatsThis|PlaceholderText|Title|LabelText|InformativeText|DetailedText|HeaderLabels|HorizontalHeaderLabels|ApplicationDescription)|add(Action|Menu|Button|Item|Tab|PositionalArgument)|showMessage|showWarning|new Q(Label|PushButton|CheckBox|RadioButton|GroupBox|Action)|QMessageBox(::[a-z]+)?|progress(->|\.)show|\bfail|failEscaped|usage|writeLine)\('
literal='(QStringLiteral|QLatin1String|QString::fromUtf8|QString::fromLatin1)?\("[^"]*[A-Za-z][a-z]+[^"]*"'
found=$(cd "$root" && grep -nE "$calls" gui/*.cpp cli/*.cpp |
        grep -E "$literal" |
        grep -vE '\b(tr|translate|QT_TRANSLATE_NOOP|QT_TR_NOOP)\(|// untranslated|^[^:]+:[0-9]+: *//' || true)
if [ -n "$found" ]; then
    echo "untranslated: these lines show a text without tr() (or end them with // untranslated):" >&2
    echo "$found" >&2
    exit 1
fi
