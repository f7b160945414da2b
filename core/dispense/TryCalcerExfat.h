// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dispense/TryCalcerProto.h"

// Placement on an exFAT volume (ExfatCost).
class TryCalcerExfat : public TryCalcerProto
{
public:
    TryCalcerExfat(quint64 clusterSize, quint64 availableClusters);
};
