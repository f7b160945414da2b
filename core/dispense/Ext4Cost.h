// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dispense/FsCost.h"

// What entries cost on an ext4 volume under the Linux kernel (Ext4Meta): a
// file its blocks and, past a few extents, its extent tree; a folder its
// entries' blocks, as an htree index once one block is full; a long link's
// target a block; every file, folder and link an inode of the fixed table.
// An entry's own name takes its share of the target folder, a store the
// selection shares. The capacity holds back the blocks the kernel may take
// besides; a selection must also keep within the free inodes, and an entry
// that alone needs more is refused, as is one holding a folder too large to
// index. The copy's checksum list takes an inode, and shares the target
// folder's store.
class Ext4Cost : public FsCost
{
public:
    // targetFolderSize: the st_size of the folder the entries go into (a
    // fresh volume's root is one block).
    Ext4Cost(quint64 blockSize, quint64 availableBlocks, quint64 availableInodes,
             quint64 targetFolderSize);

    bool withinLimits(const PlaceItem& totals) const override;
    void costName(const ItemName& name, bool top) override;
    void beginListing(const ItemName& own) override;
    void costFile(quint64 size, const ItemName& name) override;
    void costFolder(const FolderListing& l) override;
    void costManifestLine(quint64 bytes) override;

protected:
    void finishItem() override;

private:
    quint64 m_availableInodes;
    quint64 m_targetFolderSize;
    // Of the folder being listed: its children's entry bytes and leaf shares.
    quint64 m_entries = 0;
    quint64 m_shares = 0;
};
