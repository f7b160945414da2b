// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>

struct ProjectData;

// The XML project file. Both report failure by result and, when error is
// given, a sentence for the user; neither shows anything.

// Writes atomically: the old file stays intact unless the whole new one
// reached the disk. Fails, writing nothing, when a text cannot be carried by
// XML 1.0 or path holds something other than a regular file (see
// saveProjectBytes). cancelled, when given, is asked last before the new file
// replaces the old one; true keeps the old file and fails. warning: what a
// successful save could not keep of the old file (its owner), or empty.
bool writeProjectFile(const QString& path, const ProjectData& data, QString* error = nullptr,
                      const std::function<bool()>& cancelled = {}, QString* warning = nullptr);

// Fills out only when the whole file was read; out is untouched on failure.
bool readProjectFile(const QString& path, ProjectData& out, QString* error = nullptr);
