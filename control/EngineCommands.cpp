// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/Engine.h"

#include <vector>

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>

#include "control/IViewActions.h"
#include "control/IViewDialogs.h"
#include "control/IViewItems.h"
#include "control/IViewStatus.h"
#include "core/model/DM.h"
#include "core/model/EntryPaths.h"
#include "core/model/SizeText.h"

namespace {

// Where the model has no sentence of its own.
QString failureText(const QString& error, const QString& fallback)
{
    return error.isEmpty() ? fallback : error;
}

} // namespace

void Engine::pathsAdd(QStringList paths)
{
    DM* model = dataModel();
    QSet<QString> present;
    for (int g = Dispensed; g < NoGroup; ++g)
        for (EntryPos p = model->groupBegin(g); model->isValidPos(p); ++p.index)
            present.insert(model->entryAt(p).Ident);
    std::vector<EntryPos> added;
    const ProjectStep::Side before = ProjectStep::sideOf(model, m_road.plan());
    QStringList refusals;
    for (const QString& path : paths) {
        // A dropped URL that names no local file arrives as an empty path.
        if (path.isEmpty())
            continue;
        Entry e;
        QString why;
        if (!entryForPath(path, e, &why)) {
            refusals << why;
            continue;
        }
        // One item, one entry: it could be planned and copied only once.
        if (present.contains(e.Ident)) {
            refusals << tr("\"%1\" is already in the project.").arg(escapedText(e.Ident));
            continue;
        }
        present.insert(e.Ident);
        const EntryPos p = model->addEntry(e);
        m_items->insertItem(p);
        if (!e.IsValidSize)
            requestFolderSize(p);
        added.push_back(p);
    }
    if (!added.empty()) {
        // What was just added is the selection, whatever was selected before.
        m_items->selectItems(added);
        m_actions->enableSave(true);
    }
    refreshViews();
    updateEntryActions();
    if (!added.empty()) {
        // Taken back by removing the new entries, which end Main.
        auto step = std::make_unique<ProjectStep>(tr("Add %n Entries", nullptr, int(added.size())));
        step->before = before;
        step->change = Regroup::removing(ProjectStep::sizesOf(model), added);
        step->backward = true;
        endStep(std::move(step));
    }
    if (!refusals.isEmpty())
        m_status->showMessage(IViewStatus::Warning,
                              refusals.size() == 1
                                  ? refusals.first()
                                  : tr("%1 (and %n more not added)", nullptr, refusals.size() - 1)
                                        .arg(refusals.first()));
}

void Engine::filesAdd()
{
    QStringList files;
    if (!m_dialogs->askFilesAdd(files))
        return;
    pathsAdd(files);
}

void Engine::folderAdd()
{
    QStringList folders;
    if (!m_dialogs->askFolderAdd(folders) || folders.isEmpty())
        return;
    pathsAdd(folders);
}

void Engine::projectNew()
{
    if (!mayDropChanges())
        return;
    DM* model = dataModel();
    model->newProject();
    m_road.drop();
    m_arrivalFolder.clear();
    m_targetChecked = QDateTime();
    m_targetProblem.clear();
    m_actions->clearSteps();
    m_copyFolder.clear();
    m_status->clearMessage();
    QString title;
    model->projectFile(title);
    m_dialogs->setTitle(title);
    m_items->rebuildItems();
    // A new project has nothing to save, no target and no result.
    m_actions->enableSave(false);
    showDispenseActions();
    refreshViews();
    updateEntryActions();
}

void Engine::projectLoad()
{
    if (!mayDropChanges())
        return;
    QString path;
    if (!m_dialogs->askProjectLoad(path))
        return;
    replaceProject(path);
}

void Engine::projectLoadFrom(const QString& path)
{
    if (mayDropChanges())
        replaceProject(path);
}

