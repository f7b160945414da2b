// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include <QString>
#include <QStringView>

// The element names of the project file, shared by its writer and reader so
// that a new element is named once.
struct ProjectFileTags
{
    QString root = QStringLiteral("Quillmarch");
    QString target = QStringLiteral("Target");
    QString path = QStringLiteral("Path");
    QString availableBlocks = QStringLiteral("AvailableBlocks");
    QString availableInodes = QStringLiteral("AvailableInodes"); // only where there is a limit
    QString blockSize = QStringLiteral("BlockSize");
    QString fileSystem = QStringLiteral("FileSystem");
    QString volume = QStringLiteral("Volume");
    std::array<QString, 5> groups = {QStringLiteral("Dispensed"), QStringLiteral("Required"),
                                     QStringLiteral("Main"), QStringLiteral("Background"),
                                     QStringLiteral("NotInUse")}; // indexed by EntryGroup
    QString entry = QStringLiteral("Entry");
    QString ident = QStringLiteral("Ident");
    QString size = QStringLiteral("Size");
    QString name = QStringLiteral("Name");
    QString kind = QStringLiteral("Kind");
    QString origin = QStringLiteral("Origin");

    // The EntryGroup the element name stands for, or NoGroup.
    int group(QStringView name) const;
};

// The one table, built on first use.
const ProjectFileTags& projectFileTags();
