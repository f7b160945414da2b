// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dispense/TryCalcerProto.h"

// Placement on a hard-disk volume, counting what the file system itself
// needs besides the files' data: NTFS (NtfsCost) or FAT32 (Fat32Cost).
class TryCalcerHDD : public TryCalcerProto
{
public:
    TryCalcerHDD(quint64 blockSize, quint64 availableBlocks, bool fat32 = false);
};
