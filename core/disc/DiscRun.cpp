// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disc/DiscRun.h"

#include <QFileInfo>

#include "core/disc/DiscRecord.h"
#include "core/dispense/IsoCost.h"
#include "core/model/SizeText.h"

namespace {

DiscResult refused(const QString& message)
{
    DiscResult r;
    r.status = DiscResult::Refused;
    r.message = message;
    return r;
}

} // namespace

DiscRun::DiscRun(const HeldPlan& plan, DiscWriter& writer) : m_plan(plan), m_writer(writer) {}

void DiscRun::toDrive(const QString& drive, bool overwrite)
{
    m_job.drive = drive;
    m_job.imageFile.clear();
    m_job.overwrite = overwrite;
}

void DiscRun::toImage(const QString& file)
{
    m_job.imageFile = file;
    m_job.drive.clear();
}

QString DiscRun::refusal(const HeldPlan& plan)
{
    if (!plan.isHeld() || plan.entries().empty())
        return tr("Nothing is dispensed");
    for (const HeldPlan::Chosen& c : plan.entries())
        if (!c.known)
            return tr("\"%1\" could not be measured: put it back or dispense again")
                .arg(QFileInfo(c.ident).fileName());
    return QString();
}

quint64 DiscRun::plannedBlocks(const HeldPlan& plan)
{
    if (!plan.isHeld() || plan.target().FileSystem != ISO9660)
        return 0;
    return IsoCost::reservedBlocks() + plan.usedBytes() / IsoMeta::BlockSize;
}

DiscResult DiscRun::run(const std::function<void(const DiscProgress&)>& progress,
                        const std::atomic_bool& cancel)
{
    const QString why = refusal(m_plan);
    if (!why.isEmpty())
        return refused(why);
    progress(DiscProgress());
    // Each entry as the plan counted it, measured again now.
    QStringList idents, names;
    for (const HeldPlan::Chosen& c : m_plan.entries())
        idents << c.ident;
    const HeldPlan now = HeldPlan::measured(m_plan.target(), idents, &cancel);
    if (cancel.load()) {
        DiscResult r = refused(tr("Cancelled before writing"));
        r.status = DiscResult::Cancelled;
        return r;
    }
    m_job.entries.clear();
    for (std::size_t i = 0; i < m_plan.entries().size(); ++i) {
        const HeldPlan::Chosen& then = m_plan.entries()[i];
        const HeldPlan::Chosen& found = now.entries()[i];
        const QString name = QFileInfo(then.ident).fileName();
        if (!found.known)
            return refused(tr("\"%1\" can no longer be read in full").arg(name));
        if (found.cost.blocks != then.cost.blocks || found.cost.shared != then.cost.shared)
            return refused(tr("\"%1\" changed since it was planned: dispense again").arg(name));
        m_job.entries.push_back(DiscEntry{then.ident, 0});
        names << name;
    }
    m_job.plannedBlocks = plannedBlocks(m_plan);
    m_job.plannedAtNs = m_plan.plannedAt();
    DiscResult r = m_writer.write(m_job, progress, cancel);
    // Only a disc read back equal vouches for its files; an image may yet be
    // burnt by anything.
    if (r.status == DiscResult::Written && r.verified && !m_job.drive.isEmpty()) {
        // A session added to a disc holds the one before, as recorded.
        std::vector<DiscFile> files = r.files;
        DiscRecord before;
        if (!r.previousVolumeId.isEmpty() && before.load(r.previousVolumeId)) {
            names += before.names();
            files.insert(files.end(), before.files().begin(), before.files().end());
        }
        QString error;
        if (!DiscRecord::save(r.volumeId, names, files, &error))
            r.message = tr("The disc was read back equal, but its record for \"Delete the "
                           "files\" could not be kept: %1")
                            .arg(error);
    }
    return r;
}
