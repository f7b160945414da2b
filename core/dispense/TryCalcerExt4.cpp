// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/TryCalcerExt4.h"

#include "core/dispense/Ext4Cost.h"

TryCalcerExt4::TryCalcerExt4(quint64 blockSize, quint64 availableBlocks, quint64 availableInodes,
                             quint64 targetFolderSize)
    : TryCalcerProto(
          std::make_unique<Ext4Cost>(blockSize, availableBlocks, availableInodes, targetFolderSize))
{
}
