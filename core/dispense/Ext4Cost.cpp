// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/Ext4Cost.h"

#include <QFile>

#include "core/copy/CopyManifest.h"
#include "core/dispense/Ext4Meta.h"

namespace {

quint64 capacityOf(quint64 blockSize, quint64 availableBlocks)
{
    const quint64 reserve = Ext4Meta::reserveBlocks(blockSize);
    return availableBlocks > reserve ? availableBlocks - reserve : 0;
}

} // namespace

// The target folder's leaf shares are shared, in blocks, and so are the
// lines of the checksum list, whose inode and name's share are there from the
// start. The list's data blocks are a file of their own: a store rounded once
// may count a block less than the two, so one comes off the capacity, and
// one more for its extent tree's leaf, which a list written last into a
// nearly full volume needs once it passes a few extents.
Ext4Cost::Ext4Cost(quint64 blockSize, quint64 availableBlocks, quint64 availableInodes,
                   quint64 targetFolderSize)
    : FsCost(blockSize, blockSize, capacityOf(blockSize, availableBlocks), blockSize),
      m_availableInodes(availableInodes), m_targetFolderSize(targetFolderSize)
{
    if (blockSize == 0)
        return;
    PlaceItem list;
    list.inodes = 1;
    list.shared = Ext4Meta::targetFolderBytes(
        quint32(QFile::encodeName(CopyManifest::fileName()).size()), blockSize, targetFolderSize);
    holdBack(blocksOf(list.shared) + 2, list);
}

bool Ext4Cost::withinLimits(const PlaceItem& totals) const
{
    return totals.inodes <= m_availableInodes;
}

// Names are stored as their bytes.
void Ext4Cost::costName(const ItemName& name, bool top)
{
    if (top) {
        m_item.shared += Ext4Meta::targetFolderBytes(name.size, blockSize(), m_targetFolderSize);
        return;
    }
    const quint64 entry = Ext4Meta::entryBytes(name.size);
    m_entries += entry;
    m_shares += Ext4Meta::leafShare(entry, blockSize());
}

void Ext4Cost::beginListing(const ItemName&)
{
    m_entries = 0;
    m_shares = 0;
}

// A link that leads nowhere is copied as a link: its target's bytes.
void Ext4Cost::costFile(quint64 size, const ItemName& name)
{
    m_item.inodes += 1;
    m_item.blocks += name.linkTarget ? Ext4Meta::symlinkBlocks(name.linkSize)
                                     : Ext4Meta::fileBlocks(size, blockSize());
}

void Ext4Cost::costFolder(const FolderListing&)
{
    m_item.inodes += 1;
    if (!Ext4Meta::folderFits(m_shares, blockSize()))
        refuse(Ext4FolderLimit);
    m_item.blocks += Ext4Meta::folderBlocks(m_entries, m_shares, blockSize());
}

void Ext4Cost::costManifestLine(quint64 bytes)
{
    m_item.shared += bytes;
}

// The checksum list's inode is taken whatever is chosen.
void Ext4Cost::finishItem()
{
    if (m_item.inodes + sharedStart().inodes > m_availableInodes)
        refuse(InodeLimit);
}
