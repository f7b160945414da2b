// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disc/DiscArrival.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>

#include "core/copy/CopyList.h"
#include "core/disc/DiscIdentity.h"

DiscArrival::DiscArrival(const QString& drive, const QString& volumeId, const QString& why)
    : m_drive(drive), m_volumeId(volumeId), m_problem(why)
{
    if (!volumeId.isEmpty() && !m_record.load(volumeId))
        m_problem = tr("The disc in %1 was not written and read back by Quillmarch").arg(drive);
    else if (volumeId.isEmpty() && m_problem.isEmpty())
        m_problem = tr("No disc written by Quillmarch is in %1").arg(drive);
}

DiscArrival::DiscArrival(const QString& drive)
{
    QString why;
    const QString id = discVolumeId(drive, &why);
    *this = DiscArrival(drive, id, why);
}

bool DiscArrival::isDrive(const QString& path)
{
    if (path.startsWith(QLatin1String("stdio:")))
        return true;
    return path.startsWith(QLatin1String("/dev/")) && !QFileInfo(path).isDir();
}

bool DiscArrival::stillArrived(const QString& entry, QString& why) const
{
    QString none;
    if (m_volumeId.isEmpty() || discVolumeId(m_drive, &none) != m_volumeId) {
        why = tr("the disc in %1 is no longer the one checked").arg(m_drive);
        return false;
    }
    const ArrivalCheck r = check(entry);
    why = r.reason();
    return r.state == Arrival::Arrived;
}

ArrivalCheck DiscArrival::check(const QString& entry) const
{
    const QString name = QFileInfo(entry).fileName();
    if (!m_problem.isEmpty())
        return ArrivalCheck{Arrival::NotChecked, name, m_problem, Hash128()};
    if (!m_record.holdsEntry(name))
        return ArrivalCheck{Arrival::Missing, name, QString(), Hash128()};
    const auto different = [](const QByteArray& relative, const QString& why) {
        return ArrivalCheck{Arrival::Differs, QFile::decodeName(relative), why, Hash128()};
    };
    CopyList list;
    list.build({entry});
    if (!list.problems().empty())
        return different(list.problems().front().relative, tr("the original could not be read"));
    for (const CopyItem& item : list.items()) {
        if (item.kind != CopyItem::File)
            continue;
        const DiscFile* f = m_record.find(QFile::decodeName(item.relative));
        struct stat st;
        if (!f || f->source != QFile::decodeName(item.source))
            return different(item.relative, tr("not on the disc"));
        if (::stat(item.source.constData(), &st) != 0)
            return different(item.relative, tr("the original could not be read"));
        if (quint64(st.st_size) != f->size ||
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec != f->mtimeNs)
            return different(item.relative, tr("changed since the disc was written"));
    }
    return ArrivalCheck{Arrival::Arrived, name, QString(), Hash128()};
}
