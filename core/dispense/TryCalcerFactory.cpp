// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/TryCalcerFactory.h"

#include "core/dispense/TryCalcerHDD.h"
#include "core/dispense/TryCalcerISO.h"
#include "core/dispense/TryCalcerUDF.h"
#include "core/model/Entry.h"

std::unique_ptr<TryCalcerProto> createTryCalcer(const Target& target)
{
    if (target.BlockSize == 0)
        return nullptr;
    switch (target.FileSystem) {
    case NTFS:
        return std::make_unique<TryCalcerHDD>(target.BlockSize, target.AvailableBlocks);
    case FAT:
        return std::make_unique<TryCalcerHDD>(target.BlockSize, target.AvailableBlocks, true);
    case UDF:
        return std::make_unique<TryCalcerUDF>(target.BlockSize, target.AvailableBlocks);
    case ISO9660: // always in blocks of 2048 bytes
        return target.BlockSize == 2048 ? std::make_unique<TryCalcerISO>(target.AvailableBlocks)
                                        : nullptr;
    default:
        return nullptr;
    }
}