void Engine::replaceProject(QString path)
{
    QString parent, name;
    splitPath(path, parent, name);
    // Save writes back here later, whatever the working folder is by then.
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    DM* model = dataModel();
    Busy busy(m_status, std::size_t(-1), tr("Loading %1...").arg(name));
    if (!model->load(fullPath, name)) {
        // The old project stays, with its list, its changes and its actions.
        m_status->showMessage(
            IViewStatus::Error,
            failureText(model->lastError(),
                        QCoreApplication::translate("Engine", "The project could not be loaded.")));
        return;
    }
    m_arrivalFolder.clear();
    m_actions->clearSteps();
    m_copyFolder.clear();
    m_status->clearMessage();
    // The figures are those of the file until the volume says otherwise.
    m_targetChecked = QDateTime();
    m_targetProblem.clear();
    // A size the file did not hold readably is measured again.
    for (int g = Dispensed; g < NoGroup; ++g) {
        for (EntryPos p = model->groupBegin(g); model->isValidPos(p); ++p.index) {
            Entry& e = model->entryAt(p);
            Entry now;
            if (e.IsValidSize || !entryForPath(e.Ident, now) || now.Kind != e.Kind)
                continue;
            if (e.Kind == Folder) {
                requestFolderSize(p);
            } else {
                e.Size = now.Size;
                e.IsValidSize = true;
                model->entrySizeKnown(p);
            }
        }
    }
    // The file keeps no waste: the plan's costs are measured again.
    m_road.holdLoaded();
    m_items->rebuildItems();
    m_actions->enableSave(false);
    showDispenseActions();
    refreshViews();
    updateEntryActions();
    showLastWarnings();
    checkTarget();
}

void Engine::projectSave()
{
    DM* model = dataModel();
    // The model stays untitled after Save As of a new project, but it then has
    // the chosen file to write to; only a project without one asks.
    if (model->savePath().isEmpty()) {
        projectSaveAs();
        return;
    }
    if (!model->save()) {
        m_status->showMessage(
            IViewStatus::Error,
            failureText(model->lastError(),
                        QCoreApplication::translate("Engine", "The project could not be saved.")));
        return;
    }
    m_actions->enableSave(false);
    m_actions->markSaved();
    showLastWarnings();
}

void Engine::projectSaveAs()
{
    QString path;
    if (!m_dialogs->askProjectSaveAs(path))
        return;
    DM* model = dataModel();
    if (!model->saveAs(path)) {
        m_status->showMessage(
            IViewStatus::Error,
            failureText(model->lastError(),
                        QCoreApplication::translate("Engine", "The project could not be saved.")));
        return;
    }
    QString parent, name;
    splitPath(path, parent, name);
    m_dialogs->setTitle(name);
    m_actions->enableSave(false);
    m_actions->markSaved();
    showLastWarnings();
}

void Engine::showLastWarnings()
{
    const QStringList warnings = dataModel()->lastWarnings();
    if (!warnings.isEmpty())
        m_status->showMessage(IViewStatus::Warning, warnings.join(QLatin1Char('\n')));
}

bool Engine::mayDropChanges()
{
    if (!dataModel()->isModified())
        return true;
    switch (m_dialogs->askSaveChanges()) {
    case IViewDialogs::DiscardChanges:
        return true;
    case IViewDialogs::SaveChanges:
        // Only a save that reached the file leaves the project unmodified.
        projectSave();
        return !dataModel()->isModified();
    case IViewDialogs::CancelClose:
        break;
    }
    return false;
}

bool Engine::queryClose()
{
    return mayDropChanges();
}

void Engine::entryRemove()
{
    std::vector<EntryPos> sel;
    m_items->selectedPositions(sel);
    DM* model = dataModel();
    const Regroup change = Regroup::removing(ProjectStep::sizesOf(model), sel);
    if (change.isEmpty()) {
        updateEntryActions();
        return;
    }
    const int count = int(change.moves().size());
    // No question, however many: Undo brings them back.
    std::unique_ptr<ProjectStep> step = beginStep(tr("Remove %n Entries", nullptr, count));
    {
        Busy busy(m_status, sel.size(), tr("Removing %n entries...", nullptr, count));
        model->regroup(change, &step->removed);
        m_items->regroupItems(change);
    }
    m_actions->enableSave(true);
    followResult(sel);
    refreshViews();
    updateEntryActions();
    step->change = change;
    endStep(std::move(step));
}

