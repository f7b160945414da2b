// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "core/dispense/PlaceItem.h"

// The items of one level: queued in the order they were measured, then put
// in the order the search takes them.
class ItemStore
{
public:
    void queue(const PlaceItem& item) { m_queued.push_back(item); }
    // The queued items become the ordered ones: largest block count first,
    // equal ones as queued.
    void order();
    // Drops the ordered items.
    void clear() { m_ordered.clear(); }
    const std::vector<PlaceItem>& ordered() const { return m_ordered; }

private:
    std::vector<PlaceItem> m_queued;
    std::vector<PlaceItem> m_ordered;
};
