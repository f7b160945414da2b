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
    struct Unit
    {
        quint64 threshold;
        const char* text;
    };
    static const Unit units[] = {{Q_UINT64_C(1) << 50, "EB"},
                                 {Q_UINT64_C(1) << 40, "TB"},
                                 {Q_UINT64_C(1) << 30, "Gb"},
                                 {Q_UINT64_C(1) << 20, "Mb"},
                                 {Q_UINT64_C(1) << 10, "kb"}};
    for (const Unit& u : units) {
        if (bytes > u.threshold)
            return QString::number(double(bytes) / double(u.threshold), 'f', 1) +
                   QLatin1Char(' ') + QLatin1String(u.text);
    }
    return QString::number(bytes);
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
