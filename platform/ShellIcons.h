// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QPixmap;

// The icon for a file of that name, chosen by the name alone (the file need
// not exist); a new pixmap the caller owns.
QPixmap* shellIcon(const QString& name);

// The icon for the file type of path, cached by the text from the file name's
// last "." on (the whole path when there is none); owned by the cache.
QPixmap* fileIcon(const QString& path);
