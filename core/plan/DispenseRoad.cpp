// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/plan/DispenseRoad.h"

#include <algorithm>

#include <time.h>

#include <QDateTime>
#include <QFileInfo>

#include "core/dispense/Dispenser.h"
#include "core/dispense/TargetDiscovery.h"
#include "core/dispense/TryCalcerProto.h"
#include "core/model/DM.h"
#include "core/model/NameKey.h"

DispenseRoad::DispenseRoad(DM* model) : m_model(model) {}

DispenseRoad::TargetCheck DispenseRoad::probeAgain(const Prober& probe, const Target& target,
                                                   Target& fresh, QString& problem)
{
    fresh = target;
    try {
        // A target known by its figures alone has nothing to probe.
        if (!probe(false, fresh))
            fresh = target;
    } catch (const TargetError& e) {
        problem = e.message;
        return TargetFailed;
    }
    // Figures the project file would refuse: never planned with, nor kept.
    problem = fresh.figuresRefusal();
    if (!problem.isEmpty())
        return TargetFailed;
    return fresh == target ? TargetKept : TargetRefreshed;
}

DispenseRoad::TargetCheck DispenseRoad::refreshTarget(const Prober& probe, QString& problem)
{
    Target fresh;
    const TargetCheck check = probeAgain(probe, m_model->target(), fresh, problem);
    if (check == TargetRefreshed)
        m_model->setTarget(fresh);
    return check;
}

std::vector<DispenseRoad::NameClash> DispenseRoad::nameClashes() const
{
    std::vector<EntryPos> positions;
    QStringList names;
    for (int g = Required; g <= Background; ++g) {
        for (EntryPos p = m_model->groupBegin(g); m_model->isValidPos(p); ++p.index) {
            positions.push_back(p);
            names << m_model->entryAt(p).Name;
        }
    }
    const std::vector<int> holders =
        sameNameHolders(names, nameRuleOf(m_model->target().FileSystem));
    std::vector<NameClash> clashes;
    for (std::size_t i = 0; i < holders.size(); ++i) {
        if (holders[i] >= 0)
            clashes.push_back(NameClash{positions[i], m_model->entryAt(positions[i]).Ident,
                                        m_model->entryAt(positions[holders[i]]).Ident});
    }
    return clashes;
}

std::vector<DispenseRoad::NameClash> DispenseRoad::prepare(Dispenser& d) const
{
    std::vector<NameClash> clashes = nameClashes();
    std::vector<EntryPos> positions;
    for (const NameClash& c : clashes)
        positions.push_back(c.pos);
    d.leaveOut(std::move(positions));
    return clashes;
}

std::vector<int> DispenseRoad::dispensedSameNames() const
{
    QStringList names;
    for (EntryPos p = m_model->groupBegin(Dispensed); m_model->isValidPos(p); ++p.index)
        names << m_model->entryAt(p).Name;
    std::vector<int> same = sameNameHolders(names, nameRuleOf(m_model->target().FileSystem));
    // The first of each name learns of the others too.
    for (std::size_t i = 0; i < same.size(); ++i)
        if (same[i] >= 0 && same[std::size_t(same[i])] < 0)
            same[std::size_t(same[i])] = int(i);
    return same;
}

std::vector<SeriesEntry> DispenseRoad::seriesEntries(const QSet<QString>& skip) const
{
    std::vector<EntryPos> clashing; // in list order, so sorted
    for (const NameClash& c : nameClashes())
        clashing.push_back(c.pos);
    std::vector<SeriesEntry> entries;
    entries.reserve(std::size_t(m_model->totalCount()));
    for (int g = Required; g <= Background; ++g)
        for (EntryPos p = m_model->groupBegin(g); m_model->isValidPos(p); ++p.index)
            if (!skip.contains(m_model->entryAt(p).Ident) &&
                !std::binary_search(clashing.begin(), clashing.end(), p))
                entries.push_back(SeriesEntry{p, m_model->entryAt(p).Ident});
    return entries;
}

