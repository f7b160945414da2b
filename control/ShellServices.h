// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// The desktop services the dispense commands use. GUI thread only.

// The clipboard then holds exactly these files, in this order, as a list that
// file managers paste as a copy.
void postFilesToClipboard(const QStringList& paths);

// Moves the file or folder to the trash without any dialog; false when it was
// not moved (nothing is ever deleted outright).
bool deleteToRecycleBin(const QString& path);

// Puts back at its path each file or folder that deleteToRecycleBin moved to
// the trash at or after since (the latest, where it went there more than
// once); never over anything in its place. For each path, in order: why it
// did not come back, or an empty text.
QStringList restoreFromRecycleBin(const QStringList& paths, const QDateTime& since);

// Opens a file manager on folder with item selected.
void revealInFileManager(const QString& folder, const QString& item);
