// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/Engine.h"

#include <vector>

#include "control/IViewActions.h"
#include "control/IViewDialogs.h"
#include "control/IViewItems.h"
#include "control/IViewStatus.h"
#include "control/ShellServices.h"
#include "core/dispense/Arrival.h"
#include "core/dispense/Dispenser.h"
#include "core/dispense/SeriesPlanner.h"
#include "core/dispense/TargetDiscovery.h"
#include "core/model/DM.h"

void Engine::showDispenseActions()
{
    DM* model = dataModel();
    m_actions->setDispensed(model->isDispensed());
    // There is nothing to fill without a target.
    if (!model->hasTarget())
        m_actions->disableDispense();
}

void Engine::diskSelect()
{
    DM* model = dataModel();
    const bool hadTarget = model->hasTarget();
    if (!m_dialogs->pickTarget())
        return;
    const Target& t = model->target();
    m_status->showTarget(t, t.BlockSize * t.AvailableBlocks);
    // A held result keeps Dispense off until it is put back.
    if (!hadTarget && !model->isDispensed())
        m_actions->enableDispense();
    // The new target is a change of the project.
    if (model->isModified())
        m_actions->enableSave(true);
}

bool Engine::refreshTarget()
{
    DM* model = dataModel();
    Target fresh = model->target();
    QString problem;
    try {
        // A target known by its figures alone has nothing to probe.
        if (!probeTarget(false, fresh))
            return true;
    } catch (const TargetError& e) {
        problem = e.message;
    }
    if (!problem.isEmpty()) {
        m_status->showMessage(IViewStatus::Error,
                              QStringLiteral("Cannot dispense to %1: %2").arg(fresh.Path, problem));
        return false;
    }
    if (fresh != model->target()) {
        model->setTarget(fresh);
        m_status->showTarget(fresh, fresh.capacity());
        m_actions->enableSave(true);
    }
    return true;
}

QString Engine::markLeftOut(const Dispenser& d, bool measuredAll)
{
    DM* model = dataModel();
    // A search that measured everything has the latest word on every entry.
    for (int g = Required; measuredAll && g <= Background; ++g)
        for (EntryPos p = model->groupBegin(g); model->isValidPos(p); ++p.index)
            model->entryAt(p).Issue = NoSizeIssue;
    int counts[OutOfMemory + 1] = {};
    int total = 0;
    for (const Dispenser::LeftOut& l : d.leftOut()) {
        if (!model->isValidPos(l.pos) || l.issue <= NoSizeIssue || l.issue > OutOfMemory)
            continue;
        model->entryAt(l.pos).Issue = l.issue;
        m_items->updateItemSize(l.pos);
        ++counts[l.issue];
        ++total;
    }
    if (total == 0)
        return QString();
    QStringList why;
    if (counts[Unreadable])
        why << tr("%n could not be read in full", nullptr, counts[Unreadable]);
    if (counts[Vanished])
        why << tr("%n no longer exist", nullptr, counts[Vanished]);
    if (counts[OutOfMemory])
        why << tr("%n ran out of memory", nullptr, counts[OutOfMemory]);
    return tr("Left out of the plan: %n entries (%1)", nullptr, total)
        .arg(why.join(QStringLiteral(", ")));
}

void Engine::dispense()
{
    DM* model = dataModel();
    if (!model->hasTarget())
        return;
    // The free space may have changed since the target was picked.
    if (!refreshTarget())
        return;
    m_status->clearMessage(); // about the result this search replaces
    Dispenser d;
    const bool ok = m_dialogs->runDispense(&d);
    // The dialog closes on the search's last signal; its thread may still be ending.
    d.wait();
    // Marked before the result moves entries: the positions are the search's.
    const QString leftOut = markLeftOut(d, ok);
    if (!ok) {
        if (!d.failure().isEmpty())
            m_status->showMessage(IViewStatus::Error, d.failure());
        else if (!leftOut.isEmpty())
            m_status->showMessage(IViewStatus::Warning, leftOut);
        return;
    }
    const quint64 capacity = model->target().capacity();
    applyResult(d.resultQueue(), d.wasted());
    m_status->showOutcome(capacity - qMin(capacity, d.wasted()), d.wasted(),
                          m_dialogs->lastSearchEnd());
    QStringList notes;
    if (!leftOut.isEmpty())
        notes << leftOut;
    if (d.requiredNotFitted() > 0)
        notes << tr("%n Required entries did not fit", nullptr, d.requiredNotFitted());
    if (!notes.isEmpty())
        m_status->showMessage(IViewStatus::Warning, notes.join(QStringLiteral("; ")));
}

void Engine::planSeries()
{
    DM* model = dataModel();
    std::vector<SeriesEntry> entries;
    entries.reserve(std::size_t(model->totalCount()));
    for (int g = Required; g <= Background; ++g)
        for (EntryPos p = model->groupBegin(g); model->isValidPos(p); ++p.index)
            entries.push_back(SeriesEntry{p, model->entryAt(p).Ident});
    if (entries.empty())
        return;
    // A held result must be put back first, as for Dispense.
    const bool canDispense = !model->isDispensed();
    SeriesMedium medium;
    if (!m_dialogs->runSeries(model->hasTarget() ? model->target() : Target(), entries,
                              canDispense, medium) ||
        !canDispense || medium.entries.empty())
        return;
    // The dialog was modal: the positions are still those it was given.
    DispenseQueue queue;
    for (const EntryPos& p : medium.entries) {
        if (p.group < Required || p.group > Background || !model->isValidPos(p))
            return;
        queue.push(p);
    }
    applyResult(queue, medium.wastedBytes);
    m_status->showOutcome(medium.usedBytes, medium.wastedBytes,
                          medium.proven ? IViewStatus::SearchFinished
                                        : IViewStatus::SearchTimeLimit);
}

