// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/TryCalcerISO.h"

#include "core/dispense/IsoCost.h"

TryCalcerISO::TryCalcerISO(quint64 availableBlocks)
    : TryCalcerProto(std::make_unique<IsoCost>(availableBlocks))
{
}
