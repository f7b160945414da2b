// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disc/DiscArrival.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>

#include "core/copy/CopyList.h"

DiscArrival::DiscArrival(const QString& drive, const QString& volumeId, const QString& why)
    : m_problem(why)
{
    if (!volumeId.isEmpty() && !m_record.load(volumeId))
        m_problem = tr("The disc in %1 was not written and read back by Quillmarch").arg(drive);
}

ArrivalCheck DiscArrival::check(const QString& entry) const
{
    const QString name = QFileInfo(entry).fileName();
    if (!m_problem.isEmpty() || !m_record.holdsEntry(name))
        return ArrivalCheck{Arrival::NotFound, QString()};
    const auto different = [](const QByteArray& relative, const QString& why) {
        return ArrivalCheck{Arrival::Different,
                            QFile::decodeName(relative) + QStringLiteral(": ") + why};
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
    return ArrivalCheck{Arrival::Arrived, QString()};
}
