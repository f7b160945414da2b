// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/TryCalcerUDF.h"

#include "core/dispense/UdfCost.h"

TryCalcerUDF::TryCalcerUDF(quint64 blockSize, quint64 availableBlocks)
    : TryCalcerProto(std::make_unique<UdfCost>(blockSize, availableBlocks))
{
}
