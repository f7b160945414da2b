// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>

#include <QSet>
#include <QString>
#include <QVector>

struct libmnt_table;

// One mounted file system, as far as choosing a target needs it.
struct Mount
{
    QString mountPoint;
    QString type;   // file-system type, such as ntfs3, vfat, fuseblk or fuse.sshfs
    QString source; // a device, an image file or a free text
    bool readOnly = false;

    bool isFuse() const;
};

// The mount table in the kernel's mountinfo format, read through libmount, in
// mount order (later mounts on the same point hide earlier ones).
class MountTable
{
public:
    // Reads a mountinfo file; lines libmount cannot read are left out, and a
    // file that cannot be opened gives an empty table.
    static MountTable read(const QString& file = QStringLiteral("/proc/self/mountinfo"));
    // The types /proc/filesystems marks "nodev" (no backing device).
    static QSet<QString> nodevTypes(const QByteArray& filesystems);

    // The mounts that can be a target, in ascending mount-point order: disk
    // file systems (FUSE ones only over a device or an image file), writable,
    // not squashfs or iso9660, one per device (its ROOT "/" mount preferred).
    QVector<Mount> driveVolumes(const QSet<QString>& nodev) const;

    // The mount holding path, which must exist: the one whose mount point is
    // the longest prefix of it, the latest of equal ones.
    std::optional<Mount> mountFor(const QString& path) const;

private:
    std::shared_ptr<libmnt_table> m_table;
};
