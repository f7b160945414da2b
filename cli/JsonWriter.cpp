// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/JsonWriter.h"

namespace {

void appendEscape(QByteArray& out, uint unit)
{
    static const char hex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += hex[(unit >> shift) & 0xf];
}

void appendUtf8(QByteArray& out, uint cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xc0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3f));
    } else if (cp < 0x10000) {
        out += char(0xe0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3f));
        out += char(0x80 | (cp & 0x3f));
    } else {
        out += char(0xf0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3f));
        out += char(0x80 | ((cp >> 6) & 0x3f));
        out += char(0x80 | (cp & 0x3f));
    }
}

} // namespace

QByteArray JsonWriter::quoted(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() + 2);
    out += '"';
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const uint u = text.at(i).unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            appendUtf8(out, QChar::surrogateToUcs4(ushort(u), text.at(++i).unicode()));
            continue;
        }
        switch (u) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (u < 0x20 || QChar::isSurrogate(u))
                appendEscape(out, u);
            else
                appendUtf8(out, u);
        }
    }
    out += '"';
    return out;
}

void JsonWriter::separate()
{
    if (!m_first)
        m_out += ',';
    m_first = false;
}

JsonWriter& JsonWriter::beginObject()
{
    separate();
    m_out += '{';
    m_first = true;
    return *this;
}

JsonWriter& JsonWriter::endObject()
{
    m_out += '}';
    m_first = false;
    return *this;
}

JsonWriter& JsonWriter::beginArray()
{
    separate();
    m_out += '[';
    m_first = true;
    return *this;
}

JsonWriter& JsonWriter::endArray()
{
    m_out += ']';
    m_first = false;
    return *this;
}

JsonWriter& JsonWriter::key(const char* name)
{
    separate();
    m_out += quoted(QLatin1String(name));
    m_out += ':';
    m_first = true; // the value that follows takes no comma
    return *this;
}

JsonWriter& JsonWriter::string(const QString& text)
{
    separate();
    m_out += quoted(text);
    return *this;
}

JsonWriter& JsonWriter::number(quint64 value)
{
    separate();
    m_out += QByteArray::number(value);
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value)
{
    separate();
    m_out += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null()
{
    separate();
    m_out += "null";
    return *this;
}

QByteArray JsonWriter::finish()
{
    QByteArray out = m_out + '\n';
    m_out.clear();
    m_first = true;
    return out;
}
