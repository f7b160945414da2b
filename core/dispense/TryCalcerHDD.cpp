// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/TryCalcerHDD.h"

#include "core/dispense/Fat32Cost.h"
#include "core/dispense/NtfsCost.h"

namespace {

std::unique_ptr<FsCost> costOf(quint64 blockSize, quint64 availableBlocks, bool fat32)
{
    if (fat32)
        return std::make_unique<Fat32Cost>(blockSize, availableBlocks);
    return std::make_unique<NtfsCost>(blockSize, availableBlocks);
}

} // namespace

TryCalcerHDD::TryCalcerHDD(quint64 blockSize, quint64 availableBlocks, bool fat32)
    : TryCalcerProto(costOf(blockSize, availableBlocks, fat32))
{
}
