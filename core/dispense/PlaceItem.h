#pragma once

#include <QtGlobal>

// One measured entry on a hard-disk volume.
struct PlaceItem
{
    quint32 index = 0;  // the entry's index within its group
    quint64 blocks = 0; // allocation blocks its files take
};

// One measured entry on a UDF disc: data blocks plus what the metadata needs.
struct UdfPlaceItem
{
    quint32 index = 0;
    quint64 blocks = 0; // data blocks only
    quint32 files = 0;
    quint32 folders = 0;
};

// The order of the measuring heap: by block count only.
template <class Item> inline bool fewerBlocks(const Item& a, const Item& b)
{
    return a.blocks < b.blocks;
}
