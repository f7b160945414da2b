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
// of the group, prepare, nextTry (or findBetter) while wanted, beginLevel with
// the free count of the chosen selection. Used by one thread only. The kinds
// differ in what an item costs (costOf, gainOf) and in how they measure.
class TryCalcerProto : public FilesPlaceWalker
{
public:
    // capacity: the blocks the first level may fill.
    TryCalcerProto(quint64 blockSize, quint64 capacity);

    // Count the entry being measured: every file, every folder below it.
    void onFolder() override;
    void onFile(const quint64& size) override;

    // Measures the file or folder at path and queues it as entry index.
    virtual void addItem(const QString& path, unsigned index);
    // Orders the queued items, largest block count first, and makes the
    // first selection: each item in turn when it still fits.
    void prepare();
    // The entry indices of the selected items, in list order.
    void getSelection(std::vector<unsigned>& v) const;
    // Drops the level's items; capacity and free become value.
    void beginLevel(qint64 capacity);
    qint64 freeBlocks() const { return m_free; }
    // One step of the count-down of the selection (read as a binary number,
    // first item the highest digit) to the next selection that fits. False
    // when the count-down is exhausted or stop was seen.
    bool nextTry(const std::atomic_bool& stop);
    unsigned itemIndex(int position) const { return m_ordered[position].index; }

    // Measuring in pieces, for callers that know the sizes already: zero the
    // counts, feed onFile and onFolder, then queue the item.
    void beginItem();
    void endItem(unsigned index);

    // Straight after prepare: meets the selections that fit in the order
    // nextTry would, calling improved(free) with the selection set to each one
    // that leaves fewer blocks free than all before it; improved returns false
    // to end the search. Skips what cannot improve and stops at 0 free.
    // Returns true when the level's best is proven. tableEntries and
    // firstTableEntries (see FillSearch), when not negative, override the
    // search's own choice of how much it tabulates.
    bool findBetter(const std::atomic_bool& stop, const std::function<bool(qint64)>& improved,
                    long tableEntries = -1, long firstTableEntries = -1);

    // A walk stopped by this flag leaves the item short: see walkStopped.
    void setWalkStop(const std::atomic_bool* stop) { m_walkStop = stop; }
    // The last measured folder's walk was stopped before its end.
    bool walkStopped() const { return m_walkStopped; }
    // Why the last measured entry has no known size (a SizeIssue); such an
    // entry is left out of the level.
    int itemIssue() const { return m_itemIssue; }

    qint64 capacity() const { return m_capacity; }

protected:
    // Blocks that adding it to the current selection takes, and that removing
    // it (selected) gives back; m_chosen holds the selection before the change.
    virtual quint64 costOf(const PlaceItem& it) const = 0;
    virtual quint64 gainOf(const PlaceItem& it) const = 0;
    // Whether files and folders cost blocks of their own (as UDF metadata).
    virtual bool countsMetadata() const = 0;

    // Blocks a file of size bytes takes.
    quint64 blocksOf(quint64 size) const
    {
        return m_blockSize ? (size + m_blockSize - 1) / m_blockSize : 0;
    }
    // Calls onFile for a file, or walks a folder (or a path that is missing).
    void measure(const QString& path);

    PlaceItem m_item;        // the entry being measured
    bool m_skipItem = false; // it can never be placed: endItem drops it
    PlaceItem m_chosen;      // totals of the current selection

private:
    void select(std::size_t p);
    void deselect(std::size_t p);

    quint64 m_blockSize;
    qint64 m_capacity;
    qint64 m_free;
    std::vector<bool> m_selection;
    std::vector<PlaceItem> m_pending; // max-heap on block count
    std::vector<PlaceItem> m_ordered; // largest block count first
    const std::atomic_bool* m_walkStop = nullptr;
    bool m_walkStopped = false;
    int m_itemIssue = 0;
};
