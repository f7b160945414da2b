// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The desktop services the dispense commands use. GUI thread only.

// The clipboard then holds exactly these files, in this order, as a list that
// file managers paste as a copy.
void postFilesToClipboard(const QStringList& paths);

// Moves the file or folder to the trash without any dialog; false when it was
// not moved (nothing is ever deleted outright).
bool deleteToRecycleBin(const QString& path);

// Opens a file manager on folder with item selected.
void revealInFileManager(const QString& folder, const QString& item);
