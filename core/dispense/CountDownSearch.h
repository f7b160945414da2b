// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>

#include <QtGlobal>

class TryCalcerProto;

// The search of a level as a literal count-down through every selection
// that fits, one nextTry after another: the reference that the search the
// program runs (TryCalcerProto::findBetter) is checked and timed against.
// Its time grows with the number of selections that fit, so the program
// never runs it.
class CountDownSearch
{
public:
    // Straight after prepare: calls improved(free), with calc's selection set
    // to it, for every selection that leaves fewer blocks free than all
    // before it; improved returns false to end the search. True when the
    // count-down ran to its end.
    static bool run(TryCalcerProto& calc, const std::atomic_bool& stop,
                    const std::function<bool(qint64)>& improved);
};
