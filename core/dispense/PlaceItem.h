// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// One measured entry: the blocks it takes of its own, and the bytes it adds
// to a store that the whole selection shares and that takes whole blocks
// (the target folder's directory on FAT32 and UDF), and the inodes it takes
// from a fixed table (ext4; 0 elsewhere). As a selection's totals, the sums
// over the selected items (index unused).
struct PlaceItem
{
    quint32 index = 0;  // the entry's index within its group
    quint64 blocks = 0; // blocks of its own
    quint64 shared = 0; // bytes in the shared store
    // Last, so that brace-inits of the three above leave it 0.
    quint64 inodes = 0;

    PlaceItem& operator+=(const PlaceItem& o)
    {
        blocks += o.blocks;
        shared += o.shared;
        inodes += o.inodes;
        return *this;
    }
    PlaceItem& operator-=(const PlaceItem& o)
    {
        blocks -= o.blocks;
        shared -= o.shared;
        inodes -= o.inodes;
        return *this;
    }
};

// The order of the search's items: by block count only.
inline bool fewerBlocks(const PlaceItem& a, const PlaceItem& b)
{
    return a.blocks < b.blocks;
}
