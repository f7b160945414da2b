// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/copy/TargetArrival.h"

#include <QDir>
#include <QFileInfo>

#include "core/copy/VolumeIdentity.h"
#include "core/disc/DiscArrival.h"
#include "core/model/Entry.h"

namespace {

QString canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

// path is folder or lies below it, as written (either may be gone).
bool within(const QString& path, const QString& folder)
{
    const QString p = QDir::cleanPath(path), f = QDir::cleanPath(folder);
    return p == f || p.startsWith(f == QLatin1String("/") ? f : f + QLatin1Char('/'));
}

} // namespace

TargetArrival::TargetArrival(std::vector<Original> originals) : m_originals(std::move(originals))
{
    for (const Original& o : m_originals)
        if (o.sameNameAs < 0)
            m_progress.bytesTotal += 2 * o.size;
    notChecked(QString());
}

TargetArrival::~TargetArrival() = default;

void TargetArrival::notChecked(const QString& why)
{
    m_results.assign(m_originals.size(), ArrivalCheck());
    for (ArrivalCheck& r : m_results)
        r.why = why;
    m_foundIn.assign(m_originals.size(), -1);
}

void TargetArrival::addPlace(const CopyDestination& at)
{
    for (const Place& p : m_places)
        if (canonical(p.folder) == canonical(at.folder))
            return;
    const std::size_t index = m_places.size();
    m_places.push_back(Place{at.folder, std::make_unique<ContentArrival>(at), 0});
    ContentArrival& check = *m_places.back().check;
    check.setStop(&m_stop);
    check.setProgress([this, index](const ContentArrival::Progress& p) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_places[index].bytesDone = p.bytesDone;
        m_progress.current = p.current;
    });
}

TargetArrival::Location TargetArrival::locate(const Target& target, const QString& given)
{
    const QString& root = target.Path;
    const QString folder = given.isEmpty() ? root : given;
    Location l;
    if (folder.isEmpty()) {
        l.problem = tr("The project has no target.");
        return l;
    }
    const bool isFolder = QFileInfo(folder).isDir();
    // A recorder's device, say: the disc is looked for where it is mounted.
    if (!isFolder && QFileInfo::exists(folder)) {
        l.problem = tr("%1 is not a folder.").arg(folder);
        return l;
    }
    const QString notMounted = tr("The target volume is not mounted at %1.").arg(root);
    const bool onRoot = !root.isEmpty() && within(folder, root);
    const CopyDestination at = isFolder ? VolumeIdentity::of(folder) : CopyDestination();
    if (!target.Volume.isEmpty()) {
        if (isFolder && at.volumeId == target.Volume) {
            l.at = at;
            return l;
        }
        // Below the target's path its volume decides: gone, or another in its place.
        const CopyDestination rootAt =
            onRoot && QFileInfo(root).isDir() ? VolumeIdentity::of(root) : CopyDestination();
        if (onRoot && rootAt.volumeId == target.Volume)
            l.problem =
                (isFolder ? tr("%1 is not on the target volume.") : tr("%1 is not a folder."))
                    .arg(folder);
        else if (onRoot && !rootAt.volumeRoot.isEmpty() &&
                 canonical(rootAt.volumeRoot) == canonical(root))
            l.problem = tr("Another volume is mounted at %1, not the target volume.").arg(root);
        else if (onRoot)
            l.problem = notMounted;
        else
            l.problem =
                (isFolder ? tr("%1 is not on the target volume.") : tr("%1 is not a folder."))
                    .arg(folder);
    } else if (!isFolder) {
        l.problem = onRoot ? notMounted : tr("%1 is not a folder.").arg(folder);
    } else if (at.volumeRoot.isEmpty() || canonical(at.volumeRoot) == QLatin1String("/")) {
        // The folder an unmounted volume leaves behind lies there.
        l.problem = tr("%1 is on the system's own volume, not on the target volume; is the "
                       "target mounted?")
                        .arg(folder);
    } else {
        l.at = at;
        l.note = tr("The project does not record which volume its target is, so the volume "
                    "mounted at %1 was taken for it.")
                     .arg(at.volumeRoot);
    }
    return l;
}

