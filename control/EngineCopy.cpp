// SPDX-License-Identifier: GPL-3.0-or-later
// Copy to Target: the dispensed entries onto the target volume.
#include "control/Engine.h"

#include <vector>

#include <QDir>
#include <QFileInfo>

#include "control/IViewActions.h"
#include "control/IViewDialogs.h"
#include "core/copy/CopyEngine.h"
#include "core/copy/TargetArrival.h"
#include "core/model/DM.h"
#include "core/model/EntryPaths.h"

namespace {

// A volume the program can write files onto: a mounted folder, not a disc.
bool copyableTarget(const Target& t)
{
    return t.FileSystem != UDF && !t.Path.isEmpty() && QFileInfo(t.Path).isDir();
}

// Up to ten of the problems, each as "path: reason".
QString problemList(const std::vector<CopyEngine::Problem>& problems)
{
    QStringList lines;
    for (std::size_t i = 0; i < problems.size() && i < 10; ++i)
        lines << escapedText(problems[i].path) + QStringLiteral(": ") + problems[i].reason;
    if (problems.size() > 10)
        lines << Engine::tr("and %n more", nullptr, int(problems.size() - 10));
    return lines.join(QStringLiteral("; "));
}

} // namespace

QStringList Engine::offeredEntries(QStringList* held) const
{
    DM* model = dataModel();
    // Of entries with one name on the target, only the first: a copy or a
    // paste of both would keep one.
    const std::vector<int> sameName = m_road.dispensedSameNames();
    QStringList offered;
    for (EntryPos p = model->groupBegin(Dispensed); model->isValidPos(p); ++p.index) {
        const int other = sameName[std::size_t(p.index)];
        if (other >= 0 && other < p.index) {
            if (held)
                held->append(model->entryAt(p).Ident);
        } else {
            offered.append(model->entryAt(p).Ident);
        }
    }
    return offered;
}

void Engine::showCopyAction()
{
    DM* model = dataModel();
    m_actions->enableCopy(model->isDispensed() && model->groupSize(Dispensed) > 0 &&
                          model->hasTarget() && copyableTarget(model->target()));
}

void Engine::copyToTarget()
{
    DM* model = dataModel();
    if (!model->isDispensed() || !model->hasTarget())
        return;
    const QString root = QDir::cleanPath(model->target().Path);
    if (!copyableTarget(model->target())) {
        m_status->showMessage(IViewStatus::Error,
                              tr("Cannot copy to %1: it is not a mounted volume").arg(root));
        showCopyAction();
        return;
    }
    QStringList held;
    const QStringList entries = offeredEntries(&held);
    if (entries.isEmpty())
        return;

    QString folder = m_copyFolder.isEmpty() ? root : m_copyFolder;
    if (!m_dialogs->askCopyFolder(root, folder) || folder.isEmpty())
        return;
    folder = QDir::cleanPath(QDir(root).absoluteFilePath(folder));
    if (folder != root &&
        !folder.startsWith(root == QLatin1String("/") ? root : root + QLatin1Char('/'))) {
        m_status->showMessage(
            IViewStatus::Error,
            tr("%1 is not on the target %2: nothing was copied").arg(folder, root));
        return;
    }
    // The volume the target names, mounted at its path: never the folder an
    // unmounted one leaves behind, nor another volume in its place.
    TargetArrival::Location on = TargetArrival::locate(model->target(), QString());
    if (!on.at.folder.isEmpty()) {
        if (!QDir().mkpath(folder)) {
            m_status->showMessage(
                IViewStatus::Error,
                tr("%1 cannot be made on the target: nothing was copied").arg(folder));
            return;
        }
        on = TargetArrival::locate(model->target(), folder);
    }
    if (on.at.folder.isEmpty()) {
        m_status->showMessage(IViewStatus::Error, tr("Nothing was copied: %1").arg(on.problem));
        return;
    }
    // Delete looks there too, and the next copy goes there again.
    m_copyFolder = folder;

    const std::unique_ptr<CopyEngine> engine = m_dialogs->runCopy(entries, on.at);
    if (!engine) {
        m_status->showMessage(IViewStatus::Error, tr("The copy could not be started"));
        return;
    }
    QStringList notes;
    // Read back equal now or in a run before: a resumed copy verifies what
    // the stopped one wrote without writing it again.
    const int files = engine->filesVerified() + engine->filesSkipped();
    IViewStatus::MessageKind kind = IViewStatus::Error;
    switch (engine->outcome()) {
    case CopyEngine::Complete:
        kind = IViewStatus::Positive;
        notes << tr("Copied and verified %n files in %1", nullptr, files).arg(folder);
        break;
    case CopyEngine::Incomplete:
        kind = IViewStatus::Warning;
        notes << tr("%n files were not copied or did not read back equal", nullptr,
                    int(engine->problems().size())) +
                     QStringLiteral(": ") + problemList(engine->problems());
        break;
    case CopyEngine::Stopped:
        kind = IViewStatus::Warning;
        notes << tr("The copy was stopped: Copy to Target again goes on where it stopped");
        break;
    default:
        // Full, gone or failed: the engine says which, and nothing was deleted.
        notes << engine->message();
        if (!engine->problems().empty())
            notes << problemList(engine->problems());
        break;
    }
    if (!held.isEmpty()) {
        for (QString& path : held)
            path = escapedText(path);
        kind = kind == IViewStatus::Positive ? IViewStatus::Warning : kind;
        notes << tr("%n dispensed entries were not copied: an entry before each has the same "
                    "name on the target: %1",
                    nullptr, held.size())
                     .arg(held.join(QStringLiteral(", ")));
    }
    m_status->showMessage(kind, notes.join(QStringLiteral("; ")));
}
