// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

class QIODevice;

// A pass over a project file's raw bytes before the XML reader sees them,
// refusing what the format never holds: attributes (the XML reader checks
// them for duplicates in quadratic time), a DTD, NUL bytes (no UTF-8 XML has
// them) and overlong tags. Comments, CDATA and the declaration are let
// through. Linear in the input, whatever it holds.
class ProjectFilePrecheck
{
public:
    enum Result
    {
        Fine,
        Attribute,
        Dtd,
        LongTag,
        Nul
    };

    // Reads the device to its end, or to the first refusal. A read error
    // ends it too, as Fine: the caller looks at the device's error.
    Result feed(QIODevice& device);
    // The line the check stopped on, counted from 1.
    qint64 line() const { return m_line; }

private:
    enum State
    {
        Text,
        Open,
        Name,
        AfterName,
        EndTag,
        Bang,
        Comment,
        CData,
        Pi
    };

    Result feed(const char* p, qint64 n);
    Result step(char c);

    State m_state = Text;
    QByteArray m_head;
    int m_length = 0;
    int m_match = 0;
    qint64 m_line = 1;
};
