// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "core/dispense/FsCost.h"
#include "core/dispense/IsoMeta.h"

// What entries cost on an optical disc written as ISO 9660 with Rock Ridge
// and Joliet, as the program's own disc writer lays it out (IsoMeta): each
// folder's directories and continuation areas and each file's data in whole
// 2048-byte blocks of their own, and what an entry adds to the root's
// directories and the path tables, which the selection shares. The image's
// fixed parts and the root's own records are held back from the capacity.
// Where the neighbours of a name decide (packing, names made unique) the
// count errs high.
class IsoCost : public FsCost
{
public:
    explicit IsoCost(quint64 availableBlocks);
    // Blocks every disc holds back: the fixed parts of the image and the
    // root's own records, rounded on their own.
    static quint64 reservedBlocks();

    void costName(const ItemName& name, bool top) override;
    void beginListing(const ItemName& own) override;
    void costFile(quint64 size, const ItemName& name) override;
    void costFolder(const FolderListing& l) override;

protected:
    void finishItem() override;

private:
    static IsoMeta::Item itemOf(const ItemName& name);

    std::vector<IsoMeta::Item> m_listing; // the folder being listed
    IsoMeta::Item m_top;                  // the entry's own, until its kind is known
    bool m_topPending = false;
};
