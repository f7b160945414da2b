// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dispense/TryCalcerProto.h"

// Placement on an ext4 volume, in its blocks and free inodes (Ext4Cost).
class TryCalcerExt4 : public TryCalcerProto
{
public:
    TryCalcerExt4(quint64 blockSize, quint64 availableBlocks, quint64 availableInodes,
                  quint64 targetFolderSize);
};
