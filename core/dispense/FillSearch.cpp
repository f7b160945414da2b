// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/FillSearch.h"

#include <algorithm>
#include <limits>
#include <map>
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
                       quint64 sharedBase)
    : m_items(std::move(items)), m_capacity(std::max<qint64>(capacity, 0)), m_step(sharedBlock),
      m_base(sharedBase), m_shares(sharedBlock != 0)
{
    const int n = int(m_items.size());
    m_restBlocks.assign(n + 1, 0);
    m_restShared.assign(n + 1, 0);
    m_restLeastShared.assign(n + 1, 0);
    m_restGcd.assign(n + 1, 0);
    m_restMaxShared.assign(n + 1, 0);
    m_sameEnd.assign(n + 1, n);
    m_prevSame.assign(n, -1);
    m_runStart.assign(n, 0);
    for (int p = n - 1; p >= 0; --p) {
        const FillItem& it = m_items[p];
        m_restBlocks[p] = addSat(m_restBlocks[p + 1], it.blocks);
        m_restShared[p] = addSat(m_restShared[p + 1], it.shared);
        m_restLeastShared[p] = m_restLeastShared[p + 1] + (m_shares ? it.shared / m_step : 0);
        m_restGcd[p] = std::gcd(m_restGcd[p + 1], it.blocks);
        m_restMaxShared[p] = std::max(m_restMaxShared[p + 1], it.shared);
        if (p + 1 < n && m_items[p + 1].blocks > it.blocks)
            m_sorted = false;
        const bool same =
            p + 1 < n && m_items[p + 1].blocks == it.blocks && m_items[p + 1].shared == it.shared;
        m_sameEnd[p] = same ? m_sameEnd[p + 1] : p + 1;
    }
    std::map<std::pair<quint64, quint64>, int> last;
    for (int p = 0; p < n; ++p) {
        const auto at = last.emplace(std::make_pair(m_items[p].blocks, m_items[p].shared), p);
        m_prevSame[p] = at.second ? -1 : at.first->second;
        at.first->second = p;
        const bool run = p > 0 && leastCost(m_items[p - 1]) == leastCost(m_items[p]);
        m_runStart[p] = run ? m_runStart[p - 1] : p;
    }
    if (m_sorted) {
        m_tailBlocks.assign(n + 1, 0);
        for (int k = 1; k <= n; ++k)
            m_tailBlocks[k] = addSat(m_tailBlocks[k - 1], m_items[n - k].blocks);
    }
    m_tableFrom = n;
    m_tableAt.assign(n + 1, -1);
    m_tableAt[n] = 0;
    m_tables.push_back({0});
    m_tableEntries = 1;
    setTableEntries(DefaultTableEntries, FirstTableEntries);
}

void FillSearch::setTableEntries(std::size_t most, std::size_t first)
{
    m_tableBudget = std::min(most, first);
    m_tableMax = most;
    m_tablesFull = most == 0;
}

