// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include <QtGlobal>

// What the search needs of one ordered item: its own blocks and its bytes in
// the store the selection shares (see PlaceItem).
struct FillItem
{
    quint64 blocks = 0;
    quint64 shared = 0;
};

// The search of one level. Reading the selection flags as a binary number
// with the first item as the highest digit, it meets the selections that fit
// in the order of a count-down from the greatest one (the first selection),
// and reports every one that leaves fewer blocks free than all before it,
// exactly as stepping through every selection would. It skips branches of the
// count-down that cannot leave fewer blocks free than the best so far, and
// those that take an item while an identical one before it is left out (the
// count-down met the same free count earlier, with the earlier one taken); it
// ends as soon as nothing is left free.
class FillSearch
{
public:
    // Gets the selection flags (one per item) and the blocks it leaves free;
    // returns false to end the search.
    using Improved = std::function<bool(const std::vector<char>& selection, qint64 free)>;

    // Entries of the sum tables at most (a few megabytes).
    static constexpr std::size_t DefaultTableEntries = std::size_t(1) << 20;
    static constexpr std::size_t FirstTableEntries = 4096;

    // items: largest block count first. sharedBlock: the block size of the
    // shared store (0: none), which takes ceil((sharedBase + the selection's
    // shared bytes) / sharedBlock) blocks less what sharedBase alone takes.
    FillSearch(std::vector<FillItem> items, qint64 capacity, quint64 sharedBlock,
               quint64 sharedBase);

    // How much the search tabulates: room for the sum tables of the last
    // items, most entries in all (0: none); they start at first and grow with
    // the work the search does. The defaults suit every level; tests of the
    // tables change them.
    void setTableEntries(std::size_t most, std::size_t first);

    // best: the free count to beat, that of the first selection. Returns true
    // when the count-down has been followed to its end (the last improvement
    // is the best there is), false when stop or improved ended it.
    bool run(qint64 best, const std::atomic_bool& stop, const Improved& improved);

private:
    struct Frame
    {
        int pos;
        qint64 free;
        quint64 shared;
        char phase;
    };

    quint64 grow(quint64 shared, quint64 added) const;
    quint64 leastCost(const FillItem& it) const;
    quint64 cost(int pos, const Frame& at) const;
    qint64 lowerBound(const Frame& at) const;
    qint64 runBound(const Frame& at) const;
    quint64 excessBound(const Frame& at) const;
    int firstFitting(int pos, qint64 free) const;
    void growTables(std::size_t limit);

    std::vector<FillItem> m_items;
    qint64 m_capacity;
    quint64 m_step;
    quint64 m_base;
    bool m_shares; // the shared store counts
    bool m_sorted = true;
    // Per position: what all items from there on take together, and (without
    // a shared store) the greatest common divisor of their block counts.
    std::vector<quint64> m_restBlocks;
    std::vector<quint64> m_restShared;
    std::vector<quint64> m_restLeastShared; // sum of each one's whole blocks
    std::vector<quint64> m_restGcd;
    std::vector<quint64> m_restMaxShared;
    std::vector<quint64> m_tailBlocks; // of the last k items, by k (sorted only)
    // Per position: the nearest identical item before it (-1: none), the end
    // of the identical items that follow it directly, and the first of the
    // items of the same least cost around it.
    std::vector<int> m_prevSame;
    std::vector<int> m_sameEnd;
    std::vector<int> m_runStart;
    // For the runs of equal least cost from m_tableFrom on: every sum of the
    // items' least costs (block counts, plus the whole blocks of their shared
    // bytes) from the run's start to the end that fits into the capacity,
    // ascending. They bound the least free count of a branch (exactly at a
    // run's start without a shared store). Index: m_tableAt of the run start.
    int m_tableFrom;
    std::vector<int> m_tableAt;
    std::vector<std::vector<quint64>> m_tables;
    std::size_t m_tableEntries = 0;
    std::size_t m_tableBudget;
    std::size_t m_tableMax;
    bool m_tablesFull = false;
    quint64 m_nextGrowth = 0;
    quint64 m_nodes = 0;
    qint64 m_best = 0;
};
