// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dispense/PlaceItem.h"

// The totals of a medium's selection: what earlier levels chose (the base)
// and what the current level's selection adds. The shared bytes of both lie
// in one store of whole blocks of sharedBlock bytes, so an item costs its own
// blocks and what it makes that store grow by.
class SharedLedger
{
public:
    // sharedBlock: 0 for no shared store. start: what the medium holds there
    // before anything is chosen, paid for apart (FsCost::sharedStart).
    explicit SharedLedger(quint64 sharedBlock, const PlaceItem& start = PlaceItem())
        : m_sharedBlock(sharedBlock), m_start(start.shared), m_base(start)
    {
    }

    quint64 sharedBlock() const { return m_sharedBlock; }
    // Blocks of the store holding bytes.
    quint64 blocks(quint64 bytes) const
    {
        return m_sharedBlock ? bytes / m_sharedBlock + (bytes % m_sharedBlock != 0) : 0;
    }
    // Blocks that adding it to the selection takes, and that removing it
    // (selected) gives back.
    quint64 costOf(const PlaceItem& it) const
    {
        const quint64 before = m_base.shared + m_chosen.shared;
        return it.blocks + blocks(before + it.shared) - blocks(before);
    }
    quint64 gainOf(const PlaceItem& it) const
    {
        const quint64 before = m_base.shared + m_chosen.shared;
        return it.blocks + blocks(before) - blocks(before - it.shared);
    }
    // The blocks it takes on a medium of its own.
    quint64 costAlone(const PlaceItem& it) const
    {
        return it.blocks + blocks(m_start + it.shared) - blocks(m_start);
    }

    void add(const PlaceItem& it) { m_chosen += it; }
    void remove(const PlaceItem& it) { m_chosen -= it; }
    void clearSelection() { m_chosen = PlaceItem(); }
    // The selection joins the base: the next level pays for what it adds.
    void closeLevel()
    {
        m_base += m_chosen;
        m_chosen = PlaceItem();
    }

    const PlaceItem& base() const { return m_base; }
    // The base and the selection together.
    PlaceItem total() const
    {
        PlaceItem t = m_base;
        return t += m_chosen;
    }

private:
    quint64 m_sharedBlock;
    quint64 m_start;
    PlaceItem m_base;
    PlaceItem m_chosen;
};
