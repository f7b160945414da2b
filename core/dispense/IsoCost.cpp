// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/IsoCost.h"

namespace {

constexpr quint64 B = IsoMeta::BlockSize;

} // namespace

quint64 IsoCost::reservedBlocks()
{
    return IsoMeta::fixedBlocks() + (IsoMeta::rootBaseBytes() + B - 1) / B;
}

// A disc with no more than the reserve offers nothing (not a wrapped huge
// count).
IsoCost::IsoCost(quint64 availableBlocks)
    : FsCost(B, B, availableBlocks > reservedBlocks() ? availableBlocks - reservedBlocks() : 0, B)
{
}

IsoMeta::Item IsoCost::itemOf(const ItemName& name)
{
    IsoMeta::Item it;
    if (name.bytes)
        it.name = QByteArray(name.bytes, int(name.size));
    it.folder = name.folder;
    if (name.linkTarget) {
        it.link = true;
        it.target = QByteArray(name.linkTarget, int(name.linkSize));
    }
    return it;
}

// The entry's own name comes first; whether it is a file or a folder shows
// in what follows it.
void IsoCost::costName(const ItemName& name, bool top)
{
    if (top) {
        m_listing.clear();
        m_top = itemOf(name);
        m_topPending = true;
        return;
    }
    m_listing.push_back(itemOf(name));
}

void IsoCost::beginListing(const ItemName&)
{
    if (m_topPending) {
        m_topPending = false;
        m_top.folder = true;
        m_top.link = false;
        m_item.shared += IsoMeta::rootItemBytes(m_top);
    }
    m_listing.clear();
}

void IsoCost::costFile(quint64 size, const ItemName&)
{
    if (!m_topPending && m_listing.empty())
        return;
    IsoMeta::Item& it = m_topPending ? m_top : m_listing.back();
    // A link that leads nowhere is recorded as the link it is.
    if (it.link)
        return;
    it.size = size;
    m_item.blocks += IsoMeta::dataBlocks(size);
}

void IsoCost::costFolder(const FolderListing&)
{
    const IsoMeta::FolderCost c = IsoMeta::folderCost(m_listing);
    m_item.blocks += c.blocks;
    m_item.shared += c.pathTableBytes;
    m_listing.clear();
}

void IsoCost::finishItem()
{
    if (m_topPending) {
        m_topPending = false;
        m_item.shared += IsoMeta::rootItemBytes(m_top);
    }
    m_listing.clear();
}
