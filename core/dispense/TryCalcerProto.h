// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include "core/dispense/FilesPlaceWalker.h"
#include "core/dispense/FsCost.h"
#include "core/dispense/ItemStore.h"
#include "core/dispense/PlaceItem.h"
#include "core/dispense/SharedLedger.h"

class FillSearch;

// A placement calculator: measures entries in blocks of one target medium and
// runs the selection of one level on them. Levels go: addItem for every entry
// of the group, prepare, nextTry (or findBetter) while wanted, useSelection
// with the chosen one, beginLevel with its free count. Used by one thread
// only. What an entry costs is its file system's (FsCost); the calculator
// keeps the level's items (ItemStore), the selection and the totals of the
// medium's selection (SharedLedger), and leaves the search to FillSearch.
class TryCalcerProto : public FilesPlaceWalker
{
public:
    // Measuring an entry: what the walk finds goes to the cost class.
    void onFolder() override {}
    void onFile(const quint64& size) override;
    bool countsNames() const override { return true; }
    void beginListing(const ItemName& own) override;
    void onName(const ItemName& name) override;
    void endListing() override;

    // Measures the file or folder at path and queues it as entry index, when
    // it can be placed.
    virtual void addItem(const QString& path, unsigned index);
    // Measures it without queuing it: see refusal() and lastItem().
    void measureItem(const QString& path, unsigned index);
    // Measuring from walker calls made elsewhere: zero the counts, make the
    // calls, then queue the item as entry index (when it can be placed).
    void beginItem();
    void endItem(unsigned index);
    // Queues an item measured before.
    void queueItem(const PlaceItem& item) { m_store.queue(item); }

    // Orders the queued items, largest block count first (equal ones as
    // queued), and makes the first selection: each item in turn when it
    // still fits.
    void prepare();
    // The entry indices of the selected items, in list order.
    void getSelection(std::vector<unsigned>& v) const;
    // Makes the selection the items of these entry indices.
    void useSelection(const std::vector<unsigned>& indices);
    // Drops the smallest items from the selection until it keeps, with what
    // earlier levels chose, within the medium's limits (FsCost::withinLimits);
    // true when it dropped any.
    bool keepMediumLimits();
    // Drops the level's items; capacity and free become value. The current
    // selection stays in the medium's totals.
    void beginLevel(qint64 capacity);
    qint64 freeBlocks() const { return m_free; }
    // One step of the count-down of the selection (read as a binary number,
    // first item the highest digit) to the next selection that fits. False
    // when the count-down is exhausted or stop was seen.
    bool nextTry(const std::atomic_bool& stop);
    unsigned itemIndex(int position) const { return m_store.ordered()[position].index; }
    // The level's items as the search counts them, after prepare: largest
    // block count first.
    const std::vector<PlaceItem>& items() const { return m_store.ordered(); }

    // Straight after prepare: meets the selections that fit in the order
    // nextTry would, calling improved(free) with the selection set to each one
    // that leaves fewer blocks free than all before it; improved returns false
    // to end the search. Skips what cannot improve and stops at 0 free.
    // Returns true when the level's best is proven.
    bool findBetter(const std::atomic_bool& stop, const std::function<bool(qint64)>& improved);
    // The search findBetter runs, for the prepared level.
    FillSearch levelSearch() const;
    // Sets the selection to the flags (one per item, in list order) of a
    // selection that leaves free blocks.
    void takeSelection(const std::vector<char>& flags, qint64 free);

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
    // Why the last measured entry can never be placed (an FsCost::Refusal);
    // Placeable when it can.
    int refusal() const { return m_cost->refusal(); }
    // The last measured entry's costs, whether queued or not.
    const PlaceItem& lastItem() const { return m_cost->item(); }
    // The blocks an item takes on a medium of its own.
    quint64 costAlone(const PlaceItem& it) const { return m_ledger.costAlone(it); }

    qint64 capacity() const { return m_capacity; }
    // The bytes of the blocks counted: the block size, or less.
    quint64 unitSize() const { return m_cost->unitSize(); }
    // The bytes of one block of the shared store, which costs one counted
    // block; 0 when there is no shared store.
    quint64 sharedBlock() const { return m_ledger.sharedBlock(); }
    // The shared store's bytes chosen at earlier levels.
    quint64 sharedBase() const { return m_ledger.base().shared; }

    // Names as the walk passes them; bytes: the name as the file system
    // gets it (QFile::encodeName), which must outlive the result.
    static ItemName nameOf(const QString& name, const QByteArray& bytes);

protected:
    // cost: the rules of the medium's file system, with its capacity.
    explicit TryCalcerProto(std::unique_ptr<FsCost> cost);

private:
    // Calls onFile for a file, or walks a folder (or a path that is missing).
    void measure(const QString& path);
    void finishItem(unsigned index);
    void select(std::size_t p);
    void deselect(std::size_t p);

    // A path below the target folder as the copy's checksum list has it: its
    // bytes, those a line escapes, and whether it holds a line break.
    struct ListedPath
    {
        quint64 bytes = 0;
        quint64 escapable = 0;
        bool breaks = false;
        void add(const char* text, quint32 size);
        void addName(const ItemName& name);
    };
    // The line of the file named name in the folder at path.
    void costManifestLine(ListedPath path, const ItemName& name);

    std::unique_ptr<FsCost> m_cost;
    ItemStore m_store;
    SharedLedger m_ledger;
    qint64 m_capacity;
    qint64 m_free;
    std::vector<bool> m_selection;

    bool m_atStart = false; // the entry's own listing is still to come
    ItemName m_lastName;
    ListedPath m_entryPath;  // the entry's own name
    ListedPath m_folderPath; // the folder being listed
    QByteArray m_ownName; // the bytes of a file entry's own name
    QByteArray m_ownLink; // and of its link's target, when it leads nowhere
    FolderListing m_listing;
    const std::atomic_bool* m_walkStop = nullptr;
    std::function<void()> m_tick;
    bool m_walkStopped = false;
    int m_itemIssue = 0;
};
