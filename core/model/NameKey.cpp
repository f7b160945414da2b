// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/NameKey.h"

#include <QHash>

#include "core/model/Entry.h"

NameRule nameRuleOf(int fileSystem)
{
    return fileSystem == UDF || fileSystem == EXT4 || fileSystem == ISO9660 ? NameRule::Exact
                                                                             : NameRule::Windows;
}

QString nameKey(const QString& name, NameRule rule)
{
    if (rule == NameRule::Exact)
        return name;
    int end = name.size();
    while (end > 0 &&
           (name.at(end - 1) == QLatin1Char('.') || name.at(end - 1) == QLatin1Char(' ')))
        --end;
    QString key = name.left(end);
    // Unit by unit, as the up-case table maps: no unit becomes two, and the
    // halves of a surrogate pair stay as they are.
    for (QChar& c : key) {
        const uint upper = c.isSurrogate() ? c.unicode() : QChar::toUpper(uint(c.unicode()));
        if (upper <= 0xffff)
            c = QChar(ushort(upper));
    }
    return key;
}

std::vector<int> sameNameHolders(const QStringList& names, NameRule rule)
{
    std::vector<int> holders(std::size_t(names.size()), -1);
    QHash<QString, int> first;
    first.reserve(names.size());
    for (int i = 0; i < names.size(); ++i) {
        const QString key = nameKey(names.at(i), rule);
        const auto taken = first.constFind(key);
        if (taken != first.constEnd())
            holders[std::size_t(i)] = *taken;
        else
            first.insert(key, i);
    }
    return holders;
}
