#include "core/dispense/TryCalcerUDF.h"

#include <algorithm>
#include <limits>

#include "core/dispense/FillSearch.h"
#include "core/dispense/UdfMeta.h"

TryCalcerUDF::TryCalcerUDF(quint64 blockSize, quint64 availableBlocks)
    : TryCalcerProto(blockSize, availableBlocks)
{
    // A disc with no more than the reserve offers nothing (not a wrapped
    // huge count).
    const quint64 room = availableBlocks > ReservedBlocks ? availableBlocks - ReservedBlocks : 0;
    m_capacity = qint64(std::min<quint64>(room, std::numeric_limits<qint64>::max()));
    m_free = m_capacity;
}

void TryCalcerUDF::onFolder()
{
    m_folders += 1;
}

void TryCalcerUDF::onFile(const quint64& size)
{
    m_blocks += blocksOf(size);
    m_files += 1;
}

void TryCalcerUDF::beginItem()
{
    m_blocks = 0;
    m_files = 0;
    m_folders = 0;
}

void TryCalcerUDF::endItem(unsigned index)
{
    m_pending.push_back(UdfPlaceItem{index, m_blocks, m_files, m_folders});
    std::push_heap(m_pending.begin(), m_pending.end(), fewerBlocks<UdfPlaceItem>);
}

void TryCalcerUDF::addItem(const QString& path, unsigned index)
{
    beginItem();
    measure(path);
    endItem(index);
}

qint64 TryCalcerUDF::metaNow() const
{
    return udfMetaBlocks(qint32(m_folders), qint32(m_files));
}

quint64 TryCalcerUDF::costOf(const UdfPlaceItem& it) const
{
    return it.blocks +
           quint64(udfMetaBlocks(qint32(m_folders + it.folders), qint32(m_files + it.files)) -
                   metaNow());
}

quint64 TryCalcerUDF::gainOf(const UdfPlaceItem& it) const
{
    return it.blocks + quint64(metaNow() - udfMetaBlocks(qint32(m_folders - it.folders),
                                                         qint32(m_files - it.files)));
}

void TryCalcerUDF::prepare()
{
    m_ordered.clear();
    while (!m_pending.empty()) {
        std::pop_heap(m_pending.begin(), m_pending.end(), fewerBlocks<UdfPlaceItem>);
        m_ordered.push_back(m_pending.back());
        m_pending.pop_back();
    }
    m_selection.assign(m_ordered.size(), false);
    m_free = m_capacity;
    m_blocks = 0;
    m_files = 0;
    m_folders = 0;
    for (std::size_t p = 0; p < m_ordered.size(); ++p) {
        const UdfPlaceItem& it = m_ordered[p];
        const quint64 cost = costOf(it);
        if (cost <= quint64(m_free)) {
            m_selection[p] = true;
            m_free -= qint64(cost);
            m_blocks += it.blocks;
            m_files += it.files;
            m_folders += it.folders;
        }
    }
}

void TryCalcerUDF::beginLevel(qint64 capacity)
{
    m_ordered.clear();
    m_capacity = capacity;
    m_free = capacity;
}

bool TryCalcerUDF::nextTry(const std::atomic_bool& stop)
{
    const int n = int(m_ordered.size());
    if (n == 0)
        return false;
    int j = 0;
    while (j < n) {
        if (stop.load(std::memory_order_relaxed))
            return false;
        const int p = n - 1 - j;
        const UdfPlaceItem& it = m_ordered[p];
        if (m_selection[p]) {
            m_selection[p] = false;
            m_free += qint64(gainOf(it));
            m_blocks -= it.blocks;
            m_files -= it.files;
            m_folders -= it.folders;
            if (m_free >= 0)
                return true;
            j = 0;
        } else {
            m_selection[p] = true;
            m_free -= qint64(costOf(it));
            m_blocks += it.blocks;
            m_files += it.files;
            m_folders += it.folders;
            ++j;
        }
    }
    return false;
}

unsigned TryCalcerUDF::itemIndex(int position) const
{
    return m_ordered[position].index;
}

void TryCalcerUDF::fillItems(std::vector<FillItem>& out) const
{
    out.clear();
    out.reserve(m_ordered.size());
    for (const UdfPlaceItem& it : m_ordered)
        out.push_back(FillItem{it.blocks, it.files, it.folders});
}

void TryCalcerUDF::selectionSet()
{
    m_blocks = 0;
    m_files = 0;
    m_folders = 0;
    for (std::size_t p = 0; p < m_ordered.size(); ++p) {
        if (!m_selection[p])
            continue;
        m_blocks += m_ordered[p].blocks;
        m_files += m_ordered[p].files;
        m_folders += m_ordered[p].folders;
    }
}