// Extends the tables upwards, one run of equal least costs at a time, while
// they stay within limit entries in all. A run of count items adds multiples
// of its cost in pieces of 1, 2, 4, ... items, which together make every
// count up to the run's.
void FillSearch::growTables(std::size_t limit)
{
    const quint64 cap = quint64(m_capacity);
    std::vector<quint64> shifted, merged;
    while (m_tableFrom > 0 && !m_tablesFull) {
        const int start = m_runStart[m_tableFrom - 1];
        const quint64 b = leastCost(m_items[start]);
        std::vector<quint64> sums = m_tables[m_tableAt[m_tableFrom]];
        quint64 left = quint64(m_tableFrom - start);
        for (quint64 piece = 1; left > 0 && !m_tablesFull; piece *= 2) {
            const quint64 k = std::min(piece, left);
            left -= k;
            if (b != 0 && k > cap / b)
                break; // more of them never fit
            shifted.clear();
            for (quint64 s : sums) {
                if (s > cap - k * b)
                    break;
                shifted.push_back(s + k * b);
            }
            merged.clear();
            std::merge(sums.begin(), sums.end(), shifted.begin(), shifted.end(),
                       std::back_inserter(merged));
            merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
            if (merged.size() > TableLimit)
                m_tablesFull = true; // tables further up are no smaller
            sums.swap(merged);
        }
        if (m_tablesFull || m_tableEntries + sums.size() > limit)
            break;
        m_tableEntries += sums.size();
        m_tableAt[start] = int(m_tables.size());
        m_tables.push_back(std::move(sums));
        m_tableFrom = start;
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

// How much more than the least costs of the items from at's position on any
// selection of them can take: no more than adding all of them exceeds theirs
// by, and no more than what the most shared bytes of as many of them as can
// fit make the store grow by.
quint64 FillSearch::excessBound(const Frame& at) const
{
    const int p = at.pos;
    const quint64 all = grow(at.shared, m_restShared[p]) - m_restLeastShared[p];
    if (!m_sorted)
        return all;
    const int n = int(m_items.size());
    const auto fit =
        std::upper_bound(m_tailBlocks.begin(), m_tailBlocks.end(), quint64(at.free)) - 1;
    const quint64 most = quint64(std::min<std::ptrdiff_t>(fit - m_tailBlocks.begin(), n - p));
    const quint64 bytes = m_restMaxShared[p] && most > m_restShared[p] / m_restMaxShared[p]
                              ? m_restShared[p]
                              : most * m_restMaxShared[p];
    return std::min(all, grow(at.shared, bytes));
}

// When every item from at's position on is identical, the fewest blocks free
// exactly: as many of them as fit.
qint64 FillSearch::runBound(const Frame& at) const
{
    const FillItem& it = m_items[at.pos];
    const quint64 f = quint64(at.free);
    quint64 lo = 0, hi = quint64(int(m_items.size()) - at.pos);
    if (it.blocks != 0)
        hi = std::min(hi, f / it.blocks);
    const auto costOf = [&](quint64 k) {
        return k * it.blocks + (m_shares ? grow(at.shared, k * it.shared) : 0);
    };
    while (lo < hi) {
        const quint64 mid = hi - (hi - lo) / 2;
        if (costOf(mid) <= f)
            lo = mid;
        else
            hi = mid - 1;
    }
    return qint64(f - costOf(lo));
}

// The fewest blocks any selection in the branch can leave free: at least what
// is left when every remaining item is added (free only falls as items are
// added), and never below free modulo the common divisor of what remains.
// With the tables: what the best sum that fits leaves (exactly at a run's
// start, without a shared store); with a shared store, that less the most its
// growth can exceed the least costs by.
qint64 FillSearch::lowerBound(const Frame& at) const
{
    const int p = at.pos;
    const quint64 f = quint64(at.free);
    if (m_sameEnd[p] == int(m_items.size()) && m_items[p].shared <= 0xFFFFFFFFu)
        return runBound(at);
    qint64 tabled = 0;
    if (p >= m_tableFrom) {
        const std::vector<quint64>& sums = m_tables[m_tableAt[m_runStart[p]]];
        const auto fit = std::upper_bound(sums.begin(), sums.end(), f) - 1;
        if (!m_shares && m_runStart[p] == p)
            return qint64(f - *fit);
        tabled = qint64(f - *fit);
        if (m_shares)
            tabled = std::max<qint64>(0, tabled - qint64(excessBound(at)));
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
            for (;;) {
                if (at.pos < n && m_items[at.pos].blocks > quint64(at.free))
                    at.pos = firstFitting(at.pos, at.free);
                // An identical item before this one is left out: so are all
                // identical ones that follow directly.
                if (at.pos < n && m_prevSame[at.pos] >= 0 && !selection[m_prevSame[at.pos]])
                    at.pos = m_sameEnd[at.pos];
                else
                    break;
            }
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
