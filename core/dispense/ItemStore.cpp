// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/ItemStore.h"

#include <algorithm>

// Equal block counts keep the order they came in: the same entries give the
// same choice whatever else is measured with them.
void ItemStore::order()
{
    m_ordered.swap(m_queued);
    m_queued.clear();
    std::stable_sort(m_ordered.begin(), m_ordered.end(),
                     [](const PlaceItem& a, const PlaceItem& b) { return fewerBlocks(b, a); });
}
