// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

#include <QString>
#include <QtGlobal>

class FilesPlaceWalker;

// True when path names a file (following links); size := its length.
// False for a folder or for nothing at all.
bool probeFile(const QString& path, quint64& size);

// How a walk ended. Anything but Complete leaves the reported total short:
// Unreadable, some folder or item below could not be read; Missing, folder
// itself does not exist; OutOfMemory, the walk's own lists did not fit.
enum class WalkEnd { Complete, Stopped, Unreadable, Missing, OutOfMemory };
// What path names, links followed. A link that leads nowhere is an empty
// File, as the walk counts it; devices, FIFOs and sockets are Other.
enum class ItemKind
{
    Missing,
    File,
    Folder,
    Other
};
ItemKind probeItem(const QString& path, quint64& size);

// Reports every file (with its length) and every sub-folder below folder to
// walker, breadth first, going on past what cannot be read. The walk checks
// stop between folders.
WalkEnd walkFolder(FilesPlaceWalker& walker, const QString& folder,
                   const std::atomic_bool* stop = nullptr);

// The SizeIssue of an entry whose walk ended so (NoSizeIssue for Complete and
// Stopped).
int sizeIssueOf(WalkEnd end);
