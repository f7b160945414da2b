// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

// Puts a project file's bytes at path so that a full disk, a failed flush, a
// cancel or a crash at any moment leaves the old file as it was: the bytes go
// to a new file beside it, reach the disk, and only then replace it. A link
// at path is followed, so the file it names is replaced and the link stays;
// the new file keeps the old one's permissions. cancelled, when given, is
// asked last before the replacement; true keeps the old file and fails. False,
// with a sentence for the user in *error, on any failure.
bool saveProjectBytes(const QString& path, const QByteArray& bytes, QString* error,
                      const std::function<bool()>& cancelled);
