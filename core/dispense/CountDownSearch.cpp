// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/CountDownSearch.h"

#include "core/dispense/TryCalcerProto.h"

bool CountDownSearch::run(TryCalcerProto& calc, const std::atomic_bool& stop,
                          const std::function<bool(qint64)>& improved)
{
    quint64 best = quint64(calc.freeBlocks());
    while (calc.nextTry(stop)) {
        const qint64 cur = calc.freeBlocks();
        if (quint64(cur) < best) {
            best = quint64(cur);
            if (!improved(cur))
                return false;
        }
    }
    return !stop.load();
}
