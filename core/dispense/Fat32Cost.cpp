// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/Fat32Cost.h"

#include <algorithm>

#include "core/copy/CopyManifest.h"

namespace {

// FAT32 stores a file's length in 32 bits.
constexpr quint64 FileLimit = Q_UINT64_C(1) << 32;
// The Linux kernel refuses to grow a folder past this many 32-byte entries.
constexpr quint64 FolderEntries = 65536;
constexpr quint64 EntryBytes = 32;

} // namespace

// The target folder's entries are shared, in clusters, and so are the lines
// of the checksum list, whose name's entries are there from the start. The
// list's data is a chain of clusters of its own: a store rounded once may
// count a cluster less than the two, so one comes off the capacity.
Fat32Cost::Fat32Cost(quint64 clusterSize, quint64 availableClusters)
    : FsCost(clusterSize, clusterSize, availableClusters, clusterSize)
{
    ItemName name;
    name.length = quint32(CopyManifest::fileName().size());
    PlaceItem list;
    list.folderEntries = nameWeight(name);
    list.shared = EntryBytes * list.folderEntries;
    holdBack(blocksOf(list.shared) + 1, list);
}

// The target folder holds no more entries than any other. Whatever it holds
// already is not known here.
bool Fat32Cost::withinLimits(const PlaceItem& totals) const
{
    return totals.folderEntries <= FolderEntries;
}

// The short name's entry and the long name's.
quint64 Fat32Cost::nameWeight(const ItemName& name) const
{
    return 1 + (std::max<quint32>(name.length, 1) + 12) / 13;
}

void Fat32Cost::costName(const ItemName& name, bool top)
{
    if (!top)
        return;
    m_item.folderEntries += nameWeight(name);
    m_item.shared += EntryBytes * nameWeight(name);
}

void Fat32Cost::costManifestLine(quint64 bytes)
{
    m_item.shared += bytes;
}

void Fat32Cost::costFile(quint64 size, const ItemName&)
{
    if (size >= FileLimit)
        refuse(FatFileLimit);
    m_item.blocks += blocksOf(size);
}

void Fat32Cost::costFolder(const FolderListing& l)
{
    const quint64 entries = 2 + l.weight; // "." and ".." first
    if (entries > FolderEntries)
        refuse(FatFolderLimit);
    m_item.blocks += blocksOf(EntryBytes * entries);
}
