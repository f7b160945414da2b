// SPDX-License-Identifier: GPL-3.0-or-later
// Write Disc and Write Image... of Engine.
#include "control/Engine.h"

#include <memory>

#include <QFileInfo>

#include "control/IViewActions.h"
#include "control/IViewDialogs.h"
#include "control/IViewStatus.h"
#include "core/disc/DiscArrival.h"
#include "core/disc/DiscRun.h"
#include "core/model/DM.h"

QString Engine::targetDrive()
{
    DM* model = dataModel();
    if (!model->hasTarget())
        return QString();
    const Target& t = model->target();
    const bool disc = t.FileSystem == ISO9660 || t.FileSystem == UDF;
    return disc && DiscArrival::isDrive(t.Path) ? t.Path : QString();
}

void Engine::showDiscActions()
{
    const bool held = dataModel()->isDispensed();
    m_actions->enableDiscWrite(held && !targetDrive().isEmpty(), held);
}

void Engine::discWrite()
{
    const QString drive = targetDrive();
    if (!dataModel()->isDispensed() || drive.isEmpty())
        return;
    const std::unique_ptr<DiscWriter> writer = createDiscWriter();
    DiscRun run(m_road.plan(), *writer);
    run.toDrive(drive, false);
    writeHeldPlan(run, drive);
}

void Engine::imageWrite()
{
    QString path;
    if (!dataModel()->isDispensed() || !m_dialogs->askImageFile(path))
        return;
    const std::unique_ptr<DiscWriter> writer = createDiscWriter();
    DiscRun run(m_road.plan(), *writer);
    run.toImage(path);
    writeHeldPlan(run, QString());
}

void Engine::writeHeldPlan(DiscRun& run, const QString& drive)
{
    const QString refusal = DiscRun::refusal(m_road.plan());
    if (!refusal.isEmpty()) {
        m_status->showMessage(IViewStatus::Error, refusal);
        return;
    }
    DiscResult r = m_dialogs->runDiscWrite(run, !drive.isEmpty());
    if (r.status == DiscResult::Refused && r.holdsFiles && m_dialogs->askDiscOverwrite(drive)) {
        run.toDrive(drive, true);
        r = m_dialogs->runDiscWrite(run, true);
    }
    const int files = int(r.files.size());
    QString text = r.message;
    IViewStatus::MessageKind kind = IViewStatus::Error;
    if (r.status == DiscResult::Written) {
        kind = r.verified ? IViewStatus::Positive : IViewStatus::Information;
        if (r.verified && text.isEmpty())
            text = drive.isEmpty()
                       ? tr("The image was written and read back equal: %n file(s)", nullptr, files)
                       : tr("The disc was written and read back equal: %n file(s)", nullptr, files);
    } else if (r.status == DiscResult::Cancelled) {
        kind = IViewStatus::Warning;
    } else if (r.status == DiscResult::Differs) {
        //: How many files differ, then their names and why.
        text = tr("%1: %2").arg(text, r.differing.join(QStringLiteral("; ")));
    }
    m_status->showMessage(kind, text);
}
