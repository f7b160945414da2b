// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Text helpers shared by the project file's writer, reader and save.

// Whether every character can stand in an XML 1.0 file: tab, line feed,
// carriage return, U+0020..U+D7FF, U+E000..U+FFFD and U+10000 upwards (as
// surrogate pairs).
bool isXmlText(const QString& s);

// The text with tab, line ends and every character XML cannot hold shown as
// U+FFFD, for messages.
QString printable(const QString& s);

// A system error text as the end of one of our sentences, which adds its own
// full stop.
QString withoutFullStop(QString s);

// Sets *error when the caller asked for one.
void setError(QString* error, const QString& text);