void Engine::applyResult(DispenseQueue& queue, quint64 wasted)
{
    DM* model = dataModel();
    Busy busy(m_status, std::size_t(model->entryCount()),
              tr("Dispensing %n entries...", nullptr, int(queue.size())));
    model->applyDispense(queue, wasted);
    m_items->rebuildItems();
    refreshViews();
    followSelection();
    m_actions->setDispensed(true);
    m_actions->enableSave(true);
}

void Engine::undispense()
{
    Busy busy(m_status, std::size_t(dataModel()->entryCount()),
              tr("Putting back %n entries...", nullptr, dataModel()->groupSize(Dispensed)));
    dataModel()->undispense();
    m_items->rebuildItems();
    refreshViews();
    followSelection();
    showDispenseActions();
    m_actions->enableSave(true);
}

void Engine::clipboardPost()
{
    DM* model = dataModel();
    QStringList files;
    for (EntryPos p = model->groupBegin(Dispensed); model->isValidPos(p); ++p.index)
        files.append(model->entryAt(p).Ident);
    postFilesToClipboard(files);
    m_status->showMessage(IViewStatus::Positive,
                          QStringLiteral("Dispensed file(s) has been posted to the clipboard"));
}

QStringList Engine::arrivalPlaces() const
{
    // The target's root is where the posted list is meant to be pasted.
    QStringList places;
    if (dataModel()->hasTarget())
        places << dataModel()->target().Path;
    if (!m_arrivalFolder.isEmpty())
        places << m_arrivalFolder;
    return places;
}

void Engine::originalsDelete()
{
    DM* model = dataModel();
    const int count = model->groupSize(Dispensed);
    // Only what arrived on the target goes, unless the user says otherwise.
    std::vector<bool> chosen(count, false);
    std::vector<bool> arrived(count, false);
    while (count > 0) {
        IViewDialogs::DeleteQuestion q;
        q.places = arrivalPlaces();
        for (int i = 0; i < count; ++i) {
            const Entry& e = model->entryAt(EntryPos{Dispensed, i});
            ++(e.Kind == File ? q.files : q.folders);
            q.paths << e.Ident;
            arrived[i] = checkArrival(e, q.places).state == Arrival::Arrived;
            if (arrived[i])
                ++q.found;
            else
                q.notFound << e.Name;
        }
        QString folder;
        const IViewDialogs::DeleteChoice choice = m_dialogs->askOriginalsDelete(q, folder);
        if (choice == IViewDialogs::LookInFolder) {
            if (!folder.isEmpty())
                m_arrivalFolder = folder;
            continue;
        }
        if (choice == IViewDialogs::DeleteNothing)
            return;
        chosen = choice == IViewDialogs::DeleteAll ? std::vector<bool>(count, true) : arrived;
        break;
    }

    // A trash on another device copies: slow whatever the count.
    Busy busy(m_status, std::size_t(-1), tr("Moving %n items to the trash...", nullptr, count));
    std::vector<EntryPos> moved;
    QStringList notFound, notMoved;
    for (int i = 0; i < count; ++i) {
        const Entry& e = model->entryAt(EntryPos{Dispensed, i});
        if (!chosen[i])
            notFound << e.Name;
        else if (deleteToRecycleBin(e.Ident))
            moved.push_back(EntryPos{Dispensed, i});
        else
            notMoved << e.Name;
    }
    const int kept = count - int(moved.size());
    // The model drops each entry's origin along with it.
    model->removeEntries(moved);

    if (kept == 0) {
        model->forgetDispensed();
    } else {
        // What was not moved is still dispensed: the wasted figure is what
        // the capacity leaves beside it.
        quint64 used = 0;
        for (EntryPos p = model->groupBegin(Dispensed); model->isValidPos(p); ++p.index)
            used = saturatingAdd(used, model->entryAt(p).Size);
        const quint64 capacity = model->hasTarget() ? model->target().capacity() : 0;
        DispenseQueue none;
        model->applyDispense(none, used < capacity ? capacity - used : 0);
    }
    m_items->rebuildItems();
    refreshViews();
    followSelection();
    showDispenseActions();
    if (model->isModified())
        m_actions->enableSave(true);
    QStringList notes;
    if (!notFound.isEmpty())
        notes << QStringLiteral("Not found on the target, still dispensed: %1")
                     .arg(notFound.join(QStringLiteral(", ")));
    if (!notMoved.isEmpty())
        notes << QStringLiteral("Could not be moved to the trash: %1")
                     .arg(notMoved.join(QStringLiteral(", ")));
    if (!notes.isEmpty())
        m_status->showMessage(IViewStatus::Warning, notes.join(QStringLiteral("; ")));
}

void Engine::entryReveal(const EntryPos& pos)
{
    DM* model = dataModel();
    if (!model->isValidPos(pos))
        return;
    const Entry& e = model->entryAt(pos);
    revealInFileManager(e.Path, e.Ident);
}
