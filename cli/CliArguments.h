// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// The words of one command line, split into options and plain words.
// Switches take no value; value options take the next word (or "=value");
// list options collect every following plain word up to the next option.
// "--" ends the options: the words after it go where a plain word would.
class CliArguments
{
public:
    CliArguments(const QStringList& switches, const QStringList& valueOptions,
                 const QStringList& listOptions = {});

    // False with a one-line reason for an unknown option or a missing value.
    bool parse(const QStringList& words, QString* error);

    bool isSet(const QString& option) const { return m_seen.contains(option); }
    QString value(const QString& option) const { return m_values.value(option); }
    QStringList list(const QString& option) const { return m_lists.value(option); }
    const QStringList& plain() const { return m_plain; }

private:
    QStringList m_switches;
    QStringList m_valueOptions;
    QStringList m_listOptions;
    QSet<QString> m_seen;
    QHash<QString, QString> m_values;
    QHash<QString, QStringList> m_lists;
    QStringList m_plain;
};
