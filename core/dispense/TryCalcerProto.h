#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include <QString>
#include <QtGlobal>

#include "core/dispense/FilesPlaceWalker.h"

struct FillItem;

// A placement calculator: measures entries in blocks of one target medium and
// runs the selection of one level on them. Levels go: addItem for every entry
// of the group, prepare, nextTry (or findBetter) while wanted, beginLevel with
// the free count of the chosen selection. Used by one thread only.
class TryCalcerProto : public FilesPlaceWalker
{
public:
    TryCalcerProto(quint64 blockSize, quint64 availableBlocks);

    // Measures the file or folder at path and queues it as entry index.
    virtual void addItem(const QString& path, unsigned index) = 0;
    // Orders the queued items, largest block count first, and makes the
    // first selection: each item in turn when it still fits.
    virtual void prepare() = 0;
    // The entry indices of the selected items, in list order.
    virtual void getSelection(std::vector<unsigned>& v) const;
    // Drops the level's items; capacity and free become value.
    virtual void beginLevel(qint64 capacity) = 0;
    virtual qint64 freeBlocks() const;
    // One step of the count-down of the selection (read as a binary number,
    // first item the highest digit) to the next selection that fits. False
    // when the count-down is exhausted or stop was seen.
    virtual bool nextTry(const std::atomic_bool& stop) = 0;
    virtual unsigned itemIndex(int position) const = 0;

    // Measuring in pieces, for callers that know the sizes already: zero the
    // counts, feed onFile and onFolder, then queue the item.
    virtual void beginItem() = 0;
    virtual void endItem(unsigned index) = 0;

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

    quint64 blockSize() const { return m_blockSize; }
    qint64 capacity() const { return m_capacity; }
    int itemCount() const { return int(m_selection.size()); }

protected:
    // Blocks a file of size bytes takes.
    quint64 blocksOf(quint64 size) const
    {
        return m_blockSize ? (size + m_blockSize - 1) / m_blockSize : 0;
    }
    // Calls onFile for a file, or walks a folder (or a path that is missing).
    void measure(const QString& path);
    // The ordered items as the search sees them; whether metadata counts.
    virtual void fillItems(std::vector<FillItem>& out) const = 0;
    virtual bool countsMetadata() const = 0;
    // The search has set the selection flags and free; bring totals in line.
    virtual void selectionSet() {}

    quint64 m_blockSize;
    quint64 m_availableBlocks;
    qint64 m_capacity = 0;
    qint64 m_free = 0;
    std::vector<bool> m_selection;

private:
    const std::atomic_bool* m_walkStop = nullptr;
    bool m_walkStopped = false;
};
