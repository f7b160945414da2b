// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dispense/TryCalcerProto.h"

// Placement on an optical disc written as UDF, with its metadata (UdfCost).
class TryCalcerUDF : public TryCalcerProto
{
public:
    TryCalcerUDF(quint64 blockSize, quint64 availableBlocks);
};
