// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The JSON output of every command. Strings are written as UTF-8 whole code
// point by code point (a surrogate pair is one character), so every name
// comes out as it is; integers are written from 64 bits, exactly (a double,
// as QJsonDocument uses, rounds above 2^53).
class JsonWriter
{
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    // The name of the next member of an object.
    JsonWriter& key(const char* name);
    JsonWriter& string(const QString& text);
    JsonWriter& number(quint64 value);
    JsonWriter& boolean(bool value);
    JsonWriter& null();
    // The document written so far, ended by a newline; the writer starts over.
    QByteArray finish();

    // text as a JSON string. A lone surrogate, which has no UTF-8 form, is
    // written as its \u escape rather than lost.
    static QByteArray quoted(const QString& text);

private:
    void separate();
    QByteArray m_out;
    bool m_first = true; // nothing written yet in the current object or array
};
