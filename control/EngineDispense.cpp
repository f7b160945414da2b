#include "control/Engine.h"

#include <vector>

#include "control/IViewActions.h"
#include "control/IViewDialogs.h"
#include "control/IViewItems.h"
#include "control/IViewStatus.h"
#include "control/ShellServices.h"
#include "core/dispense/Dispenser.h"
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

void Engine::dispense()
{
    DM* model = dataModel();
    if (!model->hasTarget())
        return;
    Dispenser d;
    const bool ok = m_dialogs->runDispense(&d);
    // The dialog closes on the search's last signal; its thread may still be ending.
    d.wait();
    if (!ok)
        return;
    model->applyDispense(d.resultQueue(), d.wasted());
    m_items->rebuildItems();
    refreshViews();
    followSelection();
    m_actions->setDispensed(true);
    m_actions->enableSave(true);
}

void Engine::undispense()
{
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
    m_status->showState(QStringLiteral("Dispensed file(s) has been posted to the clipboard"));
}

void Engine::originalsDelete()
{
    DM* model = dataModel();
    const int count = model->groupSize(Dispensed);
    if (count > 0) {
        int files = 0;
        QStringList paths;
        for (EntryPos p = model->groupBegin(Dispensed); model->isValidPos(p); ++p.index) {
            if (model->entryAt(p).Kind == File)
                ++files;
            paths << model->entryAt(p).Ident;
        }
        if (!m_dialogs->confirmOriginalsDelete(files, count - files, paths))
            return;
    }

    std::vector<bool> moved(count, false);
    for (int i = 0; i < count; ++i)
        moved[i] = deleteToRecycleBin(model->entryAt(EntryPos{Dispensed, i}).Ident);
    // From the back, so the positions still to come stay valid; the model
    // drops each entry's origin along with it.
    int kept = 0;
    for (int i = count - 1; i >= 0; --i) {
        if (moved[i])
            model->removeEntry(EntryPos{Dispensed, i});
        else
            ++kept;
    }

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
    if (kept > 0)
        m_status->showState(
            QStringLiteral("%1 dispensed file(s) could not be moved to the trash").arg(kept));
}

void Engine::entryReveal(const EntryPos& pos)
{
    DM* model = dataModel();
    if (!model->isValidPos(pos))
        return;
    const Entry& e = model->entryAt(pos);
    revealInFileManager(e.Path, e.Ident);
}
