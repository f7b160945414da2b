// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dispense/TryCalcerProto.h"

// Placement on an optical disc written as UDF: an entry costs the blocks of
// its files, a file entry for every file and folder, every folder's
// directory (by the length of its children's names), and what its name adds
// to the directory of the target folder, which the selection shares.
class TryCalcerUDF : public TryCalcerProto
{
public:
    // Blocks every disc holds back for the file system itself.
    static constexpr quint64 ReservedBlocks = 262;

    TryCalcerUDF(quint64 blockSize, quint64 availableBlocks);

protected:
    quint64 nameWeight(const ItemName& name) const override;
    void costName(const ItemName& name, bool top) override;
    void costFile(quint64 size, const ItemName& name) override;
    void costFolder(const Listing& l) override;
};
