// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include "core/dispense/FilesPlaceWalker.h"
#include "core/dispense/PlaceItem.h"

// The children of a listed folder, as a file system's directory needs them.
struct FolderListing
{
    ItemName own;       // the folder's own name
    quint64 count = 0;  // its children
    quint64 weight = 0; // the sum of FsCost::nameWeight over them
};

// What entries cost on a medium of one file system, in blocks of unitSize()
// bytes: a file, a folder with its listing, a name; the room the file system
// holds back (capacity() is what is left to fill); the store that the whole
// selection shares, in blocks of sharedBlock() bytes (such as the target
// folder's directory); what it refuses outright; and what the medium bounds
// besides its room (withinLimits). On a volume the program copies onto, the
// copy's checksum list (XXH128SUMS in the target folder, a line per file) is
// counted too: its own name and record come off the capacity, its lines go
// into the shared store, so that a plan to the last block still holds it.
// One entry is measured at a time: the calculator passes on what the walk
// finds between beginItem and endItem, then reads item() and refusal().
class FsCost
{
public:
    // Why an entry can never be placed on the medium.
    enum Refusal
    {
        Placeable = 0,
        SizeUnknown,      // the walk could not know its size
        NotCopyable,      // a device, pipe or socket
        WalkCut,          // a request stopped its walk
        FatFileLimit,     // holds a file of 4 GiB or more
        FatFolderLimit,   // holds a folder of more than 65,536 entries
        ExfatName,        // a name exFAT cannot store
        ExfatFolderLimit, // a folder of more than 256 MiB of entries
        Ext4FolderLimit,  // a folder too large for ext4's two index levels
        InodeLimit,       // more files, folders and links than the free inodes
    };

    virtual ~FsCost() = default;

    quint64 blockSize() const { return m_blockSize; }
    // The bytes of the blocks counted: the block size, or less.
    quint64 unitSize() const { return m_unitSize; }
    // The blocks the first level may fill.
    quint64 capacity() const { return m_capacity; }
    // The bytes of one block of the shared store; 0 when there is none.
    quint64 sharedBlock() const { return m_sharedBlock; }
    // What the shared store holds before anything is chosen; its blocks are
    // not part of capacity().
    const PlaceItem& sharedStart() const { return m_sharedStart; }
    // Whether a selection of these totals, earlier levels' included, keeps
    // within what the medium holds besides blocks. Checked after a level's
    // search, which does not know it.
    virtual bool withinLimits(const PlaceItem& /*totals*/) const { return true; }

    // Starts measuring an entry.
    void beginItem()
    {
        m_item = PlaceItem();
        m_refusal = Placeable;
    }
    // What one name counts for in its folder (FolderListing::weight).
    virtual quint64 nameWeight(const ItemName&) const { return 0; }
    // A name in its folder; top: in the target folder (the entry's own).
    virtual void costName(const ItemName&, bool /*top*/) {}
    // A folder's listing starts; its names follow, then costFolder.
    virtual void beginListing(const ItemName& /*own*/) {}
    // A file (named name), by default its blocks.
    virtual void costFile(quint64 size, const ItemName& /*name*/)
    {
        m_item.blocks += blocksOf(size);
    }
    // A folder with its children (the entry's own folder too).
    virtual void costFolder(const FolderListing&) {}
    // The line of bytes that a file of the entry adds to the copy's checksum
    // list (CopyManifest::lineBytes); nothing where no such list is written.
    virtual void costManifestLine(quint64 /*bytes*/) {}
    // The entry has been measured, as entry index.
    void endItem(unsigned index)
    {
        finishItem();
        m_item.index = index;
    }

    // The entry measured last: its costs, and whether it can be placed.
    const PlaceItem& item() const { return m_item; }
    int refusal() const { return m_refusal; }
    // It can never be placed; the first reason found stays.
    void refuse(int why)
    {
        if (m_refusal == Placeable)
            m_refusal = why;
    }

protected:
    FsCost(quint64 blockSize, quint64 unitSize, quint64 capacity, quint64 sharedBlock)
        : m_blockSize(blockSize), m_unitSize(unitSize), m_capacity(capacity),
          m_sharedBlock(sharedBlock)
    {
    }
    // Adds what the entry's costs as a whole make.
    virtual void finishItem() {}
    // The medium's own costs of the checksum list: blocks off the capacity,
    // and what its name puts into the shared store from the start.
    void holdBack(quint64 blocks, const PlaceItem& sharedStart)
    {
        m_capacity = m_capacity > blocks ? m_capacity - blocks : 0;
        m_sharedStart = sharedStart;
    }
    // Blocks a file of size bytes takes.
    quint64 blocksOf(quint64 size) const
    {
        return m_blockSize ? (size + m_blockSize - 1) / m_blockSize : 0;
    }

    PlaceItem m_item; // the entry being measured

private:
    quint64 m_blockSize;
    quint64 m_unitSize;
    quint64 m_capacity;
    quint64 m_sharedBlock;
    PlaceItem m_sharedStart;
    int m_refusal = Placeable;
};
