// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/ExfatCost.h"

#include "core/copy/CopyManifest.h"
#include "core/dispense/ExfatMeta.h"

// The target folder's entry sets are shared, in clusters, and so are the
// lines of the checksum list, whose name's set is there from the start. Files
// take whole clusters, as FsCost counts them. The list's data is a chain of
// clusters of its own: a store rounded once may count a cluster less than
// the two, so one comes off the capacity.
ExfatCost::ExfatCost(quint64 clusterSize, quint64 availableClusters)
    : FsCost(clusterSize, clusterSize, availableClusters, clusterSize)
{
    const quint32 name = quint32(CopyManifest::fileName().size());
    PlaceItem list;
    list.folderEntries = ExfatMeta::entrySet(name);
    list.shared = ExfatMeta::targetFolderBytes(name);
    holdBack(blocksOf(list.shared) + 1, list);
}

// The target folder holds no more entries than any other; what it holds
// already is not known here.
bool ExfatCost::withinLimits(const PlaceItem& totals) const
{
    return ExfatMeta::folderFits(totals.folderEntries);
}

quint64 ExfatCost::nameWeight(const ItemName& name) const
{
    return ExfatMeta::entrySet(name.length);
}

void ExfatCost::costName(const ItemName& name, bool top)
{
    if (name.bytes && !ExfatMeta::nameStorable(name.bytes, name.size))
        refuse(ExfatName);
    if (!top)
        return;
    m_item.folderEntries += ExfatMeta::entrySet(name.length);
    m_item.shared += ExfatMeta::targetFolderBytes(name.length);
}

void ExfatCost::costManifestLine(quint64 bytes)
{
    m_item.shared += bytes;
}

void ExfatCost::costFolder(const FolderListing& l)
{
    if (!ExfatMeta::folderFits(l.weight))
        refuse(ExfatFolderLimit);
    m_item.blocks += ExfatMeta::folderClusters(l.weight, blockSize());
}
