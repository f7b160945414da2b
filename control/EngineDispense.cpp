// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/Engine.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <QCoreApplication>

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
#include "core/model/EntryPaths.h"
#include "core/model/SizeText.h"

void Engine::showDispenseActions()
{
    DM* model = dataModel();
    m_actions->setDispensed(model->isDispensed());
    showDiscActions();
    showCopyAction();
    // Nothing to fill without a target, and nothing to fill it with without entries.
    if (!model->hasTarget() || model->totalCount() == 0)
        m_actions->disableDispense();
}

void Engine::diskSelect()
{
    DM* model = dataModel();
    const bool hadTarget = model->hasTarget();
    const Target before = model->target();
    const bool wasModified = model->isModified();
    if (!m_dialogs->pickTarget())
        return;
    const Target& t = model->target();
    // The picker has just probed it.
    m_targetChecked = QDateTime::currentDateTime();
    m_targetProblem.clear();
    m_status->showTarget(t, t.capacity());
    m_status->showTargetChecked(m_targetChecked, m_targetProblem);
    showDispenseActions();
    // A described medium has no path: each one picked is another.
    if (hadTarget && !t.Path.isEmpty() && before.Path == t.Path &&
        before.FileSystem == t.FileSystem) {
        // The same volume again: its figures of now, no change of the project.
        model->setModified(wasModified);
        return;
    }
    // Another target is a change of the project, which Undo does not take back.
    m_actions->enableSave(true);
    m_actions->markChanged();
}

bool Engine::reprobeTarget()
{
    DM* model = dataModel();
    QString problem;
    const auto probe = [this](bool whole, Target& t) { return probeTarget(whole, t); };
    const bool wasModified = model->isModified();
    switch (m_road.refreshTarget(probe, problem)) {
    case DispenseRoad::TargetFailed:
        m_targetProblem = problem;
        m_status->showTargetChecked(m_targetChecked, m_targetProblem);
        m_status->showMessage(IViewStatus::Error,
                              QCoreApplication::translate("Engine", "Cannot dispense to %1: %2")
                                  .arg(model->target().Path, problem));
        return false;
    case DispenseRoad::TargetRefreshed:
        // The volume's figures of now: no change of the project.
        model->setModified(wasModified);
        m_status->showTarget(model->target(), model->target().capacity());
        break;
    case DispenseRoad::TargetKept:
        break;
    }
    m_targetChecked = QDateTime::currentDateTime();
    m_targetProblem.clear();
    m_status->showTargetChecked(m_targetChecked, m_targetProblem);
    return true;
}

void Engine::checkTarget(bool evenIfRecent)
{
    DM* model = dataModel();
    if (!m_status || !model->hasTarget() || m_watch.isChecking())
        return;
    // Not a described medium, which has nothing to probe, nor a disc: probing
    // one grabs the recorder, which may be busy burning; Dispense probes it.
    if (model->target().Path.isEmpty() || model->target().FileSystem == UDF)
        return;
    if (!evenIfRecent) {
        // A minute: long enough not to probe at every click, short enough
        // that a copy made meanwhile in the file manager shows.
        if (m_targetChecked.isValid() && m_targetChecked.secsTo(QDateTime::currentDateTime()) < 60)
            return;
    }
    m_watch.check(model->target());
}

void Engine::viewActivated()
{
    checkTarget(false);
}

