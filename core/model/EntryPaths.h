// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include "core/model/Entry.h"

// Normalises path in place (one trailing "/" cut, except on "/" itself) and
// splits it into the folder that holds it and its name. "/data" gives "/" and
// "data"; "/" gives "/" and "/"; a path without "/" is both parent and name.
void splitPath(QString& path, QString& parent, QString& name);

// The entry for one chosen or dropped path: a file with its size, or a
// folder whose size is still to be measured. False, with a sentence for the
// user in *why, when the path cannot be an entry: it does not exist, its name
// is not valid UTF-8 (Qt then holds a different name), or it is a device,
// FIFO or socket.
// *missing tells a path that does not exist from the other refusals.
bool entryForPath(const QString& path, Entry& entry, QString* why = nullptr,
                  bool* missing = nullptr);

// A name as the system holds it, for messages and output: every byte that is
// not part of valid UTF-8, and the bytes of every control, format (such as
// the bidirectional override U+202E) and line or paragraph separator
// character, shown as \xHH; a backslash shown as \\. So a name can neither
// break a line, drive a terminal, nor print as another name, and bash's
// printf %b gives the bytes back.
QString escapedName(const QByteArray& bytes);
// The same for text.
QString escapedText(const QString& text);
