// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/plan/HeldPlan.h"

#include <algorithm>

#include "core/dispense/FsCost.h"
#include "core/dispense/TryCalcerFactory.h"
#include "core/dispense/TryCalcerProto.h"

HeldPlan::HeldPlan() = default;
HeldPlan::~HeldPlan() = default;
HeldPlan::HeldPlan(const HeldPlan&) = default;
HeldPlan& HeldPlan::operator=(const HeldPlan&) = default;

HeldPlan::HeldPlan(const Target& target) : m_target(target), m_calc(createTryCalcer(target)) {}

HeldPlan HeldPlan::measured(const Target& target, const QStringList& idents,
                            const std::atomic_bool* stop)
{
    HeldPlan plan(target);
    std::unique_ptr<TryCalcerProto> calc = createTryCalcer(target);
    if (calc)
        calc->setWalkStop(stop);
    for (int i = 0; i < idents.size(); ++i) {
        if (!calc || (stop && stop->load())) {
            plan.addUnknown(idents.at(i));
            continue;
        }
        // The measure of the search itself: the same item it would have counted.
        calc->addItem(idents.at(i), unsigned(i));
        if (calc->refusal() == FsCost::Placeable)
            plan.add(idents.at(i), calc->lastItem());
        else
            plan.addUnknown(idents.at(i));
    }
    return plan;
}

void HeldPlan::add(const QString& ident, const PlaceItem& cost)
{
    m_entries.push_back(Chosen{ident, cost, true});
}

void HeldPlan::addUnknown(const QString& ident)
{
    m_entries.push_back(Chosen{ident, PlaceItem(), false});
}

void HeldPlan::keepOnly(const QSet<QString>& idents)
{
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&](const Chosen& c) { return !idents.contains(c.ident); }),
                    m_entries.end());
}

bool HeldPlan::isComplete() const
{
    return std::all_of(m_entries.begin(), m_entries.end(), [](const Chosen& c) { return c.known; });
}

// The selection's own blocks and the whole blocks of the store it shares:
// level by level the search counts the same sum.
quint64 HeldPlan::usedBlocks() const
{
    if (!m_calc)
        return 0;
    PlaceItem sum;
    for (const Chosen& c : m_entries) {
        sum.blocks = saturatingAdd(sum.blocks, c.cost.blocks);
        sum.shared = saturatingAdd(sum.shared, c.cost.shared);
    }
    return m_calc->costAlone(sum);
}

quint64 HeldPlan::usedBytes() const
{
    return m_calc ? usedBlocks() * m_calc->unitSize() : 0;
}

quint64 HeldPlan::wastedBytes() const
{
    if (!m_calc)
        return 0;
    const quint64 room = quint64(std::max<qint64>(m_calc->capacity(), 0));
    const quint64 used = usedBlocks();
    return used < room ? (room - used) * m_calc->unitSize() : 0;
}
