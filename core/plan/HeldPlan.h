// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include <QSet>
#include <QString>
#include <QStringList>

#include "core/dispense/PlaceItem.h"
#include "core/model/Entry.h"

class TryCalcerProto;

// The plan that is held: the target it was made for and its chosen entries
// with what each costs there in the blocks the search counts. Its waste is
// what the target's room for plans leaves beside those costs: the one figure
// of a result, whichever road (Dispense, a medium of a series, a project
// opened again, entries deleted since) set it. What copies or writes the
// plan reads it here.
class HeldPlan
{
public:
    struct Chosen
    {
        QString ident;
        PlaceItem cost;     // index unused
        bool known = false; // cost measured; false when it could not be
    };

    HeldPlan(); // none held
    // An empty plan for target; none when no calculator fits it.
    explicit HeldPlan(const Target& target);
    ~HeldPlan();
    HeldPlan(const HeldPlan&);
    HeldPlan& operator=(const HeldPlan&);

    // The chosen entries measured on target, in the order given; stop ends
    // the measuring (the rest stay unknown).
    static HeldPlan measured(const Target& target, const QStringList& idents,
                             const std::atomic_bool* stop = nullptr);

    bool isHeld() const { return m_calc != nullptr; }
    // When it was made (ns since the epoch; 0 not known): what a disc writes
    // must not have changed since.
    qint64 plannedAt() const { return m_plannedAt; }
    void setPlannedAt(qint64 ns) { m_plannedAt = ns; }
    const Target& target() const { return m_target; }
    const std::vector<Chosen>& entries() const { return m_entries; }

    void add(const QString& ident, const PlaceItem& cost);
    void addUnknown(const QString& ident);
    // Keeps only the chosen entries named in idents (the others left it).
    void keepOnly(const QSet<QString>& idents);

    // Every chosen entry's cost is known, so the figures are exact.
    bool isComplete() const;
    // Bytes of the room for plans that the entries of known cost take, and
    // that stay free beside them.
    quint64 usedBytes() const;
    quint64 wastedBytes() const;

private:
    quint64 usedBlocks() const;

    Target m_target;
    std::shared_ptr<const TryCalcerProto> m_calc; // the target's rule; shared, never changed
    std::vector<Chosen> m_entries;
    qint64 m_plannedAt = 0;
};
