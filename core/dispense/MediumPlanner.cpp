// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/MediumPlanner.h"

#include <algorithm>
#include <chrono>

#include "core/dispense/TryCalcerProto.h"
#include "core/model/Entry.h"

namespace {

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

std::vector<MediumPlanner::Level> MediumPlanner::groupLevels()
{
    return {{Required}, {Main}, {Background}};
}

MediumPlanner::MediumPlanner(std::atomic_int& request, std::atomic_bool& stop)
    : m_request(request), m_stop(stop)
{
}

MediumPlanner::~MediumPlanner()
{
    if (!m_watcher.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ending = true;
        m_wake.notify_all();
    }
    m_watcher.join();
}

void MediumPlanner::arm(qint64 ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_watcher.joinable())
        m_watcher = std::thread([this] { watch(); });
    // Cleared before the request is read: a request made meanwhile sets it
    // again.
    m_stop = false;
    if (m_request != Searching)
        m_stop = true;
    m_deadline = ms < 0 ? -1 : steadyMs() + ms;
    m_wake.notify_all();
}

void MediumPlanner::watch()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_ending) {
        if (m_deadline < 0) {
            m_wake.wait(lock);
            continue;
        }
        const qint64 left = m_deadline - steadyMs();
        if (left <= 0) {
            // Set under the lock, so that it can never trip a level armed since.
            m_stop = true;
            m_deadline = -1;
            continue;
        }
        m_wake.wait_for(lock, std::chrono::milliseconds(left));
    }
}

MediumPlanner::Outcome MediumPlanner::plan(TryCalcerProto& calc, const std::vector<Level>& levels,
                                           const Hooks& hooks)
{
    m_best = calc.capacity();
    m_proven = true;
    m_limitsDropped = false;
    const qint64 end = m_limitMs < 0 ? -1 : steadyMs() + m_limitMs;
    int searchedLeft =
        int(std::count_if(levels.begin(), levels.end(), [](const Level& l) { return l.searched; }));
    std::vector<unsigned> best;
    Outcome outcome = Finished;
    for (const Level& level : levels) {
        hooks.measure(level, calc);
        if (m_request == Cancel)
            break;
        calc.prepare();
        m_best = calc.freeBlocks();
        calc.getSelection(best);
        if (hooks.prepared)
            hooks.prepared(level, m_best);
        if (level.searched) {
            if (end >= 0)
                arm(std::max<qint64>(0, end - steadyMs()) / searchedLeft--);
            const bool proven = m_request == Searching && calc.findBetter(m_stop, [&](qint64 cur) {
                if (m_request != Searching)
                    return false;
                m_best = cur;
                calc.getSelection(best);
                if (hooks.improved)
                    hooks.improved(cur);
                return true;
            });
            m_proven = m_proven && proven;
        }
        if (m_request == Cancel)
            break;
        // The search may have stopped on a selection it did not take.
        calc.useSelection(best);
        if (calc.keepMediumLimits()) {
            m_limitsDropped = true;
            m_best = calc.freeBlocks();
            calc.getSelection(best);
        }
        if (hooks.chosen)
            hooks.chosen(level, best);

        int request = m_request;
        if (request == Enough) {
            // The next level is searched in full, unless another request
            // came meanwhile.
            m_stop = false;
            if (m_request.compare_exchange_strong(request, Searching))
                request = Searching;
            else
                m_stop = true;
        }
        if (request == Accept) {
            outcome = Accepted;
            break;
        }
        // The next level pays for what it adds to the metadata of this one
        // (the calculator holds the level's selection since useSelection).
        calc.beginLevel(m_best);
    }
    if (m_watcher.joinable())
        arm(-1);
    return m_request == Cancel ? Cancelled : outcome;
}
