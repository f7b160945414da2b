// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/ProjectStep.h"

#include "core/model/DM.h"

ProjectStep::ProjectStep(const QString& name) : m_name(name) {}

ProjectStep::Side ProjectStep::sideOf(DM* model, const HeldPlan& plan)
{
    Side side;
    side.hasTarget = model->hasTarget();
    side.target = model->target();
    side.dispensed = model->isDispensed();
    side.wasted = model->wastedSize();
    side.plan = plan;
    side.origins = model->dispensedOrigins();
    return side;
}

Regroup::Sizes ProjectStep::sizesOf(DM* model)
{
    Regroup::Sizes sizes;
    for (int g = 0; g < NoGroup; ++g)
        sizes[std::size_t(g)] = model->groupSize(g);
    return sizes;
}

bool ProjectStep::changesTarget() const
{
    return before.hasTarget != after.hasTarget ||
           (after.hasTarget && before.target != after.target);
}
