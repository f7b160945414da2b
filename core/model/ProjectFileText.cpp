// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/ProjectFileText.h"

bool isXmlText(const QString& s)
{
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const ushort c = s.at(i).unicode();
        if (c < 0x20) {
            if (c != '\t' && c != '\n' && c != '\r')
                return false;
        } else if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= n || !s.at(i + 1).isLowSurrogate())
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            return false;
        }
    }
    return true;
}

QString printable(const QString& s)
{
    QString out;
    out.reserve(s.size());
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate() && i + 1 < n && s.at(i + 1).isLowSurrogate()) {
            out += c;
            out += s.at(++i);
        } else if (c.unicode() < 0x20 || c.isSurrogate() || c.unicode() >= 0xFFFE) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += c;
        }
    }
    return out;
}

QString withoutFullStop(QString s)
{
    while (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s;
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}
