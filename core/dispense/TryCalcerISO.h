// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dispense/TryCalcerProto.h"

// Placement on an optical disc written as ISO 9660 with Rock Ridge and
// Joliet (IsoCost), in 2048-byte blocks.
class TryCalcerISO : public TryCalcerProto
{
public:
    explicit TryCalcerISO(quint64 availableBlocks);
};
