#pragma once

#include <QString>

struct ProjectData;

// The XML project file. Both report failure by result and, when error is
// given, a sentence for the user; neither shows anything.

// Writes atomically: the old file stays intact unless the whole new one was
// written. Fails, writing nothing, when a text cannot be carried by XML 1.0.
bool writeProjectFile(const QString& path, const ProjectData& data, QString* error = nullptr);

// Fills out only when the whole file was read; out is untouched on failure.
bool readProjectFile(const QString& path, ProjectData& out, QString* error = nullptr);
