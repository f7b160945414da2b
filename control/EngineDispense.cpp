// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/Engine.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "control/IViewActions.h"
#include "control/IViewDialogs.h"
#include "control/IViewItems.h"
#include "control/IViewStatus.h"
#include "control/ShellServices.h"
#include "core/copy/TargetArrival.h"
#include "core/dispense/Dispenser.h"
#include "core/dispense/SeriesPlanner.h"
#include "core/dispense/TargetDiscovery.h"
#include "core/model/DM.h"
#include "core/model/SizeText.h"

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
    QString problem;
    const auto probe = [this](bool whole, Target& t) { return probeTarget(whole, t); };
    switch (m_road.refreshTarget(probe, problem)) {
    case DispenseRoad::TargetFailed:
        m_status->showState(
            QStringLiteral("Cannot dispense to %1: %2").arg(model->target().Path, problem));
        return false;
    case DispenseRoad::TargetRefreshed:
        m_status->showTarget(model->target(), model->target().capacity());
        m_actions->enableSave(true);
        break;
    case DispenseRoad::TargetKept:
        break;
    }
    return true;
}

QString Engine::leftOutText(const DispenseRoad::Omissions& omissions)
{
    int counts[OutOfMemory + 1] = {};
    int total = 0;
    for (const DispenseRoad::LeftOut& l : omissions.unmeasured) {
        if (l.issue <= NoSizeIssue || l.issue > OutOfMemory)
            continue;
        m_items->updateItemSize(l.pos);
        ++counts[l.issue];
        ++total;
    }
    if (total == 0)
        return QString();
    const auto counted = [](int n, const char* one, const char* many) -> QString {
        return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
    };
    QStringList why;
    if (counts[Unreadable])
        why << counted(counts[Unreadable], "could not be read in full",
                       "could not be read in full");
    if (counts[Vanished])
        why << counted(counts[Vanished], "no longer exists", "no longer exist");
    if (counts[OutOfMemory])
        why << counted(counts[OutOfMemory], "ran out of memory", "ran out of memory");
    return QStringLiteral("Left out of the plan: %1 (%2)")
        .arg(counted(total, "entry", "entries"), why.join(QStringLiteral(", ")));
}

void Engine::dispense()
{
    DM* model = dataModel();
    if (!model->hasTarget())
        return;
    // The free space may have changed since the target was picked.
    if (!refreshTarget())
        return;
    Dispenser d;
    const bool ok = m_dialogs->runDispense(&d);
    // The dialog closes on the search's last signal; its thread may still be ending.
    d.wait();
    // Named before the result moves entries: the positions are the search's.
    const DispenseRoad::Omissions omissions = m_road.takeOmissions(d, ok);
    const QString leftOut = leftOutText(omissions);
    if (!ok) {
        if (!d.failure().isEmpty())
            m_status->showState(d.failure());
        else if (!leftOut.isEmpty())
            m_status->showState(leftOut);
        return;
    }
    applyResult(int(d.resultQueue().size()), [&] { m_road.apply(d); });
    QStringList notes;
    if (!leftOut.isEmpty())
        notes << leftOut;
    if (omissions.requiredNotFitted > 0)
        notes << QStringLiteral("%1 Required entries did not fit").arg(omissions.requiredNotFitted);
    if (omissions.unsearchedGroup >= 0)
        notes << tr("%1 was not searched: the search was accepted before it")
                     .arg(groupTitle(omissions.unsearchedGroup));
    if (!notes.isEmpty())
        m_status->showState(notes.join(QStringLiteral("; ")));
}

void Engine::planSeries()
{
    DM* model = dataModel();
    std::vector<SeriesEntry> entries = m_road.seriesEntries();
    if (entries.empty())
        return;
    // The picked target with its room of now, as for Dispense; one that can
    // no longer be used is not offered.
    const Target picked = model->hasTarget() && refreshTarget() ? model->target() : Target();
    // A held result must be put back first, as for Dispense.
    const bool canDispense = !model->isDispensed();
    SeriesMedium chosen;
    Target medium;
    if (!m_dialogs->runSeries(picked, entries, canDispense, chosen, medium) || !canDispense)
        return;
    // The dialog was modal: the positions are still those it was given.
    applyResult(int(chosen.entries.size()), [&] { m_road.applyMedium(medium, chosen); });
}

void Engine::applyResult(int count, const std::function<void()>& take)
{
    DM* model = dataModel();
    {
        Busy busy(m_status, std::size_t(model->entryCount()),
                  QStringLiteral("Dispensing %1 entries...").arg(count));
        take();
    }
    if (!model->isDispensed())
        return;
    m_items->rebuildItems();
    refreshViews();
    followSelection();
    m_actions->setDispensed(true);
    m_actions->enableSave(true);
}

