// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/ProjectFileTags.h"

#include "core/model/Entry.h"

int ProjectFileTags::group(QStringView name) const
{
    for (int g = Dispensed; g <= NotInUse; ++g)
        if (name == groups[g])
            return g;
    return NoGroup;
}

const ProjectFileTags& projectFileTags()
{
    static const ProjectFileTags tags;
    return tags;
}
