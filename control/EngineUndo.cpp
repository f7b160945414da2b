// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/Engine.h"

#include <algorithm>
#include <utility>

#include <QFileInfo>

#include "control/IViewActions.h"
#include "control/IViewItems.h"
#include "control/IViewStatus.h"
#include "control/ShellServices.h"
#include "core/model/DM.h"
#include "core/model/EntryPaths.h"

// Every command that changes the groups or the result hands the window a
// ProjectStep; Undo and Redo come back here and replay it, the model first,
// then the views as after any command.

std::unique_ptr<ProjectStep> Engine::beginStep(const QString& name) const
{
    auto step = std::make_unique<ProjectStep>(name);
    step->before = ProjectStep::sideOf(dataModel(), m_road.plan());
    return step;
}

void Engine::endStep(std::unique_ptr<ProjectStep> step)
{
    step->after = ProjectStep::sideOf(dataModel(), m_road.plan());
    m_actions->pushStep(std::move(step));
}

void Engine::undoStep(ProjectStep& step)
{
    replayStep(step, false);
}

void Engine::redoStep(ProjectStep& step)
{
    replayStep(step, true);
}

void Engine::savedStateReached(bool reached)
{
    if (!m_actions)
        return;
    dataModel()->setModified(!reached);
    m_actions->enableSave(!reached);
}

void Engine::replayStep(ProjectStep& step, bool toAfter)
{
    if (!m_items)
        return;
    DM* model = dataModel();
    m_status->clearMessage(); // about what the step did or undid
    const QString trashNote = replayTrash(step, toAfter);
    const ProjectStep::Side& side = toAfter ? step.after : step.before;
    std::vector<EntryPos> shown; // the entries the step moves, where they stand then
    const bool forward = step.change && toAfter != step.backward;
    bool ok = true;
    if (forward) {
        const Regroup& change = *step.change;
        ok = model->regroup(change, &step.removed);
        for (const Regroup::Move& m : change.moves())
            if (m.to != NoGroup)
                shown.push_back(change.placeOf(m.from));
    } else if (step.change) {
        ok = model->revertChange(*step.change, step.removed, side.origins);
        for (const Regroup::Move& m : step.change->moves())
            shown.push_back(m.from);
    }
    if (!ok) {
        // The groups are not those the step knew: nothing is guessed.
        m_status->showMessage(IViewStatus::Error,
                              tr("The project is no longer as this step left it, so the step "
                                 "cannot be taken back or done again. The history is cleared."));
        m_actions->clearSteps();
        return;
    }
    const bool newTarget = step.changesTarget();
    model->restoreResult(newTarget ? side.hasTarget : model->hasTarget(),
                         newTarget ? side.target : model->target(), side.dispensed, side.wasted);
    m_road.restore(side.plan);
    if (forward)
        m_items->regroupItems(*step.change);
    else
        m_items->rebuildItems();
    std::sort(shown.begin(), shown.end());
    m_items->selectItems(shown);
    // Folders back in the project that were never measured, or whose size
    // came while they were out of it.
    for (const EntryPos& p : shown) {
        const Entry& e = model->entryAt(p);
        const bool asked = std::any_of(m_pendingSizes.begin(), m_pendingSizes.end(),
                                       [&](const PendingSize& s) { return s.ident == e.Ident; });
        if (e.Kind == Folder && !e.IsValidSize && e.Issue == NoSizeIssue && !asked)
            requestFolderSize(p);
    }
    if (newTarget) {
        m_targetChecked = QDateTime();
        m_targetProblem.clear();
    }
    refreshViews();
    updateEntryActions();
    m_actions->enableSave(true);
    if (newTarget)
        checkTarget();
    if (!trashNote.isEmpty())
        m_status->showMessage(IViewStatus::Warning, trashNote);
}

QString Engine::replayTrash(ProjectStep& step, bool toAfter) const
{
    if (step.trashed.isEmpty())
        return QString();
    QStringList failed;
    if (toAfter) {
        // Only what Undo brought back goes there again: whatever else is at
        // those paths now is not the step's to move.
        for (const QString& path : std::exchange(step.restored, QStringList())) {
            if (!deleteToRecycleBin(path))
                failed << escapedText(path);
        }
        return failed.isEmpty() ? QString()
                                : tr("Not moved to the trash again, left where they are: %1")
                                      .arg(failed.join(QStringLiteral(", ")));
    }
    const QStringList why = restoreFromRecycleBin(step.trashed, step.trashedSince);
    step.restored.clear();
    for (int i = 0; i < step.trashed.size(); ++i) {
        if (why.value(i).isEmpty())
            step.restored << step.trashed.at(i);
        else
            failed << tr("%1 (%2)").arg(escapedText(step.trashed.at(i)), why.at(i));
    }
    return failed.isEmpty() ? QString()
                            : tr("Not brought back from the trash, their entries are back all "
                                 "the same: %1")
                                  .arg(failed.join(QStringLiteral("; ")));
}
