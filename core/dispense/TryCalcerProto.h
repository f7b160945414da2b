// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include <QString>
#include <QtGlobal>

#include "core/dispense/FilesPlaceWalker.h"
#include "core/dispense/PlaceItem.h"

struct FillItem;

// A placement calculator: measures entries in blocks of one target medium and
// runs the selection of one level on them. Levels go: addItem for every entry
// of the group, prepare, nextTry (or findBetter) while wanted, useSelection
// with the chosen one, beginLevel with its free count. Used by one thread
// only. An item costs its own blocks and what it makes a store shared by the
// whole selection grow by (whole blocks of sharedBlock bytes); the store
// keeps what earlier levels chose. The kinds differ in what a file, a folder
// and a name add to either (the cost* hooks).
class TryCalcerProto : public FilesPlaceWalker
{
public:
    // capacity: the blocks the first level may fill. sharedBlock: the block
    // size of the shared store, 0 for none.
    TryCalcerProto(quint64 blockSize, quint64 capacity, quint64 sharedBlock = 0);

    // Count the entry being measured, as the walk reports it.
    void onFolder() override {}
    void onFile(const quint64& size) override;
    bool countsNames() const override { return true; }
    void beginListing(const ItemName& own) override;
    void onName(const ItemName& name) override;
    void endListing() override;

    // Measures the file or folder at path and queues it as entry index.
    virtual void addItem(const QString& path, unsigned index);
    // Orders the queued items, largest block count first (equal ones as
    // queued), and makes the first selection: each item in turn when it
    // still fits.
    void prepare();
    // The entry indices of the selected items, in list order.
    void getSelection(std::vector<unsigned>& v) const;
    // Makes the selection the items of these entry indices.
    void useSelection(const std::vector<unsigned>& indices);
    // Drops the smallest items from the selection until the shared store,
    // with what earlier levels chose, holds no more than sharedLimit(); true
    // when it dropped any. The search itself does not know the limit.
    bool keepSharedLimit();
    // Drops the level's items; capacity and free become value. The current
    // selection stays in the shared store.
    void beginLevel(qint64 capacity);
    qint64 freeBlocks() const { return m_free; }
    // One step of the count-down of the selection (read as a binary number,
    // first item the highest digit) to the next selection that fits. False
    // when the count-down is exhausted or stop was seen.
    bool nextTry(const std::atomic_bool& stop);
    unsigned itemIndex(int position) const { return m_ordered[position].index; }
    // The level's items as the search counts them, after prepare: largest
    // block count first.
    const std::vector<PlaceItem>& items() const { return m_ordered; }

    // Measuring in pieces, for callers that know the sizes already: zero the
    // counts, feed the walker calls, then queue the item.
    void beginItem();
    void endItem(unsigned index);
    // Queues an item whose costs are known.
    void addMeasured(unsigned index, quint64 blocks, quint64 shared);

    // Straight after prepare: meets the selections that fit in the order
    // nextTry would, calling improved(free) with the selection set to each one
    // that leaves fewer blocks free than all before it; improved returns false
    // to end the search. Skips what cannot improve and stops at 0 free.
    // Returns true when the level's best is proven. tableEntries and
    // firstTableEntries (see FillSearch), when not negative, override the
    // search's own choice of how much it tabulates.
    bool findBetter(const std::atomic_bool& stop, const std::function<bool(qint64)>& improved,
                    long tableEntries = -1, long firstTableEntries = -1);

