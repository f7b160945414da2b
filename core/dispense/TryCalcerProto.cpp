#include "core/dispense/TryCalcerProto.h"

#include "core/dispense/FillSearch.h"
#include "core/dispense/Walk.h"

TryCalcerProto::TryCalcerProto(quint64 blockSize, quint64 availableBlocks)
    : m_blockSize(blockSize), m_availableBlocks(availableBlocks)
{
}

void TryCalcerProto::getSelection(std::vector<unsigned>& v) const
{
    v.clear();
    for (std::size_t p = 0; p < m_selection.size(); ++p)
        if (m_selection[p])
            v.push_back(itemIndex(int(p)));
}

qint64 TryCalcerProto::freeBlocks() const
{
    return m_free;
}

void TryCalcerProto::measure(const QString& path)
{
    m_walkStopped = false;
    quint64 size = 0;
    if (probeFile(path, size))
        onFile(size);
    else
        m_walkStopped = !walkFolder(*this, path, m_walkStop);
}

bool TryCalcerProto::findBetter(const std::atomic_bool& stop,
                                const std::function<bool(qint64)>& improved, long tableEntries,
                                long firstTableEntries)
{
    std::vector<FillItem> items;
    fillItems(items);
    FillSearch search(
        std::move(items), m_capacity, countsMetadata(),
        tableEntries < 0 ? FillSearch::DefaultTableEntries : std::size_t(tableEntries),
        firstTableEntries < 0 ? FillSearch::FirstTableEntries : std::size_t(firstTableEntries));
    return search.run(m_free, stop, [this, &improved](const std::vector<char>& sel, qint64 free) {
        for (std::size_t p = 0; p < sel.size(); ++p)
            m_selection[p] = sel[p] != 0;
        m_free = free;
        selectionSet();
        return improved(free);
    });
}
