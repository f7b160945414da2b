// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/SizeText.h"

#include <QCoreApplication>

#include <QCoreApplication>
#include <QLocale>

#include "core/model/Entry.h"

namespace {

// The user's decimal separator ("1,5 MiB" in German), without grouping, so
// that figures keep their width.
QString decimalText(double value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

const char* const s_groupNames[5] = {
    QT_TRANSLATE_NOOP("SizeText", "Dispensed"), QT_TRANSLATE_NOOP("SizeText", "Required"),
    QT_TRANSLATE_NOOP("SizeText", "Main"), QT_TRANSLATE_NOOP("SizeText", "Background"),
    QT_TRANSLATE_NOOP("SizeText", "Not In Use")};
} // namespace

QString groupTitle(int group)
{
    return QCoreApplication::translate("SizeText", s_groupNames[group]);
}

QString groupName(int group)
{
    return QLatin1String(s_groupNames[group]);
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
    return decimalText(value, 1) + QLatin1Char(' ') + QLatin1String(units[unit]);
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
    return decimalText(value, decimals) + QLatin1Char(' ') + QLatin1String(units[unit]);
}

QString sizeIssueText(int issue)
{
    switch (issue) {
    case Unreadable:
        return QCoreApplication::translate(
            "SizeText", "Some items inside could not be read, so its size is not known");
    case Vanished:
        return QCoreApplication::translate("SizeText", "It no longer exists");
    case OutOfMemory:
        return QCoreApplication::translate("SizeText", "Measuring it ran out of memory");
    default:
        return QString();
    }
}
