// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/SizeText.h"

#include "core/model/Entry.h"

const QString& groupTitle(int group)
{
    static const QString titles[5] = {QStringLiteral("Dispensed"), QStringLiteral("Required"),
                                      QStringLiteral("Main"), QStringLiteral("Background"),
                                      QStringLiteral("Not In Use")};
    return titles[group];
}

QString sizeText(quint64 bytes)
{
    if (bytes < 1024)
        return QString::number(bytes) + QStringLiteral(" B");
    static const char* const units[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    double value = double(bytes) / 1024.0;
    int unit = 0;
    // Up a unit before the one decimal would round to "1024.0".
    while (unit < 5 && value >= 1023.95) {
        value /= 1024.0;
        ++unit;
    }
    return QString::number(value, 'f', 1) + QLatin1Char(' ') + QLatin1String(units[unit]);
}

QString preciseSizeText(quint64 bytes)
{
    if (bytes < 1000)
        return QString::number(bytes) + QStringLiteral(" B");
    static const char* const units[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    double value = double(bytes) / 1024.0;
    int unit = 0;
    // Up a unit before three digits would read "1000" or more.
    while (unit < 5 && value >= 999.5) {
        value /= 1024.0;
        ++unit;
    }
    const int decimals = value < 9.995 ? 2 : value < 99.95 ? 1 : 0;
    return QString::number(value, 'f', decimals) + QLatin1Char(' ') + QLatin1String(units[unit]);
}

QString sizeIssueText(int issue)
{
    switch (issue) {
    case Unreadable:
        return QStringLiteral("Some items inside could not be read, so its size is not known");
    case Vanished:
        return QStringLiteral("It no longer exists");
    case OutOfMemory:
        return QStringLiteral("Measuring it ran out of memory");
    default:
        return QString();
    }
}
