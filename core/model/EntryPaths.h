#pragma once

#include <QString>

#include "core/model/Entry.h"

// Normalises path in place (one trailing "/" cut, except on "/" itself) and
// splits it into the folder that holds it and its name. "/data" gives "/" and
// "data"; "/" gives "/" and "/"; a path without "/" is both parent and name.
void splitPath(QString& path, QString& parent, QString& name);

// The entry for one chosen or dropped path: a file with its size when path
// names a file, otherwise a folder whose size is still to be measured.
Entry entryForPath(const QString& path);
