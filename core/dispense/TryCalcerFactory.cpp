// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/TryCalcerFactory.h"

#include <algorithm>

#include <QFileInfo>

#include "core/dispense/TryCalcerExfat.h"
#include "core/dispense/TryCalcerExt4.h"
#include "core/dispense/TryCalcerHDD.h"
#include "core/dispense/TryCalcerISO.h"
#include "core/dispense/TryCalcerUDF.h"
#include "core/model/Entry.h"

namespace {

// What the entries go into on ext4: an existing folder's size decides what
// a name may add to it; a fresh volume's root (or a folder the copy makes)
// is one block.
quint64 folderSizeOf(const Target& target)
{
    const QFileInfo folder(target.Path);
    return folder.isDir() ? quint64(std::max<qint64>(folder.size(), 0)) : target.BlockSize;
}

} // namespace

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
    case EXFAT:
        return std::make_unique<TryCalcerExfat>(target.BlockSize, target.AvailableBlocks);
    case EXT4:
        return std::make_unique<TryCalcerExt4>(target.BlockSize, target.AvailableBlocks,
                                               target.AvailableInodes, folderSizeOf(target));
    case ISO9660: // always in blocks of 2048 bytes
        return target.BlockSize == 2048 ? std::make_unique<TryCalcerISO>(target.AvailableBlocks)
                                        : nullptr;
    default:
        return nullptr;
    }
}
