// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/ExfatCost.h"

#include "core/dispense/ExfatMeta.h"

// The target folder's entry sets are shared, in clusters. Files take whole
// clusters, as FsCost counts them.
ExfatCost::ExfatCost(quint64 clusterSize, quint64 availableClusters)
    : FsCost(clusterSize, clusterSize, availableClusters, clusterSize)
{
}

// The target folder holds no more entries than any other; what it holds
// already is not known here.
bool ExfatCost::withinLimits(const PlaceItem& totals) const
{
    return ExfatMeta::folderFits(totals.shared / ExfatMeta::EntryBytes);
}

quint64 ExfatCost::nameWeight(const ItemName& name) const
{
    return ExfatMeta::entrySet(name.length);
}

void ExfatCost::costName(const ItemName& name, bool top)
{
    if (name.bytes && !ExfatMeta::nameStorable(name.bytes, name.size))
        refuse(ExfatName);
    if (top)
        m_item.shared += ExfatMeta::targetFolderBytes(name.length);
}

void ExfatCost::costFolder(const FolderListing& l)
{
    if (!ExfatMeta::folderFits(l.weight))
        refuse(ExfatFolderLimit);
    m_item.blocks += ExfatMeta::folderClusters(l.weight, blockSize());
}
