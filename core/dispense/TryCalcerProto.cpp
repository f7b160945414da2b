#include "core/dispense/TryCalcerProto.h"

#include <algorithm>
#include <limits>

#include "core/dispense/FillSearch.h"
#include "core/dispense/Walk.h"

TryCalcerProto::TryCalcerProto(quint64 blockSize, quint64 capacity)
    : m_blockSize(blockSize),
      m_capacity(qint64(std::min<quint64>(capacity, std::numeric_limits<qint64>::max()))),
      m_free(m_capacity)
{
}

void TryCalcerProto::onFolder()
{
    m_item.folders += 1;
}

void TryCalcerProto::onFile(const quint64& size)
{
    m_item.blocks += blocksOf(size);
    m_item.files += 1;
}

void TryCalcerProto::beginItem()
{
    m_item = PlaceItem();
    m_skipItem = false;
}

void TryCalcerProto::endItem(unsigned index)
{
    if (m_skipItem)
        return;
    m_item.index = index;
    m_pending.push_back(m_item);
    std::push_heap(m_pending.begin(), m_pending.end(), fewerBlocks);
}

void TryCalcerProto::addItem(const QString& path, unsigned index)
{
    beginItem();
    measure(path);
    endItem(index);
}

void TryCalcerProto::measure(const QString& path)
{
    m_walkStopped = false;
    quint64 size = 0;
    switch (probeItem(path, size)) {
    case ItemKind::File:
        onFile(size);
        break;
    case ItemKind::Folder:
        m_walkStopped = !walkFolder(*this, path, m_walkStop);
        break;
    case ItemKind::Missing:
    case ItemKind::Other:
        // Gone, or a device or pipe: nothing that can be copied, so never planned.
        m_skipItem = true;
        break;
    }
}

void TryCalcerProto::select(std::size_t p)
{
    const PlaceItem& it = m_ordered[p];
    m_selection[p] = true;
    m_free -= qint64(costOf(it));
    m_chosen.blocks += it.blocks;
    m_chosen.files += it.files;
    m_chosen.folders += it.folders;
}

void TryCalcerProto::deselect(std::size_t p)
{
    const PlaceItem& it = m_ordered[p];
    m_selection[p] = false;
    m_free += qint64(gainOf(it));
    m_chosen.blocks -= it.blocks;
    m_chosen.files -= it.files;
    m_chosen.folders -= it.folders;
}

void TryCalcerProto::prepare()
{
    m_ordered.clear();
    while (!m_pending.empty()) {
        std::pop_heap(m_pending.begin(), m_pending.end(), fewerBlocks);
        m_ordered.push_back(m_pending.back());
        m_pending.pop_back();
    }
    m_selection.assign(m_ordered.size(), false);
    m_free = m_capacity;
    m_chosen = PlaceItem();
    for (std::size_t p = 0; p < m_ordered.size(); ++p)
        if (costOf(m_ordered[p]) <= quint64(m_free))
            select(p);
}

void TryCalcerProto::getSelection(std::vector<unsigned>& v) const
{
    v.clear();
    for (std::size_t p = 0; p < m_selection.size(); ++p)
        if (m_selection[p])
            v.push_back(m_ordered[p].index);
}

void TryCalcerProto::beginLevel(qint64 capacity)
{
    m_ordered.clear();
    m_selection.clear();
    m_capacity = capacity;
    m_free = capacity;
}

bool TryCalcerProto::nextTry(const std::atomic_bool& stop)
{
    const int n = int(m_ordered.size());
    int j = 0;
    while (j < n) {
        if (stop.load(std::memory_order_relaxed))
            return false;
        const int p = n - 1 - j;
        if (m_selection[p]) {
            deselect(p);
            if (m_free >= 0)
                return true;
            j = 0; // still too large: count down from the lowest digit again
        } else {
            select(p);
            ++j;
        }
    }
    return false;
}

bool TryCalcerProto::findBetter(const std::atomic_bool& stop,
                                const std::function<bool(qint64)>& improved, long tableEntries,
                                long firstTableEntries)
{
    const bool meta = countsMetadata();
    std::vector<FillItem> items;
    items.reserve(m_ordered.size());
    for (const PlaceItem& it : m_ordered)
        items.push_back(FillItem{it.blocks, meta ? it.files : 0, meta ? it.folders : 0});
    FillSearch search(
        std::move(items), m_capacity, meta,
        tableEntries < 0 ? FillSearch::DefaultTableEntries : std::size_t(tableEntries),
        firstTableEntries < 0 ? FillSearch::FirstTableEntries : std::size_t(firstTableEntries));
    return search.run(m_free, stop, [this, &improved](const std::vector<char>& sel, qint64 free) {
        m_chosen = PlaceItem();
        for (std::size_t p = 0; p < sel.size(); ++p) {
            m_selection[p] = sel[p] != 0;
            if (m_selection[p]) {
                m_chosen.blocks += m_ordered[p].blocks;
                m_chosen.files += m_ordered[p].files;
                m_chosen.folders += m_ordered[p].folders;
            }
        }
        m_free = free;
        return improved(free);
    });
}
