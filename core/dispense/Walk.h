#pragma once

#include <atomic>

#include <QString>
#include <QtGlobal>

class FilesPlaceWalker;

// True when path names a file (following links); size := its length.
// False for a folder or for nothing at all.
bool probeFile(const QString& path, quint64& size);

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
// walker, breadth first. The walk checks stop between folders; it returns
// false when it was stopped before the end, true otherwise.
bool walkFolder(FilesPlaceWalker& walker, const QString& folder,
                const std::atomic_bool* stop = nullptr);
