// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/ProjectFilePrecheck.h"

#include <QIODevice>

namespace {

// The longest tag the format needs is under 20 bytes; anything far longer is
// not a project, and bounding it keeps the XML reader linear.
constexpr int MaxTagLength = 256;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

ProjectFilePrecheck::Result ProjectFilePrecheck::feed(QIODevice& device)
{
    Result result = Fine;
    QByteArray chunk;
    while (result == Fine && !(chunk = device.read(1 << 16)).isEmpty())
        result = feed(chunk.constData(), chunk.size());
    return result;
}

ProjectFilePrecheck::Result ProjectFilePrecheck::feed(const char* p, qint64 n)
{
    for (qint64 i = 0; i < n; ++i) {
        const Result r = step(p[i]);
        if (r != Fine)
            return r;
    }
    return Fine;
}

ProjectFilePrecheck::Result ProjectFilePrecheck::step(char c)
{
    if (c == '\0')
        return Nul;
    if (c == '\n')
        ++m_line;
    if (m_state != Text && m_state != Comment && m_state != CData && ++m_length > MaxTagLength)
        return LongTag;
    switch (m_state) {
    case Text:
        if (c == '<') {
            m_state = Open;
            m_length = 1;
        }
        break;
    case Open:
        m_head.clear();
        m_match = 0;
        m_state = c == '!' ? Bang : c == '?' ? Pi : c == '/' ? EndTag : Name;
        break;
    case Name:
        if (c == '>')
            m_state = Text;
        else if (isSpace(c))
            m_state = AfterName;
        break;
    case AfterName:
        if (c == '>')
            m_state = Text;
        else if (!isSpace(c) && c != '/')
            return Attribute;
        break;
    case EndTag:
        if (c == '>')
            m_state = Text;
        break;
    case Bang: {
        m_head += c;
        static const QByteArray comment("--"), cdata("[CDATA[");
        if (m_head == comment)
            m_state = Comment;
        else if (m_head == cdata)
            m_state = CData;
        else if (!comment.startsWith(m_head) && !cdata.startsWith(m_head))
            return Dtd;
        break;
    }
    case Comment:
    case CData: {
        const char closing = m_state == Comment ? '-' : ']';
        if (c == closing)
            m_match = qMin(m_match + 1, 2);
        else if (c == '>' && m_match == 2)
            m_state = Text;
        else
            m_match = 0;
        break;
    }
    case Pi:
        if (c == '>' && m_match == 1)
            m_state = Text;
        m_match = c == '?' ? 1 : 0;
        break;
    }
    return Fine;
}
