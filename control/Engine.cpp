// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/Engine.h"

#include "control/IViewActions.h"
#include "control/IViewDialogs.h"
#include "control/IViewItems.h"
#include "control/IViewStatus.h"
#include "core/Translations.h"
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

Engine::Engine(QObject* parent)
    : Ctrl(parent), m_road(dataModel()),
      m_watch([this](bool wholeVolume, Target& target) { return probeTarget(wholeVolume, target); })
{
    installPluralForms(); // where the application object came first
}

Engine::~Engine()
{
    m_watch.stop();
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
    connect(&m_watch, &TargetWatch::checked, this, &Engine::on_targetChecked);
    if (!m_calcer.isRunning())
        m_calcer.start(QThread::InheritPriority);
    refreshViews();
}

void Engine::detachViews()
{
    m_watch.stop();
    disconnect(&m_watch, nullptr, this, nullptr);
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
    showSelectionSummary();
    pushTotals();
    m_actions->enableSeries(model->totalCount() > 0);
    showDispenseActions();
    m_status->showState(readyText());
    if (model->hasTarget()) {
        const Target& t = model->target();
        m_status->showTarget(t, t.BlockSize * t.AvailableBlocks);
        m_status->showTargetChecked(m_targetChecked, m_targetProblem);
    } else {
        m_status->showNoTarget();
    }
    // Wasted space is a figure of a dispense result only, and shown only
    // where every chosen entry's cost is known.
    const HeldPlan& plan = m_road.plan();
    if (model->isDispensed() && plan.isHeld() && plan.isComplete())
        m_status->showPlan(plan.usedBytes(), plan.wastedBytes());
    else if (model->isDispensed() && !plan.isHeld())
        m_status->showWasted(model->wastedSize());
    else
        m_status->showNoWasted();
}

void Engine::pushTotals()
{
    DM* model = dataModel();
    IViewStatus::GroupTotals totals;
    for (int g = Dispensed; g < NoGroup; ++g) {
        totals.counts[g] = model->groupSize(g);
        for (EntryPos p = model->groupBegin(g); model->isValidPos(p); ++p.index) {
            const Entry& e = model->entryAt(p);
            if (e.IsValidSize)
                totals.bytes[g] = saturatingAdd(totals.bytes[g], e.Size);
        }
    }
    m_status->showTotal(model->totalSize(), model->totalCount());
    m_status->showGroupTotals(totals);
}

QString Engine::readyText() const
{
    if (m_pendingSizes.empty())
        return tr("READY");
    return tr("Measuring %n folders...", nullptr, int(m_pendingSizes.size()));
}

namespace {
// Below this many rows a command is over before anyone could notice.
constexpr std::size_t BusyRows = 2000;
} // namespace

Engine::Busy::Busy(IViewStatus* status, std::size_t rows, const QString& text)
    : m_status(rows >= BusyRows ? status : nullptr)
{
    if (m_status)
        m_status->beginBusy(text);
}

Engine::Busy::~Busy()
{
    if (m_status)
        m_status->endBusy();
}

void Engine::appExit()
{
    m_dialogs->closeMainWindow();
}

void Engine::selectionAllInGroup()
{
    const int group = m_items->currentGroup();
    const bool inGroup = group >= Dispensed && group < NoGroup;
    Busy busy(m_status, inGroup ? std::size_t(dataModel()->groupSize(group)) : 0,
              tr("Selecting..."));
    if (inGroup)
        m_items->selectAllInGroup(group);
    selectionChanged();
}

void Engine::selectionInvertInGroup()
{
    const int group = m_items->currentGroup();
    const bool inGroup = group >= Dispensed && group < NoGroup;
    Busy busy(m_status, inGroup ? std::size_t(dataModel()->groupSize(group)) : 0,
              tr("Selecting..."));
    if (inGroup)
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
