// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QString>
#include <QStringList>

// How a file system tells the names in one folder apart.
enum class NameRule
{
    // The name as it is: ext4, UDF as its standard defines it, and ISO 9660
    // discs by their Rock Ridge names (libisofs makes the others unique).
    Exact,
    // FAT32, exFAT and NTFS as Windows reads them: trailing dots and spaces
    // are dropped, and letters are compared by their upper case, one UTF-16
    // unit to one (the up-case table).
    Windows,
};

// The rule of a target of FileSystemKind fileSystem.
NameRule nameRuleOf(int fileSystem);

// The key of name in a folder of rule: two names with equal keys land at the
// same place there, and only one of them can be stored.
QString nameKey(const QString& name, NameRule rule);

// For each of names, in order, the index of the first earlier one with the
// same key, or -1: the later of two is the one that cannot have its name.
std::vector<int> sameNameHolders(const QStringList& names, NameRule rule);
