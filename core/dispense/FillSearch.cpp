#include "core/dispense/FillSearch.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "core/dispense/UdfMeta.h"

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

qint64 meta(quint64 folders, quint64 files)
{
    const quint64 top = quint64(std::numeric_limits<qint32>::max());
    return udfMetaBlocks(qint32(std::min(folders, top)), qint32(std::min(files, top)));
}

// The metadata beyond two blocks a folder and one a file: what the directory
// blocks add. It only grows with either count.
qint64 metaSteps(quint64 folders, quint64 files)
{
    return meta(folders, 0) - 2 * qint64(folders) + meta(0, files) - qint64(files);
}

// An item's cost at the least: its data, two blocks a folder, one a file.
quint64 leastCost(const FillItem& it, bool udf)
{
    return udf ? addSat(it.blocks, 2 * quint64(it.folders) + it.files) : it.blocks;
}

} // namespace

FillSearch::FillSearch(std::vector<FillItem> items, qint64 capacity, bool udfMeta,
                       std::size_t tableEntries, std::size_t firstTableEntries)
    : m_items(std::move(items)), m_capacity(std::max<qint64>(capacity, 0)), m_udf(udfMeta),
      m_tableBudget(std::min(tableEntries, firstTableEntries)), m_tableMax(tableEntries)
{
    const int n = int(m_items.size());
    m_restBlocks.assign(n + 1, 0);
    m_restFiles.assign(n + 1, 0);
    m_restFolders.assign(n + 1, 0);
    m_restGcd.assign(n + 1, 0);
    for (int p = n - 1; p >= 0; --p) {
        const FillItem& it = m_items[p];
        m_restBlocks[p] = addSat(m_restBlocks[p + 1], it.blocks);
        m_restFiles[p] = m_restFiles[p + 1] + it.files;
        m_restFolders[p] = m_restFolders[p + 1] + it.folders;
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
        const quint64 b = leastCost(m_items[m_tableFrom - 1], m_udf);
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

quint64 FillSearch::cost(int pos, const Frame& at) const
{
    const FillItem& it = m_items[pos];
    if (!m_udf)
        return it.blocks;
    const qint64 grow = meta(quint64(at.folders) + it.folders, quint64(at.files) + it.files) -
                        meta(at.folders, at.files);
    return addSat(it.blocks, quint64(grow));
}

// The fewest blocks any selection in the branch can leave free: at least what
// is left when every remaining item is added (free only falls as items are
// added), and never below free modulo the common divisor of what remains.
// With the tables: exactly what the best sum that fits leaves; with metadata,
// that less the most the directory blocks can grow by.
qint64 FillSearch::lowerBound(const Frame& at) const
{
    const int p = at.pos;
    const quint64 f = quint64(at.free);
    qint64 tabled = 0;
    if (p >= m_tableFrom) {
        const std::vector<quint64>& sums = m_tables[m_items.size() - p];
        const auto fit = std::upper_bound(sums.begin(), sums.end(), f) - 1;
        if (!m_udf)
            return qint64(f - *fit);
        const qint64 steps = metaSteps(at.folders + m_restFolders[p], at.files + m_restFiles[p]) -
                             metaSteps(at.folders, at.files);
        tabled = std::max<qint64>(0, qint64(f - *fit) - steps);
    }
    quint64 all = m_restBlocks[p];
    if (m_udf) {
        const qint64 grow = meta(at.folders + m_restFolders[p], at.files + m_restFiles[p]) -
                            meta(at.folders, at.files);
        all = addSat(all, quint64(grow));
    }
    qint64 bound = std::max(tabled, all >= f ? 0 : qint64(f - all));
    if (!m_udf) {
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
    stack.push_back(Frame{0, m_capacity, 0, 0, Enter});
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
                const Frame child{at.pos + 1, at.free - qint64(c), at.files + it.files,
                                  at.folders + it.folders, Enter};
                stack.push_back(child);
                continue;
            }
        }
        if (at.phase == Unselect) {
            selection[at.pos] = 0;
            at.phase = Done;
            const Frame child{at.pos + 1, at.free, at.files, at.folders, Enter};
            stack.push_back(child);
            continue;
        }
        stack.pop_back();
    }
    return true;
}