DispenseRoad::Omissions DispenseRoad::takeOmissions(const Dispenser& d, bool measuredAll)
{
    // A search that measured everything has the latest word on every entry.
    for (int g = Required; measuredAll && g <= Background; ++g)
        for (EntryPos p = m_model->groupBegin(g); m_model->isValidPos(p); ++p.index)
            m_model->entryAt(p).Issue = NoSizeIssue;
    Omissions o;
    for (const Dispenser::LeftOut& l : d.leftOut()) {
        if (!m_model->isValidPos(l.pos))
            continue;
        Entry& e = m_model->entryAt(l.pos);
        if (l.issue > NoSizeIssue && l.issue <= OutOfMemory)
            e.Issue = l.issue;
        o.unmeasured.push_back(LeftOut{l.pos, e.Ident, l.issue});
    }
    for (const Dispenser::Refused& r : d.refused())
        if (m_model->isValidPos(r.pos))
            o.refused.push_back(
                LeftOut{r.pos, m_model->entryAt(r.pos).Ident, SeriesPlanner::apartOf(r.why)});
    o.limitReached = d.limitReached();
    o.requiredNotFitted = d.requiredNotFitted();
    o.unsearchedGroup = d.unsearchedGroup();
    return o;
}

Regroup DispenseRoad::apply(Dispenser& d)
{
    // The costs the search counted, read while its positions still hold.
    HeldPlan plan(m_model->target());
    for (const Dispenser::Level& level : d.levels())
        for (const Dispenser::Considered& c : level.entries)
            if (c.chosen && m_model->isValidPos(c.pos))
                plan.add(m_model->entryAt(c.pos).Ident, PlaceItem{0, c.blocks, c.shared});
    return hold(d.resultQueue(), std::move(plan));
}

bool DispenseRoad::applyMedium(const Target& medium, const SeriesMedium& chosen,
                               std::optional<Regroup>* change)
{
    if (!medium.hasUsableFigures() || chosen.entries.empty())
        return false;
    DispenseQueue queue;
    QStringList idents;
    for (const EntryPos& p : chosen.entries) {
        if (p.group < Required || p.group > Background || !m_model->isValidPos(p))
            return false;
        queue.push(p);
        idents << m_model->entryAt(p).Ident;
    }
    // The series keeps no costs of its own: measured again, as the search measures.
    HeldPlan plan = HeldPlan::measured(medium, idents);
    // The plan is for that medium: a disc or a described one replaces the target.
    if (!m_model->hasTarget() || m_model->target() != medium)
        m_model->setTarget(medium);
    Regroup made = hold(queue, std::move(plan));
    if (change)
        change->emplace(std::move(made));
    return true;
}

Regroup DispenseRoad::hold(DispenseQueue& queue, HeldPlan plan)
{
    m_plan = std::move(plan);
    // The kernel's coarse clock, which file times come from: the finer one runs
    // up to a tick ahead, and a file changed just after would seem older.
    struct timespec now = {};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    m_plan.setPlannedAt(qint64(now.tv_sec) * 1000000000 + now.tv_nsec);
    return m_model->applyDispense(queue, m_plan.wastedBytes());
}

QStringList DispenseRoad::dispensedIdents() const
{
    QStringList idents;
    for (EntryPos p = m_model->groupBegin(Dispensed); m_model->isValidPos(p); ++p.index)
        idents << m_model->entryAt(p).Ident;
    return idents;
}

void DispenseRoad::holdLoaded()
{
    if (!m_model->isDispensed() || !m_model->hasTarget()) {
        drop();
        return;
    }
    m_plan = HeldPlan::measured(m_model->target(), dispensedIdents());
    // Planned no later than the project was saved.
    const QDateTime saved = QFileInfo(m_model->savePath()).lastModified();
    if (saved.isValid())
        m_plan.setPlannedAt(saved.toMSecsSinceEpoch() * 1000000 + 999999); // its whole ms
    m_model->setWastedSize(m_plan.wastedBytes());
}

void DispenseRoad::followDispensed()
{
    const QStringList idents = dispensedIdents();
    if (idents.isEmpty()) {
        m_model->forgetDispensed();
        drop();
        return;
    }
    if (m_plan.isHeld())
        m_plan.keepOnly(QSet<QString>(idents.begin(), idents.end()));
    else if (m_model->hasTarget())
        m_plan = HeldPlan::measured(m_model->target(), idents);
    m_model->setWastedSize(m_plan.wastedBytes());
}

Regroup DispenseRoad::undispense()
{
    Regroup change = m_model->undispense();
    drop();
    return change;
}