bool TargetArrival::lookOnTarget(const Target& target, const QStringList& folders)
{
    m_places.clear();
    m_disc.reset();
    m_problem.clear();
    m_note.clear();
    if (DiscArrival::isDrive(target.Path)) {
        m_disc = std::make_unique<DiscArrival>(target.Path);
        m_problem = m_disc->problem();
        if (!m_problem.isEmpty())
            m_disc.reset();
        notChecked(m_problem);
        return m_problem.isEmpty();
    }
    QStringList problems, notes;
    for (const QString& given : folders) {
        const Location l = locate(target, given);
        if (l.at.folder.isEmpty()) {
            problems << l.problem;
            continue;
        }
        addPlace(l.at);
        if (!l.note.isEmpty())
            notes << l.note;
    }
    problems.removeDuplicates();
    if (m_places.empty()) {
        m_problem = problems.join(QLatin1Char(' '));
        notChecked(m_problem);
        return false;
    }
    notes.removeDuplicates();
    m_note = (problems + notes).join(QLatin1Char(' '));
    notChecked(QString());
    return true;
}

bool TargetArrival::lookIn(const QString& folder)
{
    m_places.clear();
    m_disc.reset();
    m_note.clear();
    m_problem = QFileInfo(folder).isDir() ? QString() : tr("%1 is not a folder.").arg(folder);
    if (m_problem.isEmpty())
        addPlace(VolumeIdentity::of(folder));
    notChecked(m_problem);
    return m_problem.isEmpty();
}

QStringList TargetArrival::places() const
{
    QStringList folders;
    if (m_disc)
        folders << m_disc->drive();
    for (const Place& p : m_places)
        folders << p.folder;
    return folders;
}

void TargetArrival::run()
{
    m_stopped = false;
    for (std::size_t i = 0; i < m_originals.size() && (m_disc || !m_places.empty()); ++i) {
        if (m_stop) {
            m_stopped = true;
            m_results[i].why = tr("the check was stopped");
            continue;
        }
        const int other = m_originals[i].sameNameAs;
        if (other >= 0 && std::size_t(other) < m_originals.size()) {
            m_results[i] =
                ArrivalCheck{Arrival::NotChecked, QFileInfo(m_originals[i].path).fileName(),
                             tr("the same name on the target as %1")
                                 .arg(m_originals[std::size_t(other)].path),
                             Hash128()};
            continue;
        }
        if (m_disc) {
            m_results[i] = m_disc->check(m_originals[i].path);
            m_foundIn[i] = m_results[i].state == Arrival::Arrived ? 0 : -1;
            std::lock_guard<std::mutex> lock(m_mutex);
            m_progress.entriesDone = int(i) + 1;
            continue;
        }
        // A copy that arrived anywhere counts; else what was found, rather than nothing.
        ArrivalCheck best;
        int foundIn = -1;
        for (std::size_t p = 0; p < m_places.size(); ++p) {
            ContentArrival& place = *m_places[p].check;
            ArrivalCheck r = place.check(m_originals[i].path);
            if (place.stopped()) {
                m_stopped = true;
                best = r;
                break;
            }
            if (r.state == Arrival::Arrived) {
                best = r;
                foundIn = int(p);
                break;
            }
            if (p == 0 || (best.state == Arrival::Missing && r.state != Arrival::Missing))
                best = r;
        }
        m_results[i] = best;
        m_foundIn[i] = foundIn;
        std::lock_guard<std::mutex> lock(m_mutex);
        for (Place& p : m_places)
            p.bytesDone = p.check->bytesDone();
        m_progress.entriesDone = int(i) + 1;
    }
}

TargetArrival::Progress TargetArrival::progress() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Progress p = m_progress;
    for (const Place& place : m_places)
        p.bytesDone += place.bytesDone;
    return p;
}

bool TargetArrival::stillArrived(int i, QString& why)
{
    if (i < 0 || std::size_t(i) >= m_results.size() || m_foundIn[std::size_t(i)] < 0) {
        why = tr("not found on the target");
        return false;
    }
    if (m_disc)
        return m_disc->stillArrived(m_originals[std::size_t(i)].path, why);
    ContentArrival& place = *m_places[std::size_t(m_foundIn[std::size_t(i)])].check;
    return place.unchanged(m_originals[std::size_t(i)].path, m_results[std::size_t(i)], why);
}
