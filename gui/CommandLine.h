// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Reads `quillmarch [FILE]`: --help and --version print and end the process,
// as does an unknown option or a second file. Returns the project file named
// (absolute), or an empty text when there is none.
QString commandLineProject(const QStringList& arguments);
