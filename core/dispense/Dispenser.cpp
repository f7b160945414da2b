// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/dispense/Dispenser.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include <QElapsedTimer>

#include "core/Log.h"
#include "core/dispense/TryCalcerFactory.h"
#include "core/dispense/TryCalcerProto.h"
#include "core/model/DM.h"
#include "core/model/SizeText.h"

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

bool Dispenser::searchLevel(TryCalcerProto& calc, const std::atomic_bool& stop, bool literal,
                            const std::function<bool(qint64)>& improved)
{
    if (!literal)
        return calc.findBetter(stop, improved);
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
    int improvements = 0;
    std::vector<unsigned> bestSelection;

    DM* model = dataModel();
    const Target target = model->target();
    std::unique_ptr<TryCalcerProto> calc = createTryCalcer(target);
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

    static const int levelGroups[] = {Required, Main, Background};
    qint64 best = calc->capacity();
    for (int group : levelGroups) {
        count = model->groupSize(group);
        shown = -1;
        sinceStage.invalidate(); // each level's first entry is told at once
        int measured = 0;
        for (EntryPos pos = model->groupBegin(group); model->isValidPos(pos); ++pos.index) {
            if (std::binary_search(m_skipped.begin(), m_skipped.end(), pos))
                continue;
            const Entry& e = model->entryAt(pos);
            name = &e.Name;
            measuring = pos.index;
            showMeasuring();
            calc->addItem(e.Ident, unsigned(pos.index));
            // Any request ends the measuring; an entry whose walk it cut
            // short is left out, and what was measured makes up the level.
            if (m_request != Searching || calc->walkStopped())
                break;
            if (calc->itemIssue() != NoSizeIssue)
                m_leftOut.push_back(LeftOut{pos, calc->itemIssue()});
            else if (calc->refusal() != TryCalcerProto::Placeable)
                m_refused.push_back(Refused{pos, calc->refusal()});
            else
                ++measured;
        }
        if (m_request == Cancel) {
            emit do_finish(false);
            return;
        }
        calc->prepare();
        emit set_stage(QStringLiteral("Searching %1").arg(groupTitle(group)));
        best = calc->freeBlocks();
        calc->getSelection(bestSelection);
        emit set_bestResult4Now(quint64(best) * blockSize);

        if (m_request == Searching) {
            searchLevel(*calc, m_stopTrying, false, [&](qint64 cur) {
                if (m_request != Searching)
                    return false;
                best = cur;
                calc->getSelection(bestSelection);
                ++improvements;
                qCDebug(qmLog).nospace().noquote() << "Try " << improvements << " " << cur;
                emit set_bestResult4Now(quint64(cur) * blockSize);
                return true;
            });
        }
        if (m_request == Cancel) {
            emit do_finish(false);
            return;
        }
        calc->useSelection(bestSelection);
        if (calc->keepSharedLimit()) {
            m_folderLimitReached = true;
            best = calc->freeBlocks();
            calc->getSelection(bestSelection);
        }
        for (unsigned i : bestSelection)
            m_queue.push(EntryPos{group, int(i)});
        recordLevel(*calc, group, bestSelection);
        if (group == Required)
            m_requiredNotFitted = measured - int(bestSelection.size());

        int request = m_request;
        if (request == Enough) {
            m_stopTrying = false;
            if (m_request.compare_exchange_strong(request, Searching))
                request = Searching;
            else
                m_stopTrying = true;
        }
        if (request == Accept) {
            for (int later : levelGroups)
                if (later > group && model->groupSize(later) > 0 && m_unsearchedGroup < 0)
                    m_unsearchedGroup = later;
            break;
        }
        // The next level pays for what it adds to the metadata of this one
        // (the calculator holds the level's selection since useSelection).
        calc->beginLevel(best);
    }
    if (m_request == Cancel) {
        emit do_finish(false);
        return;
    }
    m_wasted = quint64(best) * blockSize;
    emit do_finish(true);
}
