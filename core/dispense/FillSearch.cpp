// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/FillSearch.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

enum Phase : char
{
    Enter,
    Unselect,
    Done
};

// How often the stop flag is read, in branches; keeps a request's effect
// within well under a millisecond.
constexpr quint64 StopPollMask = 4095;

// Entries of one sum table at most, so that building them stays in the order
// of a millisecond.
constexpr std::size_t TableLimit = std::size_t(1) << 18;

quint64 addSat(quint64 a, quint64 b)
{
    const quint64 s = a + b;
    return s < a ? std::numeric_limits<quint64>::max() : s;
}

quint64 ceilDiv(quint64 a, quint64 b)
{
    return a / b + (a % b != 0);
}

} // namespace

FillSearch::FillSearch(std::vector<FillItem> items, qint64 capacity, quint64 sharedBlock,
                       quint64 sharedBase, std::size_t tableEntries, std::size_t firstTableEntries)
    : m_items(std::move(items)), m_capacity(std::max<qint64>(capacity, 0)), m_step(sharedBlock),
      m_base(sharedBase), m_shares(sharedBlock != 0),
      m_tableBudget(std::min(tableEntries, firstTableEntries)), m_tableMax(tableEntries)
{
    const int n = int(m_items.size());
    m_restBlocks.assign(n + 1, 0);
    m_restShared.assign(n + 1, 0);
    m_restLeastShared.assign(n + 1, 0);
    m_restGcd.assign(n + 1, 0);
    for (int p = n - 1; p >= 0; --p) {
        const FillItem& it = m_items[p];
        m_restBlocks[p] = addSat(m_restBlocks[p + 1], it.blocks);
        m_restShared[p] = addSat(m_restShared[p + 1], it.shared);
        m_restLeastShared[p] = m_restLeastShared[p + 1] + (m_shares ? it.shared / m_step : 0);
        m_restGcd[p] = std::gcd(m_restGcd[p + 1], it.blocks);
        if (p + 1 < n && m_items[p + 1].blocks > it.blocks)
            m_sorted = false;
    }
    m_tableFrom = n;
    m_tables.push_back({0});
    m_tableEntries = 1;
    m_tablesFull = m_tableMax == 0;
}

// Extends the tables upwards, one position at a time, while they stay within
// limit entries in all.
void FillSearch::growTables(std::size_t limit)
{
    const quint64 cap = quint64(m_capacity);
    std::vector<quint64> shifted;
    while (m_tableFrom > 0 && !m_tablesFull) {
        const std::vector<quint64>& below = m_tables.back();
        const quint64 b = leastCost(m_items[m_tableFrom - 1]);
        shifted.clear();
        for (quint64 s : below) {
            if (b > cap || s > cap - b)
                break;
            shifted.push_back(s + b);
        }
        std::vector<quint64> merged;
        merged.reserve(below.size() + shifted.size());
        std::merge(below.begin(), below.end(), shifted.begin(), shifted.end(),
                   std::back_inserter(merged));
        merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
        if (merged.size() > TableLimit) {
            m_tablesFull = true; // tables further up are no smaller
            break;
        }
        if (m_tableEntries + merged.size() > limit)
            break;
        m_tableEntries += merged.size();
        m_tables.push_back(std::move(merged));
        --m_tableFrom;
    }
}

// The blocks the shared store grows by when added bytes join the shared ones.
quint64 FillSearch::grow(quint64 shared, quint64 added) const
{
    const quint64 before = addSat(m_base, shared);
    return ceilDiv(addSat(before, added), m_step) - ceilDiv(before, m_step);
}

// An item's cost at the least: its blocks and the whole blocks of its shared
// bytes.
quint64 FillSearch::leastCost(const FillItem& it) const
{
    return m_shares ? addSat(it.blocks, it.shared / m_step) : it.blocks;
}

quint64 FillSearch::cost(int pos, const Frame& at) const
{
    const FillItem& it = m_items[pos];
    return m_shares ? addSat(it.blocks, grow(at.shared, it.shared)) : it.blocks;
}

