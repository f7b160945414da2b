// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <QtGlobal>

class TryCalcerProto;

// Plans one medium level by level, as Dispense and each medium of a series
// do: a level's items are measured (by the caller), ordered, given a first
// selection and then searched for one that leaves fewer blocks free; the
// medium's limits are applied to the best, and the blocks it leaves free are
// the room of the next level. The caller's request word steers it from other
// threads: Enough ends the search of the level at hand, Accept takes that
// level's best and ends the plan, Cancel ends it without a result. A time
// limit, shared among the levels still to search, ends each level's search
// at its share as Enough would.
class MediumPlanner
{
public:
    // The values of Dispenser::DispenseRequest.
    enum Request
    {
        Searching = 0,
        Cancel = 1,
        Enough = 2,
        Accept = 3
    };
    enum Outcome
    {
        Finished,  // every level was planned
        Accepted,  // Accept ended the plan after a level
        Cancelled, // no result
    };
    struct Level
    {
        int group;
        // False: the level's first selection is its result.
        bool searched = true;
    };
    // Required, Main, Background.
    static std::vector<Level> groupLevels();

    // What the caller does at each step; measure is required.
    struct Hooks
    {
        // Queues the level's items on the calculator; a request may cut it short.
        std::function<void(const Level&, TryCalcerProto&)> measure;
        // The level's first selection has been made; it leaves free blocks.
        std::function<void(const Level&, qint64 free)> prepared;
        // The search found a selection that leaves fewer blocks free.
        std::function<void(qint64 free)> improved;
        // The level's result, in the medium's limits: entry indices in list order.
        std::function<void(const Level&, const std::vector<unsigned>& chosen)> chosen;
    };

    // request: a Request; stop: the search's stop flag. Whoever makes a
    // request writes request first, then sets stop.
    MediumPlanner(std::atomic_int& request, std::atomic_bool& stop);
    ~MediumPlanner();

    // The search of each plan may take this long, shared among its searched
    // levels; negative: no limit.
    void setTimeLimit(qint64 ms) { m_limitMs = ms; }

    // Plans the levels onto calc, a fresh calculator for the medium.
    Outcome plan(TryCalcerProto& calc, const std::vector<Level>& levels, const Hooks& hooks);
    // After plan: the blocks the plan leaves free (of the last level planned),
    // and whether no level's search was cut short.
    qint64 best() const { return m_best; }
    bool proven() const { return m_proven; }
    // Whether the medium's limits (FsCost::withinLimits) dropped entries a
    // level had chosen.
    bool limitsDropped() const { return m_limitsDropped; }

private:
    // Ends the level's search in ms milliseconds; a negative ms: never.
    void arm(qint64 ms);
    void watch();

    std::atomic_int& m_request;
    std::atomic_bool& m_stop;
    qint64 m_limitMs = -1;
    qint64 m_best = 0;
    bool m_proven = true;
    bool m_limitsDropped = false;

    std::thread m_watcher; // started with the first limited level
    std::mutex m_mutex;
    std::condition_variable m_wake;
    qint64 m_deadline = -1; // steady-clock ms; guarded by m_mutex
    bool m_ending = false;  // guarded by m_mutex
};
