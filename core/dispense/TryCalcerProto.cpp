// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/TryCalcerProto.h"

#include <algorithm>
#include <limits>

#include <QFileInfo>

#include "core/dispense/FillSearch.h"
#include "core/dispense/Walk.h"
#include "core/model/Entry.h"

TryCalcerProto::TryCalcerProto(quint64 blockSize, quint64 capacity, quint64 sharedBlock)
    : m_unitSize(blockSize), m_blockSize(blockSize), m_sharedBlock(sharedBlock),
      m_capacity(qint64(std::min<quint64>(capacity, std::numeric_limits<qint64>::max()))),
      m_free(m_capacity)
{
}

ItemName TryCalcerProto::nameOf(const QString& name)
{
    ItemName n;
    n.length = quint32(name.size());
    for (QChar c : name)
        n.wide = n.wide || c.unicode() > 0xFF;
    return n;
}

void TryCalcerProto::onFile(const quint64& size)
{
    costFile(size, m_lastName);
    if (m_tick)
        m_tick();
}

void TryCalcerProto::beginListing(const ItemName& own)
{
    if (m_atStart) {
        m_atStart = false;
        costName(own, true);
    }
    m_listing = Listing();
    m_listing.own = own;
    if (m_tick)
        m_tick();
}

void TryCalcerProto::onName(const ItemName& name)
{
    m_lastName = name;
    m_listing.count += 1;
    m_listing.longest = std::max(m_listing.longest, name.length);
    m_listing.weight += nameWeight(name);
    costName(name, false);
}

void TryCalcerProto::endListing()
{
    costFolder(m_listing);
}

void TryCalcerProto::beginItem()
{
    m_item = PlaceItem();
    m_refusal = Placeable;
    m_walkStopped = false;
    m_atStart = true;
    m_lastName = ItemName();
}

void TryCalcerProto::endItem(unsigned index)
{
    finishItem();
    // A walk cut short measured the entry too small: never place it.
    if (m_walkStopped)
        refuse(WalkCut);
    if (m_refusal != Placeable)
        return;
    m_item.index = index;
    m_pending.push_back(m_item);
}

void TryCalcerProto::addMeasured(unsigned index, quint64 blocks, quint64 shared)
{
    m_item = PlaceItem{index, blocks, shared};
    m_pending.push_back(m_item);
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
    m_itemIssue = NoSizeIssue;
    quint64 size = 0;
    switch (probeItem(path, size)) {
    case ItemKind::File:
        m_atStart = false;
        m_lastName = nameOf(QFileInfo(path).fileName());
        costName(m_lastName, true);
        costFile(size, m_lastName);
        return;
    case ItemKind::Folder:
        break;
    case ItemKind::Missing:
        m_itemIssue = sizeIssueOf(WalkEnd::Missing);
        refuse(SizeUnknown);
        return;
    case ItemKind::Other:
        // A device or pipe: nothing that can be copied, so never planned.
        refuse(NotCopyable);
        return;
    }
    const WalkEnd end = walkFolder(*this, path, m_walkStop);
    m_walkStopped = end == WalkEnd::Stopped;
    m_itemIssue = sizeIssueOf(end);
    // Planned with a size that is too small, it could overfill the target.
    if (m_itemIssue != NoSizeIssue)
        refuse(SizeUnknown);
}

quint64 TryCalcerProto::costOf(const PlaceItem& it) const
{
    const quint64 before = m_sharedBase + m_chosen.shared;
    return it.blocks + sharedBlocks(before + it.shared) - sharedBlocks(before);
}

quint64 TryCalcerProto::gainOf(const PlaceItem& it) const
{
    const quint64 before = m_sharedBase + m_chosen.shared;
    return it.blocks + sharedBlocks(before) - sharedBlocks(before - it.shared);
}

void TryCalcerProto::select(std::size_t p)
{
    const PlaceItem& it = m_ordered[p];
    m_selection[p] = true;
    m_free -= qint64(costOf(it));
    m_chosen.blocks += it.blocks;
    m_chosen.shared += it.shared;
}

void TryCalcerProto::deselect(std::size_t p)
{
    const PlaceItem& it = m_ordered[p];
    m_selection[p] = false;
    m_free += qint64(gainOf(it));
    m_chosen.blocks -= it.blocks;
    m_chosen.shared -= it.shared;
}

void TryCalcerProto::useSelection(const std::vector<unsigned>& indices)
{
    for (std::size_t p = 0; p < m_selection.size(); ++p)
        if (m_selection[p])
            deselect(p);
    std::vector<char> wanted;
    for (unsigned i : indices) {
        wanted.resize(std::max<std::size_t>(wanted.size(), i + 1));
        wanted[i] = 1;
    }
    for (std::size_t p = 0; p < m_ordered.size(); ++p)
        if (m_ordered[p].index < wanted.size() && wanted[m_ordered[p].index])
            select(p);
}

void TryCalcerProto::prepare()
{
    // Equal block counts keep the order they came in: the same entries give
    // the same choice whatever else is measured with them.
    m_ordered.swap(m_pending);
    m_pending.clear();
    std::stable_sort(m_ordered.begin(), m_ordered.end(),
                     [](const PlaceItem& a, const PlaceItem& b) { return fewerBlocks(b, a); });
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

bool TryCalcerProto::keepSharedLimit()
{
    const quint64 limit = sharedLimit();
    bool dropped = false;
    // Largest first: the smallest selected items are last.
    for (std::size_t p = m_ordered.size(); limit && p-- > 0;) {
        if (m_sharedBase + m_chosen.shared <= limit)
            break;
        if (m_selection[p]) {
            deselect(p);
            dropped = true;
        }
    }
    return dropped;
}

void TryCalcerProto::beginLevel(qint64 capacity)
{
    m_sharedBase += m_chosen.shared;
    m_chosen = PlaceItem();
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
    std::vector<FillItem> items;
    items.reserve(m_ordered.size());
    for (const PlaceItem& it : m_ordered)
        items.push_back(FillItem{it.blocks, m_sharedBlock ? it.shared : 0});
    FillSearch search(
        std::move(items), m_capacity, m_sharedBlock, m_sharedBase,
        tableEntries < 0 ? FillSearch::DefaultTableEntries : std::size_t(tableEntries),
        firstTableEntries < 0 ? FillSearch::FirstTableEntries : std::size_t(firstTableEntries));
    return search.run(m_free, stop, [this, &improved](const std::vector<char>& sel, qint64 free) {
        m_chosen = PlaceItem();
        for (std::size_t p = 0; p < sel.size(); ++p) {
            m_selection[p] = sel[p] != 0;
            if (m_selection[p]) {
                m_chosen.blocks += m_ordered[p].blocks;
                m_chosen.shared += m_ordered[p].shared;
            }
        }
        m_free = free;
        return improved(free);
    });
}
