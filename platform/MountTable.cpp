// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MountTable.h"

#include <algorithm>

#include <libmount/libmount.h>

#include <QFile>
#include <QHash>
#include <QList>

#include "platform/FileSystemChoice.h"

namespace {

QString text(const char* s)
{
    return s ? QFile::decodeName(s) : QString();
}

Mount record(libmnt_fs* fs)
{
    Mount m;
    m.mountPoint = text(mnt_fs_get_target(fs));
    m.type = text(mnt_fs_get_fstype(fs));
    m.source = text(mnt_fs_get_source(fs));
    // "ro" per mount or per superblock: either refuses writes.
    m.readOnly = mnt_fs_get_option(fs, "ro", nullptr, nullptr) == 0;
    return m;
}

} // namespace

bool Mount::isFuse() const
{
    return FileSystemChoice::fromMountType(type) == FileSystemChoice::ProbeSource;
}

MountTable MountTable::read(const QString& file)
{
    MountTable table;
    table.m_table.reset(mnt_new_table(), mnt_unref_table);
    mnt_table_parse_file(table.m_table.get(), QFile::encodeName(file).constData());
    return table;
}

QSet<QString> MountTable::nodevTypes(const QByteArray& filesystems)
{
    QSet<QString> types;
    for (const QByteArray& line : filesystems.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() == 2 && f.at(0) == "nodev")
            types.insert(QString::fromLatin1(f.at(1)));
    }
    return types;
}

QVector<Mount> MountTable::driveVolumes(const QSet<QString>& nodev) const
{
    libmnt_table* tb = m_table.get();
    QVector<Mount> picked;
    QHash<dev_t, int> byDevice; // -> index in picked
    QVector<bool> atRoot;       // of picked: the mount shows the file system's root
    libmnt_iter* it = mnt_new_iter(MNT_ITER_FORWARD);
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(tb, it, &fs) == 0) {
        // A later mount on the same point hides the earlier ones.
        if (mnt_table_find_target(tb, mnt_fs_get_target(fs), MNT_ITER_BACKWARD) != fs)
            continue;
        const Mount m = record(fs);
        if (m.readOnly || m.type == QLatin1String("squashfs") || m.type == QLatin1String("iso9660"))
            continue;
        // FUSE also serves network and virtual file systems; only one over a
        // device or an image can hold a disk file system.
        if (m.isFuse() ? !m.source.startsWith(QLatin1Char('/')) : nodev.contains(m.type))
            continue;
        const bool isRoot = qstrcmp(mnt_fs_get_root(fs), "/") == 0;
        const auto seen = byDevice.constFind(mnt_fs_get_devno(fs));
        if (seen == byDevice.constEnd()) {
            byDevice.insert(mnt_fs_get_devno(fs), picked.size());
            picked.append(m);
            atRoot.append(isRoot);
        } else if (!atRoot.at(*seen) && isRoot) {
            picked[*seen] = m;
            atRoot[*seen] = true;
        }
    }
    mnt_free_iter(it);
    std::sort(picked.begin(), picked.end(),
              [](const Mount& a, const Mount& b) { return a.mountPoint < b.mountPoint; });
    return picked;
}

std::optional<Mount> MountTable::mountFor(const QString& path) const
{
    libmnt_fs* fs = mnt_table_find_mountpoint(m_table.get(), QFile::encodeName(path).constData(),
                                              MNT_ITER_BACKWARD);
    if (!fs)
        return std::nullopt;
    return record(fs);
}
