#include "control/Engine.h"

#include "control/IViewActions.h"
#include "control/IViewDialogs.h"
#include "control/IViewItems.h"
#include "control/IViewStatus.h"
#include "core/dispense/TargetDiscovery.h"
#include "core/model/DM.h"

namespace {
Ctrl* g_controller = nullptr;
}

Ctrl* controller()
{
    if (!g_controller) {
        static Engine engine;
        g_controller = &engine;
    }
    return g_controller;
}

void setController(Ctrl* ctrl)
{
    g_controller = ctrl;
}

Engine::Engine(QObject* parent) : Ctrl(parent) {}

Engine::~Engine()
{
    m_calcer.stop();
}

void Engine::attachViews(IViewDialogs* dialogs, IViewActions* actions, IViewItems* items,
                         IViewStatus* status)
{
    m_dialogs = dialogs;
    m_actions = actions;
    m_items = items;
    m_status = status;
    // Queued: the slot changes the model and the widgets, which belong to this thread.
    connect(&m_calcer, &FolderSizeCalcer::folderComplete, this, &Engine::on_folderCalcComplete,
            Qt::QueuedConnection);
    connect(&m_calcer, &FolderSizeCalcer::folderFailed, this, &Engine::on_folderCalcFailed,
            Qt::QueuedConnection);
    if (!m_calcer.isRunning())
        m_calcer.start(QThread::InheritPriority);
    refreshViews();
}

void Engine::detachViews()
{
    m_calcer.stop();
    disconnect(&m_calcer, nullptr, this, nullptr);
    m_pendingSizes.clear();
    m_dialogs = nullptr;
    m_actions = nullptr;
    m_items = nullptr;
    m_status = nullptr;
}

void Engine::refreshViews()
{
    DM* model = dataModel();
    QString title;
    model->projectFile(title);
    m_dialogs->setTitle(title);
    showSelection();
    m_status->showTotal(model->totalSize(), model->totalCount());
    m_status->showState(QStringLiteral("READY"));
    if (model->hasTarget()) {
        const Target& t = model->target();
        m_status->showTarget(t, t.BlockSize * t.AvailableBlocks);
        m_status->showWasted(model->wastedSize());
    } else {
        m_status->showNoTarget();
        m_status->showNoWasted();
    }
}

void Engine::appExit()
{
    m_dialogs->closeMainWindow();
}

void Engine::selectionAllInGroup()
{
    const int group = m_items->currentGroup();
    if (group >= Dispensed && group < NoGroup)
        m_items->selectAllInGroup(group);
    selectionChanged();
}

void Engine::selectionInvertInGroup()
{
    const int group = m_items->currentGroup();
    if (group >= Dispensed && group < NoGroup)
        m_items->invertSelectionInGroup(group);
    selectionChanged();
}

void Engine::about()
{
    m_dialogs->showAbout();
}

bool Engine::probeTarget(bool wholeVolume, Target& target)
{
    return ::probeTarget(wholeVolume, target);
}

void Engine::listDriveRoots(QStringList& roots)
{
    ::listDriveRoots(roots);
}