// The fewest blocks any selection in the branch can leave free: at least what
// is left when every remaining item is added (free only falls as items are
// added), and never below free modulo the common divisor of what remains.
// With the tables: exactly what the best sum that fits leaves; with a shared
// store, that less the most its growth can exceed the least costs by, which
// is greatest when every remaining item is added.
qint64 FillSearch::lowerBound(const Frame& at) const
{
    const int p = at.pos;
    const quint64 f = quint64(at.free);
    qint64 tabled = 0;
    if (p >= m_tableFrom) {
        const std::vector<quint64>& sums = m_tables[m_items.size() - p];
        const auto fit = std::upper_bound(sums.begin(), sums.end(), f) - 1;
        if (!m_shares)
            return qint64(f - *fit);
        const quint64 steps = grow(at.shared, m_restShared[p]) - m_restLeastShared[p];
        tabled = std::max<qint64>(0, qint64(f - *fit) - qint64(steps));
    }
    quint64 all = m_restBlocks[p];
    if (m_shares)
        all = addSat(all, grow(at.shared, m_restShared[p]));
    qint64 bound = std::max(tabled, all >= f ? 0 : qint64(f - all));
    if (!m_shares) {
        const quint64 g = m_restGcd[p];
        if (g == 0)
            return qint64(f);
        bound = std::max(bound, qint64(f % g));
    }
    return bound;
}

// Block counts fall along the list and an item never costs less than its
// blocks, so items larger than the room left can be passed over together.
int FillSearch::firstFitting(int pos, qint64 free) const
{
    const int n = int(m_items.size());
    if (!m_sorted) {
        while (pos < n && m_items[pos].blocks > quint64(free))
            ++pos;
        return pos;
    }
    const auto it =
        std::partition_point(m_items.begin() + pos, m_items.end(),
                             [free](const FillItem& item) { return item.blocks > quint64(free); });
    return int(it - m_items.begin());
}

bool FillSearch::run(qint64 best, const std::atomic_bool& stop, const Improved& improved)
{
    m_nodes = 0;
    m_best = best;
    if (m_best <= 0)
        return true;
    const int n = int(m_items.size());
    growTables(m_tableBudget);
    m_nextGrowth = 4 * quint64(m_tableBudget);
    std::vector<char> selection(n, 0);
    std::vector<Frame> stack;
    stack.reserve(n + 1);
    stack.push_back(Frame{0, m_capacity, 0, Enter});
    while (!stack.empty()) {
        Frame& at = stack.back();
        if (at.phase == Enter) {
            if ((++m_nodes & StopPollMask) == 0 && stop.load(std::memory_order_relaxed))
                return false;
            if (m_nodes >= m_nextGrowth && !m_tablesFull) {
                // Spend on tables in proportion to the work they can save.
                m_tableBudget = std::min(2 * m_tableBudget, m_tableMax);
                growTables(m_tableBudget);
                m_nextGrowth = m_nodes + 4 * quint64(m_tableBudget);
                if (m_tableBudget == m_tableMax)
                    m_tablesFull = true;
            }
            if (at.pos < n && m_items[at.pos].blocks > quint64(at.free))
                at.pos = firstFitting(at.pos, at.free);
            if (at.pos == n) {
                // A selection that fits, met in count-down order.
                if (at.free < m_best) {
                    m_best = at.free;
                    if (!improved(selection, at.free))
                        return false;
                    if (m_best == 0)
                        return true;
                }
                stack.pop_back();
                continue;
            }
            if (lowerBound(at) >= m_best) {
                stack.pop_back();
                continue;
            }
            at.phase = Unselect;
            const quint64 c = cost(at.pos, at);
            if (c <= quint64(at.free)) {
                const FillItem& it = m_items[at.pos];
                selection[at.pos] = 1;
                const Frame child{at.pos + 1, at.free - qint64(c), addSat(at.shared, it.shared),
                                  Enter};
                stack.push_back(child);
                continue;
            }
        }
        if (at.phase == Unselect) {
            selection[at.pos] = 0;
            at.phase = Done;
            const Frame child{at.pos + 1, at.free, at.shared, Enter};
            stack.push_back(child);
            continue;
        }
        stack.pop_back();
    }
    return true;
}
