// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/TryCalcerExfat.h"

#include "core/dispense/ExfatCost.h"

TryCalcerExfat::TryCalcerExfat(quint64 clusterSize, quint64 availableClusters)
    : TryCalcerProto(std::make_unique<ExfatCost>(clusterSize, availableClusters))
{
}
