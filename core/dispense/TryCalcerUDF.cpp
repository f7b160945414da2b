// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/TryCalcerUDF.h"

#include "core/dispense/UdfMeta.h"

// A disc with no more than the reserve offers nothing (not a wrapped huge
// count).
TryCalcerUDF::TryCalcerUDF(quint64 blockSize, quint64 availableBlocks)
    : TryCalcerProto(blockSize,
                     availableBlocks > ReservedBlocks ? availableBlocks - ReservedBlocks : 0,
                     blockSize)
{
}

quint64 TryCalcerUDF::nameWeight(const ItemName& name) const
{
    return UdfMeta::nameBytes(name);
}

void TryCalcerUDF::costName(const ItemName& name, bool top)
{
    if (top)
        m_item.shared += UdfMeta::nameBytes(name);
}

void TryCalcerUDF::costFile(quint64 size, const ItemName&)
{
    m_item.blocks += blocksOf(size) + 1;
}

void TryCalcerUDF::costFolder(const Listing& l)
{
    m_item.blocks += UdfMeta::folderBlocks(l.weight);
}