void Engine::on_targetChecked(const Target& asked, int check, const Target& fresh,
                              const QString& problem)
{
    DM* model = dataModel();
    // Another target since: the report is of no use.
    if (!m_status || !model->hasTarget() || model->target().Path != asked.Path)
        return;
    if (check == DispenseRoad::TargetFailed) {
        m_targetProblem = problem;
    } else {
        m_targetChecked = QDateTime::currentDateTime();
        m_targetProblem.clear();
        // Unless a dispense probed it meanwhile: the figures of now, which are
        // no change of the project. A plan held keeps the room it was made for.
        if (check == DispenseRoad::TargetRefreshed && model->target() == asked) {
            const bool wasModified = model->isModified();
            model->setTarget(fresh);
            model->setModified(wasModified);
            m_status->showTarget(fresh, fresh.capacity());
        }
    }
    m_status->showTargetChecked(m_targetChecked, m_targetProblem);
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

QString Engine::nameClashText(const std::vector<DispenseRoad::NameClash>& clashes) const
{
    if (clashes.empty())
        return QString();
    QStringList paths;
    for (const DispenseRoad::NameClash& c : clashes)
        paths << escapedText(c.ident);
    return tr("%n entries left out: an entry before each has the same name on the target, so "
              "only one could be copied; rename one to dispense both: %1",
              nullptr, int(clashes.size()))
        .arg(paths.join(QStringLiteral(", ")));
}

QString Engine::refusedText(const DispenseRoad::Omissions& omissions) const
{
    QStringList notes;
    if (!omissions.refused.empty()) {
        QStringList items;
        for (const DispenseRoad::LeftOut& l : omissions.refused)
            items << escapedText(l.ident) + QStringLiteral(" ") + SeriesPlanner::apartText(l.issue);
        notes << tr("%n entries left out that the target cannot hold: %1", nullptr,
                    int(omissions.refused.size()))
                     .arg(items.join(QStringLiteral("; ")));
    }
    if (omissions.limitReached && dataModel()->target().FileSystem == EXT4)
        notes << tr("the volume's free inodes ran out before its free space (ext4 stores each "
                    "file, folder and link in one of a fixed number), so the smallest chosen "
                    "entries were left out");
    else if (omissions.limitReached && dataModel()->target().FileSystem == EXFAT)
        notes << tr("the target folder on exFAT holds at most 256 MiB of names, so the smallest "
                    "chosen entries were left out");
    else if (omissions.limitReached)
        notes << tr("the target folder on FAT32 holds at most 65,536 directory entries (a long "
                    "name takes several), so the smallest chosen entries were left out");
    return notes.join(QStringLiteral("; "));
}

void Engine::dispense()
{
    DM* model = dataModel();
    if (!model->hasTarget())
        return;
    // The free space may have changed since the target was picked.
    if (!reprobeTarget())
        return;
    m_status->clearMessage(); // about the result this search replaces
    Dispenser d;
    const QString clashes = nameClashText(m_road.prepare(d));
    const bool ok = m_dialogs->runDispense(&d);
    // The dialog closes on the search's last signal; its thread may still be ending.
    d.wait();
    // Named before the result moves entries: the positions are the search's.
    const DispenseRoad::Omissions omissions = m_road.takeOmissions(d, ok);
    const QString leftOut = leftOutText(omissions);
    if (!ok) {
        if (!d.failure().isEmpty())
            m_status->showMessage(IViewStatus::Error, d.failure());
        else if (!leftOut.isEmpty())
            m_status->showMessage(IViewStatus::Warning, leftOut);
        return;
    }
    QStringList notes;
    for (const QString& note : {leftOut, clashes, refusedText(omissions)})
        if (!note.isEmpty())
            notes << note;
    const QString unsearched = omissions.unsearchedGroup < 0
                                   ? QString()
                                   : tr("%1 was not searched: the search was accepted before it")
                                         .arg(groupTitle(omissions.unsearchedGroup));
    if (d.resultQueue().empty()) {
        // No result: nothing to post, copy, delete or put back, and said plainly.
        if (!unsearched.isEmpty())
            notes << unsearched;
        m_status->showMessage(IViewStatus::Warning, nothingFitsText(d, omissions, notes));
        return;
    }
    applyResult(
        int(d.resultQueue().size()), [&] { return std::optional<Regroup>(m_road.apply(d)); },
        m_dialogs->lastSearchEnd());
    if (omissions.requiredNotFitted > 0)
        notes << tr("%n Required entries did not fit", nullptr, omissions.requiredNotFitted);
    if (!unsearched.isEmpty())
        notes << unsearched;
    if (!notes.isEmpty())
        m_status->showMessage(IViewStatus::Warning, notes.join(QStringLiteral("; ")));
}

QString Engine::nothingFitsText(const Dispenser& d, const DispenseRoad::Omissions& omissions,
                                const QStringList& notes) const
{
    QStringList why;
    // The smallest entry the search measured against the room it had.
    const Dispenser::Considered* smallest = nullptr;
    qint64 room = -1;
    quint64 unit = 0;
    for (const Dispenser::Level& level : d.levels()) {
        if (room < 0) {
            room = level.room;
            unit = level.unitSize;
        }
        for (const Dispenser::Considered& c : level.entries)
            if (!smallest || c.blocks < smallest->blocks)
                smallest = &c;
    }
    DM* model = dataModel();
    // Only where room is the reason: a limit of the volume besides it (free
    // inodes, a folder's names) is told by the notes.
    if (smallest && model->isValidPos(smallest->pos) && room >= 0 &&
        smallest->blocks > quint64(room))
        why << tr("there is room for %1 on the target, and the smallest entry, \"%2\", takes %3")
                   .arg(sizeText(quint64(qMax<qint64>(room, 0)) * unit),
                        escapedText(model->entryAt(smallest->pos).Name),
                        sizeText(smallest->blocks * unit));
    why << notes;
    // An accepted search that never reached a group has not found that nothing fits.
    const QString head = omissions.unsearchedGroup >= 0 ? tr("Nothing was dispensed")
                                                        : tr("Nothing fits on the target");
    return why.isEmpty() ? head : tr("%1: %2").arg(head, why.join(QStringLiteral("; ")));
}

void Engine::planSeries()
{
    DM* model = dataModel();
    std::vector<SeriesEntry> entries = m_road.seriesEntries();
    // Those left out for their names are named, as for Dispense.
    const QString clashes = nameClashText(m_road.nameClashes());
    if (!clashes.isEmpty())
        m_status->showMessage(IViewStatus::Warning, clashes);
    if (entries.empty())
        return;
    // The picked target with its room of now, as for Dispense; one that can
    // no longer be used is not offered.
    const Target picked = model->hasTarget() && reprobeTarget() ? model->target() : Target();
    // A held result must be put back first, as for Dispense.
    const bool canDispense = !model->isDispensed();
    SeriesMedium chosen;
    Target medium;
    if (!m_dialogs->runSeries(picked, entries, canDispense, chosen, medium) || !canDispense)
        return;
    // The dialog was modal: the positions are still those it was given.
    applyResult(
        int(chosen.entries.size()),
        [&] {
            std::optional<Regroup> change;
            m_road.applyMedium(medium, chosen, &change);
            return change;
        },
        chosen.proven ? IViewStatus::SearchFinished : IViewStatus::SearchTimeLimit);
}

void Engine::applyResult(int count, const std::function<std::optional<Regroup>()>& take,
                         IViewStatus::SearchEnd end)
{
    DM* model = dataModel();
    std::unique_ptr<ProjectStep> step = beginStep(tr("Dispense %n Entries", nullptr, count));
    {
        Busy busy(m_status, std::size_t(model->entryCount()),
                  tr("Dispensing %n entries...", nullptr, count));
        step->change = take();
    }
    if (!model->isDispensed() || !step->change)
        return;
    m_items->rebuildItems();
    refreshViews();
    updateEntryActions();
    m_actions->enableSave(true);
    const HeldPlan& plan = m_road.plan();
    m_status->showOutcome(plan.usedBytes(), plan.wastedBytes(), end);
    endStep(std::move(step));
}

void Engine::undispense()
{
    DM* model = dataModel();
    if (!model->isDispensed())
        return;
    const int count = model->groupSize(Dispensed);
    std::unique_ptr<ProjectStep> step = beginStep(tr("Undispense %n Entries", nullptr, count));
    {
        Busy busy(m_status, std::size_t(model->entryCount()),
                  tr("Putting back %n entries...", nullptr, count));
        step->change = m_road.undispense();
    }
    m_items->rebuildItems();
    refreshViews();
    updateEntryActions();
    m_actions->enableSave(true);
    endStep(std::move(step));
}

void Engine::clipboardPost()
{
    DM* model = dataModel();
    // An empty list would leave the clipboard looking posted.
    if (model->groupSize(Dispensed) == 0)
        return;
    QStringList held;
    postFilesToClipboard(offeredEntries(&held));
    if (held.isEmpty()) {
        m_status->showMessage(IViewStatus::Positive,
                              QCoreApplication::translate(
                                  "Engine", "Dispensed file(s) has been posted to the clipboard"));
        return;
    }
    for (QString& path : held)
        path = escapedText(path);
    m_status->showMessage(IViewStatus::Warning,
                          tr("%n dispensed entries were not posted: an entry before each has the "
                             "same name on the target: %1",
                             nullptr, held.size())
                              .arg(held.join(QStringLiteral(", "))));
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
    // Entries with one name on the target have one copy between them: none
    // of them is taken as arrived.
    const std::vector<int> sameName = m_road.dispensedSameNames();
    std::vector<TargetArrival::Original> originals;
    for (EntryPos p = model->groupBegin(Dispensed); model->isValidPos(p); ++p.index)
        originals.push_back(
            {model->entryAt(p).Ident, model->entryAt(p).Size, sameName[std::size_t(p.index)]});
    // Only what was read back equal goes, and nothing while the target is not
    // there; the check is kept for the second look just before the trash.
    std::unique_ptr<TargetArrival> check;
    for (;;) {
        check = std::make_unique<TargetArrival>(originals);
        const Target target = model->hasTarget() ? model->target() : Target();
        // The root, where a paste goes, the folder the program copied into,
        // and the one the user pointed to.
        QStringList folders{QString()};
        for (const QString& f : {m_copyFolder, m_arrivalFolder})
            if (!f.isEmpty() && !folders.contains(f))
                folders << f;
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

    // Undo brings back what went to the trash from then on.
    const QDateTime since = QDateTime::currentDateTime();
    std::vector<EntryPos> moved;
    QStringList notArrived, oneName, changed, notMoved, trashed;
    {
        // A trash on another device copies: slow whatever the count.
        const auto arrived =
            std::count_if(check->results().begin(), check->results().end(),
                          [](const ArrivalCheck& r) { return r.state == Arrival::Arrived; });
        Busy busy(m_status, std::size_t(-1),
                  tr("Moving %n items to the trash...", nullptr, int(arrived)));
        for (int i = 0; i < count; ++i) {
            const Entry& e = model->entryAt(EntryPos{Dispensed, i});
            QString why;
            if (sameName[std::size_t(i)] >= 0) {
                oneName << escapedText(e.Name);
            } else if (check->results().at(std::size_t(i)).state != Arrival::Arrived) {
                notArrived << escapedText(e.Name);
            } else if (!check->stillArrived(i, why)) {
                changed << escapedText(e.Name);
            } else if (deleteToRecycleBin(e.Ident)) {
                moved.push_back(EntryPos{Dispensed, i});
                trashed << e.Ident;
            } else {
                notMoved << escapedText(e.Name);
            }
        }
    }
    if (!moved.empty()) {
        // The model drops each entry's origin along with it; what was not
        // moved is still dispensed, and the plan's waste is what it leaves.
        std::unique_ptr<ProjectStep> step =
            beginStep(tr("Delete the Files of %n Entries", nullptr, int(moved.size())));
        const Regroup change = Regroup::removing(ProjectStep::sizesOf(model), moved);
        model->regroup(change, &step->removed);
        m_road.followDispensed();
        m_items->rebuildItems();
        refreshViews();
        updateEntryActions();
        m_actions->enableSave(true);
        step->change = change;
        step->trashed = trashed;
        step->trashedSince = since;
        endStep(std::move(step));
        // The copies took room on the target since it was last probed.
        checkTarget();
    }
    QStringList notes;
    if (!notArrived.isEmpty())
        notes << tr("Did not arrive on the target, still dispensed: %1")
                     .arg(notArrived.join(QStringLiteral(", ")));
    if (!oneName.isEmpty())
        notes << tr("%n entries kept: each has the same name on the target as another, so one "
                    "copy cannot stand for both: %1",
                    nullptr, oneName.size())
                     .arg(oneName.join(QStringLiteral(", ")));
    if (!changed.isEmpty())
        notes << tr("Changed since the check, still dispensed: %1")
                     .arg(changed.join(QStringLiteral(", ")));
    if (!notMoved.isEmpty())
        notes << tr("Could not be moved to the trash: %1").arg(notMoved.join(QStringLiteral(", ")));
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
