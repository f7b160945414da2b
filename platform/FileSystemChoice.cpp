// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileSystemChoice.h"

#include <QCoreApplication>
#include <QStringList>

#include "core/model/Entry.h"

FileSystemChoice::MountVerdict FileSystemChoice::fromMountType(const QString& type)
{
    if (type == QLatin1String("ntfs") || type == QLatin1String("ntfs3"))
        return IsNtfs;
    if (type == QLatin1String("vfat") || type == QLatin1String("msdos"))
        return IsFat;
    if (type == QLatin1String("exfat"))
        return IsExfat;
    if (type == QLatin1String("ext4"))
        return IsExt4;
    if (type == QLatin1String("fuse") || type == QLatin1String("fuseblk") ||
        type.startsWith(QLatin1String("fuse.")))
        return ProbeSource;
    return IsUnsupported;
}

bool FileSystemChoice::isFat32ClusterCount(quint64 clusters)
{
    return clusters >= 65525;
}

int FileSystemChoice::fromProbe(const QString& type, const QString& version)
{
    if (type == QLatin1String("ntfs"))
        return NTFS;
    if (type == QLatin1String("vfat") && version == QLatin1String("FAT32"))
        return FAT;
    if (type == QLatin1String("exfat"))
        return EXFAT;
    return -1;
}

QString FileSystemChoice::refusal(const QString& type, bool underFuse)
{
    if (underFuse && type.startsWith(QLatin1String("ext")))
        return QCoreApplication::translate(
            "FileSystemChoice",
            "ext4 mounted through FUSE cannot be planned: its driver places blocks "
            "differently from the kernel's; mount the volume with the kernel's ext4 driver");
    if (type == QLatin1String("ext2") || type == QLatin1String("ext3"))
        return QCoreApplication::translate(
            "FileSystemChoice",
            "ext2 and ext3 cannot be planned: they map files through indirect blocks, "
            "which Quillmarch does not count");
    if (type == QLatin1String("btrfs"))
        return QCoreApplication::translate(
            "FileSystemChoice",
            "Btrfs cannot be planned: compression, small files kept inside its metadata "
            "and the metadata's second copy make its free space unpredictable");
    if (type == QLatin1String("zfs"))
        return QCoreApplication::translate(
            "FileSystemChoice",
            "ZFS cannot be planned: compression, extra copies and space shared by the "
            "whole pool make its free space unpredictable");
    if (type == QLatin1String("xfs"))
        return QCoreApplication::translate(
            "FileSystemChoice",
            "XFS cannot be planned: it allocates inodes and folder blocks as files "
            "arrive and reserves room ahead of writing, so what a copy takes is not "
            "known in advance");
    if (type == QLatin1String("f2fs"))
        return QCoreApplication::translate(
            "FileSystemChoice",
            "F2FS cannot be planned: it writes in logs that it cleans up in the "
            "background, so what a copy takes is not known in advance");
    if (type == QLatin1String("tmpfs") || type == QLatin1String("ramfs"))
        return QCoreApplication::translate(
            "FileSystemChoice",
            "This folder is held in memory and emptied when the computer stops: "
            "it is no storage medium");
    static const QStringList network = {
        QStringLiteral("nfs"),   QStringLiteral("nfs4"),     QStringLiteral("cifs"),
        QStringLiteral("smb3"),  QStringLiteral("smbfs"),    QStringLiteral("9p"),
        QStringLiteral("afs"),   QStringLiteral("ceph"),     QStringLiteral("glusterfs"),
        QStringLiteral("davfs"), QStringLiteral("virtiofs"), QStringLiteral("lustre")};
    if (network.contains(type) || type.startsWith(QLatin1String("fuse.")))
        return QCoreApplication::translate(
            "FileSystemChoice",
            "Network and FUSE file systems cannot be planned: the free space they "
            "report belongs to another system, laid out in a way Quillmarch cannot see");
    return QCoreApplication::translate("FileSystemChoice", "Unsupported file system");
}
