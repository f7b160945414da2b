// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/UdfCost.h"

#include "core/dispense/UdfMeta.h"

// A disc with no more than the reserve offers nothing (not a wrapped huge
// count).
UdfCost::UdfCost(quint64 blockSize, quint64 availableBlocks)
    : FsCost(blockSize, blockSize,
             availableBlocks > ReservedBlocks ? availableBlocks - ReservedBlocks : 0, blockSize)
{
}

quint64 UdfCost::nameWeight(const ItemName& name) const
{
    return UdfMeta::nameBytes(name);
}

void UdfCost::costName(const ItemName& name, bool top)
{
    if (top)
        m_item.shared += UdfMeta::nameBytes(name);
}

void UdfCost::costFile(quint64 size, const ItemName&)
{
    m_item.blocks += blocksOf(size) + 1;
}

void UdfCost::costFolder(const FolderListing& l)
{
    m_item.blocks += UdfMeta::folderBlocks(l.weight);
}
