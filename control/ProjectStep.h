// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include "core/model/Entry.h"
#include "core/model/Regroup.h"
#include "core/plan/HeldPlan.h"

class DM;

// One command's change of the project, kept so that Undo can take it back
// and Redo do it again exactly: how the groups changed, the entries it took
// out, and the target, result, waste and held plan on either side of it. The
// controller makes and replays it; the window keeps it in its history.
class ProjectStep
{
public:
    // name: what Undo and Redo call it ("Remove 3 Entries").
    explicit ProjectStep(const QString& name);

    const QString& name() const { return m_name; }

    // What besides the groups is on one side of the step.
    struct Side
    {
        bool hasTarget = false;
        Target target;
        bool dispensed = false;
        quint64 wasted = 0;
        HeldPlan plan;
        QVector<int> origins; // of the dispensed entries
    };
    // The project as it is now, as one side.
    static Side sideOf(DM* model, const HeldPlan& plan);
    // The sizes of the model's groups, for the changes of a step.
    static Regroup::Sizes sizesOf(DM* model);

    Side before, after;
    // How the groups changed: made for the groups before the step, or, when
    // backward (Add), for those after it, which it turns into those before.
    std::optional<Regroup> change;
    bool backward = false;
    // The entries the change (its forward way) took out, as last taken.
    QVector<Entry> removed;
    // Originals the step moved to the trash, and when: Undo brings them back.
    QStringList trashed;
    QDateTime trashedSince;
    QStringList restored; // of those, what the last Undo brought back

    // The target differs on the two sides (a medium of a series became it).
    bool changesTarget() const;

private:
    QString m_name;
};
