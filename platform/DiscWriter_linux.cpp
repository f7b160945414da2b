// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disc/DiscWriter.h"

#include "platform/IsoDiscWriter.h"

std::unique_ptr<DiscWriter> createDiscWriter()
{
    return std::make_unique<IsoDiscWriter>();
}