void Engine::priorityUp()
{
    // Dispensed and Required have no group above them among the priorities.
    moveSelection([](int group) { return group >= Main && group <= NotInUse ? group - 1 : -1; },
                  [](int n) { return tr("Move %n Entries Up", nullptr, n); });
}

void Engine::priorityDown()
{
    // Dispensed and Not In Use have no group below them among the priorities.
    moveSelection(
        [](int group) { return group >= Required && group <= Background ? group + 1 : -1; },
        [](int n) { return tr("Move %n Entries Down", nullptr, n); });
}

void Engine::prioritySet(int group)
{
    if (group < Required || group > NotInUse)
        return;
    moveSelection(
        [group](int) { return group; },
        [group](int n) { return tr("Move %n Entries to %1", nullptr, n).arg(groupTitle(group)); });
}

void Engine::entriesMoveTo(int group)
{
    if (group < Required || group > NotInUse)
        return;
    // Those already there stay where they are.
    moveSelection(
        [group](int from) { return from == group ? -1 : group; },
        [group](int n) { return tr("Move %n Entries to %1", nullptr, n).arg(groupTitle(group)); });
}

void Engine::moveSelection(const std::function<int(int group)>& destination,
                           const std::function<QString(int count)>& name)
{
    std::vector<EntryPos> sel;
    m_items->selectedPositions(sel);
    std::vector<int> to;
    to.reserve(sel.size());
    for (const EntryPos& p : sel)
        to.push_back(destination(p.group));
    DM* model = dataModel();
    // All at once, so that the moved entries keep their order.
    const Regroup change = Regroup::moving(ProjectStep::sizesOf(model), sel, to);
    if (change.isEmpty()) {
        updateEntryActions();
        return;
    }
    const int count = int(change.moves().size());
    std::unique_ptr<ProjectStep> step = beginStep(name(count));
    {
        Busy busy(m_status, sel.size(), tr("Moving %n entries...", nullptr, count));
        model->regroup(change);
        m_items->regroupItems(change);
    }
    m_actions->enableSave(true);
    std::vector<EntryPos> left; // dispensed entries that moved out
    for (std::size_t i = 0; i < sel.size(); ++i)
        if (to[i] >= Required)
            left.push_back(sel[i]);
    if (followResult(left))
        refreshViews();
    // Moves across "Not In Use" change the totals; the moved rows are selected anew.
    pushTotals();
    m_actions->enableSeries(model->totalCount() > 0);
    showDispenseActions();
    showSelectionSummary();
    updateEntryActions();
    step->change = change;
    endStep(std::move(step));
}

bool Engine::followResult(const std::vector<EntryPos>& changed)
{
    for (const EntryPos& p : changed) {
        if (p.group != Dispensed)
            continue;
        // The result lost entries: its waste is what the others leave.
        m_road.followDispensed();
        showDispenseActions();
        return true;
    }
    return false;
}

void Engine::selectionChanged()
{
    // Whether anything is selected, not whether it has a size yet: an empty
    // file or a folder still being measured can be removed and moved too.
    m_actions->enableEntryActions(showSelectionSummary() > 0);
}

void Engine::updateEntryActions()
{
    m_actions->enableEntryActions(m_items->selectedCount() > 0);
}

int Engine::showSelectionSummary()
{
    std::vector<EntryPos> sel;
    m_items->selectedPositions(sel);
    DM* model = dataModel();
    quint64 total = 0;
    int count = 0;
    for (const EntryPos& p : sel) {
        if (!model->isValidPos(p))
            continue;
        total = saturatingAdd(total, model->entryAt(p).Size);
        ++count;
    }
    m_status->showSelected(total, count);
    return count;
}
