// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

// Puts a project file's bytes at path so that a full disk, a failed flush, a
// cancel or a crash at any moment leaves the old file as it was: the bytes go
// to a new file beside it, reach the disk, and only then replace it. Only a
// regular file is replaced: a link at path is followed when it names a
// regular file on the link's own file system (the file is replaced, the link
// stays); anything else there (a FIFO, a device, a folder, a link elsewhere)
// is refused and left as it was. The new file keeps the old one's
// permissions, and its owner and group where the process may set them;
// *warning, when given, says when it could not. cancelled, when given, is
// asked last before the replacement; true keeps the old file and fails.
// False, with a sentence for the user in *error, on any failure.
bool saveProjectBytes(const QString& path, const QByteArray& bytes, QString* error,
                      const std::function<bool()>& cancelled, QString* warning = nullptr);

// Why a save to path would be refused (see saveProjectBytes), as the end of
// a sentence; empty when it may go ahead.
QString saveRefusal(const QString& path);
