// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dispense/FsCost.h"

// What entries cost on an optical disc written as UDF: the blocks of their
// files, a file entry for every file and folder, every folder's directory
// (by the length of its children's names, see UdfMeta), and what an entry's
// name adds to the directory of the target folder, which the selection
// shares.
class UdfCost : public FsCost
{
public:
    // Blocks every disc holds back for the file system itself.
    static constexpr quint64 ReservedBlocks = 262;

    UdfCost(quint64 blockSize, quint64 availableBlocks);

    quint64 nameWeight(const ItemName& name) const override;
    void costName(const ItemName& name, bool top) override;
    void costFile(quint64 size, const ItemName& name) override;
    void costFolder(const FolderListing& l) override;
};
