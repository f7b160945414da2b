// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// One measured entry: the blocks it takes of its own, and the bytes it adds
// to a store that the whole selection shares and that takes whole blocks
// (the target folder's directory, and the lines of the copy's checksum list
// where the copy writes one), and the inodes it takes from a fixed table
// (ext4; 0 elsewhere). As a selection's totals, the sums over the selected
// items (index unused).
struct PlaceItem
{
    quint32 index = 0;  // the entry's index within its group
    quint64 blocks = 0; // blocks of its own
    quint64 shared = 0; // bytes in the shared store
    // After the three, so that their brace-inits leave the two below 0.
    quint64 inodes = 0;
    // Entries its names take in the target folder's directory, where the
    // file system bounds their number (FAT32, exFAT).
    quint64 folderEntries = 0;

    PlaceItem& operator+=(const PlaceItem& o)
    {
        blocks += o.blocks;
        shared += o.shared;
        inodes += o.inodes;
        folderEntries += o.folderEntries;
        return *this;
    }
    PlaceItem& operator-=(const PlaceItem& o)
    {
        blocks -= o.blocks;
        shared -= o.shared;
        inodes -= o.inodes;
        folderEntries -= o.folderEntries;
        return *this;
    }
};

// The order of the search's items: by block count only.
inline bool fewerBlocks(const PlaceItem& a, const PlaceItem& b)
{
    return a.blocks < b.blocks;
}
