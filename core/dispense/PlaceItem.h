#pragma once

#include <QtGlobal>

// One measured entry: its data blocks and, for media that count metadata
// (UDF), the files and folders it holds. As a selection's totals, the sums
// over the selected items (index unused).
struct PlaceItem
{
    quint32 index = 0;  // the entry's index within its group
    quint64 blocks = 0; // data blocks only
    quint32 files = 0;
    quint32 folders = 0;
};

// The order of the measuring heap: by block count only.
inline bool fewerBlocks(const PlaceItem& a, const PlaceItem& b)
{
    return a.blocks < b.blocks;
}
