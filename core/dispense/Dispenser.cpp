// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/Dispenser.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include <QElapsedTimer>

#include "core/Log.h"
#include "core/dispense/MediumPlanner.h"
#include "core/dispense/TryCalcerFactory.h"
#include "core/dispense/TryCalcerProto.h"
#include "core/model/DM.h"
#include "core/model/SizeText.h"

static_assert(int(Dispenser::Cancel) == int(MediumPlanner::Cancel) &&
                  int(Dispenser::Enough) == int(MediumPlanner::Enough) &&
                  int(Dispenser::Accept) == int(MediumPlanner::Accept),
              "the planner reads the dispenser's requests");

Dispenser::Dispenser() : IDispenser(nullptr) {}

Dispenser::~Dispenser()
{
    cancel();
    wait();
}

// The request is written before the stop flag, so that the search, when it
// clears the flag after serving "enough", cannot lose a request made meanwhile.
void Dispenser::cancel()
{
    m_request = Cancel;
    m_stopTrying = true;
}

void Dispenser::accept()
{
    m_request = Accept;
    m_stopTrying = true;
}

void Dispenser::enough()
{
    m_request = Enough;
    m_stopTrying = true;
}

void Dispenser::leaveOut(std::vector<EntryPos> positions)
{
    std::sort(positions.begin(), positions.end());
    m_skipped = std::move(positions);
}

void Dispenser::run()
{
    try {
        search();
    } catch (const std::bad_alloc&) {
        // Nothing may cross the thread's edge; the lists go with the message.
        m_queue.clear();
        std::vector<LeftOut>().swap(m_leftOut);
        std::vector<Refused>().swap(m_refused);
        std::vector<Level>().swap(m_levels);
        m_failure = QStringLiteral("The search ran out of memory");
        emit do_finish(false);
    }
}

void Dispenser::recordLevel(const TryCalcerProto& calc, int group,
                            const std::vector<unsigned>& selection)
{
    Level level;
    level.group = group;
    level.room = calc.capacity();
    level.unitSize = calc.unitSize();
    level.sharedBlock = calc.sharedBlock();
    level.sharedBefore = calc.sharedBase();
    std::vector<char> chosen;
    for (unsigned i : selection) {
        chosen.resize(std::max<std::size_t>(chosen.size(), i + 1));
        chosen[i] = 1;
    }
    for (const PlaceItem& it : calc.items())
        level.entries.push_back(Considered{EntryPos{group, int(it.index)}, it.blocks,
                                           level.sharedBlock ? it.shared : 0,
                                           it.index < chosen.size() && chosen[it.index]});
    std::sort(level.entries.begin(), level.entries.end(),
              [](const Considered& a, const Considered& b) { return a.pos.index < b.pos.index; });
    m_levels.push_back(std::move(level));
}

void Dispenser::search()
{
    // A request made before the thread ran stops the first walk too.
    m_stopTrying = m_request != Searching;

    DM* model = dataModel();
    std::unique_ptr<TryCalcerProto> calc = createTryCalcer(model->target());
    if (!calc) {
        // Unknown file system or no block size: nothing can be measured.
        emit do_finish(false);
        return;
    }
    const quint64 blockSize = calc->unitSize();
    calc->setWalkStop(&m_stopTrying);

    // What is being measured, told at most ten times a second: a group of
    // 100,000 small entries must not flood the dialog, and a large folder
    // that started just after a report still gets one of its own.
    QElapsedTimer sinceStage;
    const QString* name = nullptr;
    int measuring = -1, shown = -1, count = 0;
    const auto showMeasuring = [&] {
        if (measuring == shown || (sinceStage.isValid() && sinceStage.elapsed() < 100))
            return;
        shown = measuring;
        sinceStage.start();
        emit set_stage(
            QStringLiteral("Measuring %1 (%2 of %3)").arg(*name).arg(measuring + 1).arg(count));
    };
    calc->setMeasureTick(showMeasuring);

    int measured = 0, improvements = 0, lastGroup = Required;
    MediumPlanner::Hooks hooks;
    hooks.measure = [&](const MediumPlanner::Level& level, TryCalcerProto& c) {
        count = model->groupSize(level.group);
        shown = -1;
        sinceStage.invalidate(); // each level's first entry is told at once
        measured = 0;
        for (EntryPos pos = model->groupBegin(level.group); model->isValidPos(pos); ++pos.index) {
            if (std::binary_search(m_skipped.begin(), m_skipped.end(), pos))
                continue;
            const Entry& e = model->entryAt(pos);
            name = &e.Name;
            measuring = pos.index;
            showMeasuring();
            c.addItem(e.Ident, unsigned(pos.index));
            // Any request ends the measuring; an entry whose walk it cut
            // short is left out, and what was measured makes up the level.
            if (m_request != Searching || c.walkStopped())
                break;
            if (c.itemIssue() != NoSizeIssue)
                m_leftOut.push_back(LeftOut{pos, c.itemIssue()});
            else if (c.refusal() != FsCost::Placeable)
                m_refused.push_back(Refused{pos, c.refusal()});
            else
                ++measured;
        }
    };
    hooks.prepared = [&](const MediumPlanner::Level& level, qint64 free) {
        emit set_stage(QStringLiteral("Searching %1").arg(groupTitle(level.group)));
        emit set_bestResult4Now(quint64(free) * blockSize);
    };
    hooks.improved = [&](qint64 free) {
        ++improvements;
        qCDebug(qmLog).nospace().noquote() << "Try " << improvements << " " << free;
        emit set_bestResult4Now(quint64(free) * blockSize);
    };
    hooks.chosen = [&](const MediumPlanner::Level& level, const std::vector<unsigned>& chosen) {
        for (unsigned i : chosen)
            m_queue.push(EntryPos{level.group, int(i)});
        recordLevel(*calc, level.group, chosen);
        if (level.group == Required)
            m_requiredNotFitted = measured - int(chosen.size());
        lastGroup = level.group;
    };

    MediumPlanner planner(m_request, m_stopTrying);
    const std::vector<MediumPlanner::Level> levels = MediumPlanner::groupLevels();
    const MediumPlanner::Outcome outcome = planner.plan(*calc, levels, hooks);
    m_limitReached = planner.limitsDropped();
    if (outcome == MediumPlanner::Cancelled) {
        emit do_finish(false);
        return;
    }
    if (outcome == MediumPlanner::Accepted) {
        for (const MediumPlanner::Level& later : levels)
            if (later.group > lastGroup && model->groupSize(later.group) > 0 &&
                m_unsearchedGroup < 0)
                m_unsearchedGroup = later.group;
    }
    m_wasted = quint64(planner.best()) * blockSize;
    emit do_finish(true);
}
