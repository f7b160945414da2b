// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include <QStringList>
#include <QVector>

#include "core/model/Entry.h"

// The content of a project as the project file stores it: what a load
// replaces and a save writes.
struct ProjectData
{
    std::array<QVector<Entry>, 5> groups; // indexed by EntryGroup 0..4
    QVector<int> origins;                 // parallel to groups[Dispensed]
    bool hasTarget = false;
    Target target; // kept, but meaningless, while hasTarget is false
    QStringList warnings; // what a read passed over; not part of the content

    bool operator==(const ProjectData& o) const
    {
        return groups == o.groups && origins == o.origins && hasTarget == o.hasTarget &&
               (!hasTarget || target == o.target);
    }
};