    // A walk stopped by this flag leaves the item short: see walkStopped; it
    // is not queued.
    void setWalkStop(const std::atomic_bool* stop) { m_walkStop = stop; }
    // Called for every file and folder met while measuring, so that a long
    // walk can report on itself.
    void setMeasureTick(std::function<void()> tick) { m_tick = std::move(tick); }
    // The last measured folder's walk was stopped before its end.
    bool walkStopped() const { return m_walkStopped; }
    // Why the last measured entry has no known size (a SizeIssue); such an
    // entry is left out of the level.
    int itemIssue() const { return m_itemIssue; }
    // Why the last measured entry can never be placed on this file system
    // (see Refusal); Placeable when it was queued.
    enum Refusal
    {
        Placeable = 0,
        SizeUnknown,    // itemIssue says why
        NotCopyable,    // a device, pipe or socket
        WalkCut,        // a request stopped its walk
        FatFileLimit,   // holds a file of 4 GiB or more
        FatFolderLimit, // holds a folder of more than 65,536 entries
    };
    int refusal() const { return m_refusal; }
    // The last measured entry's costs, whether queued or not.
    const PlaceItem& lastItem() const { return m_item; }
    // The blocks an item takes on a medium of its own.
    quint64 costAlone(const PlaceItem& it) const { return it.blocks + sharedBlocks(it.shared); }

    qint64 capacity() const { return m_capacity; }
    // The bytes of the blocks counted: the block size, or less.
    quint64 unitSize() const { return m_unitSize; }
    // The bytes of one block of the shared store, which costs one counted
    // block; 0 when there is no shared store.
    quint64 sharedBlock() const { return m_sharedBlock; }
    // The shared store's bytes chosen at earlier levels.
    quint64 sharedBase() const { return m_sharedBase; }

    // Names as the walk passes them.
    static ItemName nameOf(const QString& name);

protected:
    // The children of a listed folder.
    struct Listing
    {
        ItemName own;
        quint64 count = 0;
        quint32 longest = 0;
        quint64 weight = 0; // the sum of nameWeight over them
    };
    // What one name counts for in its folder's size.
    virtual quint64 nameWeight(const ItemName&) const { return 0; }
    // An item's name in its folder; top: in the target folder (the entry's own).
    virtual void costName(const ItemName&, bool /*top*/) {}
    // A file (named name), by default its blocks.
    virtual void costFile(quint64 size, const ItemName&) { m_item.blocks += blocksOf(size); }
    // A folder with its children (the entry's own folder too).
    virtual void costFolder(const Listing&) {}
    // The entry has been measured.
    virtual void finishItem() {}
    // The most bytes the shared store can hold, 0 for no limit.
    virtual quint64 sharedLimit() const { return 0; }

    // Blocks of the shared store holding bytes.
    quint64 sharedBlocks(quint64 bytes) const
    {
        return m_sharedBlock ? bytes / m_sharedBlock + (bytes % m_sharedBlock != 0) : 0;
    }
    // Blocks a file of size bytes takes.
    quint64 blocksOf(quint64 size) const
    {
        return m_blockSize ? (size + m_blockSize - 1) / m_blockSize : 0;
    }
    // Calls onFile for a file, or walks a folder (or a path that is missing).
    void measure(const QString& path);

    quint64 m_unitSize;      // see unitSize
    PlaceItem m_item;        // the entry being measured
    // It can never be placed (why: a Refusal); endItem drops it. The first
    // reason found stays.
    void refuse(int why)
    {
        if (m_refusal == Placeable)
            m_refusal = why;
    }
    int m_refusal = Placeable;
    PlaceItem m_chosen; // totals of the current selection

private:
    // Blocks that adding it to the current selection takes, and that removing
    // it (selected) gives back.
    quint64 costOf(const PlaceItem& it) const;
    quint64 gainOf(const PlaceItem& it) const;
    void select(std::size_t p);
    void deselect(std::size_t p);

    quint64 m_blockSize;
    quint64 m_sharedBlock;
    quint64 m_sharedBase = 0; // chosen at earlier levels
    bool m_atStart = false;   // the entry's own listing is still to come
    ItemName m_lastName;
    Listing m_listing;
    qint64 m_capacity;
    qint64 m_free;
    std::vector<bool> m_selection;
    std::vector<PlaceItem> m_pending; // in the order measured
    std::vector<PlaceItem> m_ordered; // largest block count first
    const std::atomic_bool* m_walkStop = nullptr;
    std::function<void()> m_tick;
    bool m_walkStopped = false;
    int m_itemIssue = 0;
};
