// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// A name as the target's file systems store it: its length in UTF-16 code
// units, and whether it holds a character beyond Latin-1 (UDF then stores
// every character in 16 bits).
struct ItemName
{
    quint32 length = 0;
    bool wide = false;
    // Of a listed item only (onName): whether it is a folder, its inode
    // number as listed, and its name's bytes, which last until the call
    // returns. Copying tools create a folder's children in orders made of
    // these.
    bool folder = false;
    quint64 inode = 0;
    const char* bytes = nullptr;
    quint32 size = 0;
    // A link that leads nowhere, copied as the link it is: its target's
    // bytes (null otherwise), lasting as long as bytes.
    const char* linkTarget = nullptr;
    quint32 linkSize = 0;
    // Of a listing (beginListing): the folder's path below the walk's start,
    // each name led by a slash (empty for the start), lasting as long as
    // bytes. A copy's checksum list names every file by such a path.
    const char* below = nullptr;
    quint32 belowSize = 0;
};

// Receives what a folder walk finds: one call per sub-folder, one per file.
// Walkers that cost names (countsNames) also get every listed folder, the
// start included, framed by beginListing with the folder's own name and
// endListing; in between, onName for each item in it, just before its onFile
// (a sub-folder's name comes alone; the folder is listed later).
class FilesPlaceWalker
{
public:
    virtual ~FilesPlaceWalker() = default;

    virtual void onFolder() = 0;
    virtual void onFile(const quint64& size) = 0;

    virtual bool countsNames() const { return false; }
    virtual void beginListing(const ItemName&) {}
    virtual void onName(const ItemName&) {}
    virtual void endListing() {}
};
