// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliArguments.h"

#include <QCoreApplication>

CliArguments::CliArguments(const QStringList& switches, const QStringList& valueOptions,
                           const QStringList& listOptions)
    : m_switches(switches), m_valueOptions(valueOptions), m_listOptions(listOptions)
{
}

bool CliArguments::parse(const QStringList& words, QString* error)
{
    QString list; // the list option collecting plain words, if any
    bool optionsEnded = false;
    for (int i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        const bool isOption = !optionsEnded && word.size() > 1 && word.startsWith(QLatin1Char('-'));
        if (!isOption) {
            if (list.isEmpty())
                m_plain << word;
            else
                m_lists[list] << word;
            continue;
        }
        if (word == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        QString name = word;
        QString inlineValue;
        bool hasInlineValue = false;
        const int eq = word.indexOf(QLatin1Char('='));
        if (word.startsWith(QLatin1String("--")) && eq > 2) {
            name = word.left(eq);
            inlineValue = word.mid(eq + 1);
            hasInlineValue = true;
        }
        if (m_switches.contains(name) && !hasInlineValue) {
            m_seen.insert(name);
            list.clear();
        } else if (m_valueOptions.contains(name)) {
            if (!hasInlineValue) {
                if (i + 1 >= words.size()) {
                    *error = QCoreApplication::translate("CliCommands", "option %1 needs a value")
                                 .arg(name);
                    return false;
                }
                inlineValue = words.at(++i);
            }
            if (m_seen.contains(name)) {
                *error =
                    QCoreApplication::translate("CliCommands", "option %1 given more than once")
                        .arg(name);
                return false;
            }
            m_seen.insert(name);
            m_values.insert(name, inlineValue);
            list.clear();
        } else if (m_listOptions.contains(name) && !hasInlineValue) {
            m_seen.insert(name);
            m_lists[name]; // present even when no word follows
            list = name;
        } else {
            *error = QCoreApplication::translate("CliCommands", "unknown option %1").arg(word);
            return false;
        }
    }
    return true;
}
