#include "core/dispense/TryCalcerHDD.h"

#include <algorithm>
#include <limits>

#include <QFileInfo>

#include "core/dispense/FillSearch.h"

namespace {
// FAT32 stores a file's length in 32 bits.
constexpr quint64 Fat32FileLimit = Q_UINT64_C(1) << 32;
} // namespace

TryCalcerHDD::TryCalcerHDD(quint64 blockSize, quint64 availableBlocks, bool fat32)
    : TryCalcerProto(blockSize, availableBlocks), m_fat32(fat32)
{
    m_capacity = qint64(std::min<quint64>(availableBlocks, std::numeric_limits<qint64>::max()));
    m_free = m_capacity;
}

void TryCalcerHDD::onFolder()
{
    if (m_fat32)
        m_blocks += 1;
}

void TryCalcerHDD::onFile(const quint64& size)
{
    m_blocks += blocksOf(size);
    if (m_fat32 && size >= Fat32FileLimit)
        m_tooLarge = true;
}

void TryCalcerHDD::beginItem()
{
    m_blocks = 0;
    m_tooLarge = false;
}

void TryCalcerHDD::endItem(unsigned index)
{
    if (m_tooLarge)
        return;
    m_pending.push_back(PlaceItem{index, m_blocks});
    std::push_heap(m_pending.begin(), m_pending.end(), fewerBlocks<PlaceItem>);
}

void TryCalcerHDD::addItem(const QString& path, unsigned index)
{
    beginItem();
    if (m_fat32 && QFileInfo(path).isDir())
        m_blocks += 1;
    measure(path);
    endItem(index);
}

void TryCalcerHDD::prepare()
{
    m_ordered.clear();
    while (!m_pending.empty()) {
        std::pop_heap(m_pending.begin(), m_pending.end(), fewerBlocks<PlaceItem>);
        m_ordered.push_back(m_pending.back());
        m_pending.pop_back();
    }
    m_selection.assign(m_ordered.size(), false);
    m_free = m_capacity;
    for (std::size_t p = 0; p < m_ordered.size(); ++p) {
        const quint64 cost = m_ordered[p].blocks;
        if (cost <= quint64(m_free)) {
            m_selection[p] = true;
            m_free -= qint64(cost);
        }
    }
}

void TryCalcerHDD::beginLevel(qint64 capacity)
{
    m_ordered.clear();
    m_selection.clear();
    m_capacity = capacity;
    m_free = capacity;
}

bool TryCalcerHDD::nextTry(const std::atomic_bool& stop)
{
    const int n = int(m_ordered.size());
    if (n == 0)
        return false;
    int j = 0;
    while (j < n) {
        if (stop.load(std::memory_order_relaxed))
            return false;
        const int p = n - 1 - j;
        const qint64 blocks = qint64(m_ordered[p].blocks);
        if (m_selection[p]) {
            m_selection[p] = false;
            m_free += blocks;
            if (m_free >= 0)
                return true;
            j = 0;
        } else {
            m_selection[p] = true;
            m_free -= blocks;
            ++j;
        }
    }
    return false;
}

unsigned TryCalcerHDD::itemIndex(int position) const
{
    return m_ordered[position].index;
}

void TryCalcerHDD::fillItems(std::vector<FillItem>& out) const
{
    out.clear();
    out.reserve(m_ordered.size());
    for (const PlaceItem& it : m_ordered)
        out.push_back(FillItem{it.blocks, 0, 0});
}