void Engine::undispense()
{
    Busy busy(m_status, std::size_t(dataModel()->entryCount()),
              QStringLiteral("Putting back %1 entries...").arg(dataModel()->groupSize(Dispensed)));
    m_road.undispense();
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
    m_status->showState(QStringLiteral("Dispensed file(s) has been posted to the clipboard"));
}

namespace {

// The question from what the check found, one row for each dispensed entry.
IViewDialogs::DeleteQuestion deleteQuestion(const TargetArrival& check)
{
    DM* model = dataModel();
    IViewDialogs::DeleteQuestion q;
    q.places = check.places();
    q.problem = check.problem();
    q.note = check.note();
    for (EntryPos p = model->groupBegin(Dispensed); model->isValidPos(p); ++p.index) {
        const Entry& e = model->entryAt(p);
        const ArrivalCheck& r = check.results().at(std::size_t(p.index));
        q.rows.push_back({e.Name, e.Ident, r.state, r.reason()});
    }
    return q;
}

} // namespace

void Engine::originalsDelete()
{
    DM* model = dataModel();
    const int count = model->groupSize(Dispensed);
    if (count == 0)
        return;
    std::vector<TargetArrival::Original> originals;
    for (EntryPos p = model->groupBegin(Dispensed); model->isValidPos(p); ++p.index)
        originals.push_back({model->entryAt(p).Ident, model->entryAt(p).Size});
    // Only what was read back equal goes, and nothing while the target is not
    // there; the check is kept for the second look just before the trash.
    std::unique_ptr<TargetArrival> check;
    for (;;) {
        check = std::make_unique<TargetArrival>(originals);
        const Target target = model->hasTarget() ? model->target() : Target();
        QStringList folders{QString()};
        if (!m_arrivalFolder.isEmpty())
            folders << m_arrivalFolder;
        if (check->lookOnTarget(target, folders) && !m_dialogs->runArrivalCheck(*check))
            return;
        QString folder;
        const IViewDialogs::DeleteChoice choice =
            m_dialogs->askOriginalsDelete(deleteQuestion(*check), folder);
        if (choice == IViewDialogs::LookInFolder) {
            if (!folder.isEmpty())
                m_arrivalFolder = folder;
            continue;
        }
        if (choice != IViewDialogs::DeleteArrived)
            return;
        break;
    }

    // A trash on another device copies: slow whatever the count.
    const auto arrived =
        std::count_if(check->results().begin(), check->results().end(),
                      [](const ArrivalCheck& r) { return r.state == Arrival::Arrived; });
    Busy busy(m_status, std::size_t(-1),
              QStringLiteral("Moving %1 item(s) to the trash...").arg(arrived));
    std::vector<EntryPos> moved;
    QStringList notArrived, changed, notMoved;
    for (int i = 0; i < count; ++i) {
        const Entry& e = model->entryAt(EntryPos{Dispensed, i});
        QString why;
        if (check->results().at(std::size_t(i)).state != Arrival::Arrived)
            notArrived << e.Name;
        else if (!check->stillArrived(i, why))
            changed << e.Name;
        else if (deleteToRecycleBin(e.Ident))
            moved.push_back(EntryPos{Dispensed, i});
        else
            notMoved << e.Name;
    }
    // The model drops each entry's origin along with it; what was not moved
    // is still dispensed, and the plan's waste is what it leaves.
    model->removeEntries(moved);
    m_road.followDispensed();
    m_items->rebuildItems();
    refreshViews();
    followSelection();
    showDispenseActions();
    if (model->isModified())
        m_actions->enableSave(true);
    QStringList notes;
    if (!notArrived.isEmpty())
        notes << tr("Did not arrive on the target, still dispensed: %1")
                     .arg(notArrived.join(QStringLiteral(", ")));
    if (!changed.isEmpty())
        notes << tr("Changed since the check, still dispensed: %1")
                     .arg(changed.join(QStringLiteral(", ")));
    if (!notMoved.isEmpty())
        notes << tr("Could not be moved to the trash: %1").arg(notMoved.join(QStringLiteral(", ")));
    if (!notes.isEmpty())
        m_status->showState(notes.join(QStringLiteral("; ")));
}

void Engine::entryReveal(const EntryPos& pos)
{
    DM* model = dataModel();
    if (!model->isValidPos(pos))
        return;
    const Entry& e = model->entryAt(pos);
    revealInFileManager(e.Path, e.Ident);
}
