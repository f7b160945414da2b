// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileSystemChoice.h"

#include "core/model/Entry.h"

FileSystemChoice::MountVerdict FileSystemChoice::fromMountType(const QString& type)
{
    if (type == QLatin1String("ntfs") || type == QLatin1String("ntfs3"))
        return IsNtfs;
    if (type == QLatin1String("vfat") || type == QLatin1String("msdos"))
        return IsFat;
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
    return -1;
}
