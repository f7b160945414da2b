// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Which target file system a volume holds, decided from what the mount table,
// libblkid and udev say about it.
class FileSystemChoice
{
public:
    // What the mount table's type alone tells.
    enum MountVerdict
    {
        IsNtfs,       // ntfs, ntfs3
        IsFat,        // vfat, msdos: FAT32 only when it has enough clusters
        ProbeSource,  // FUSE: the type underneath is known only from the source
        IsUnsupported // everything else
    };
    static MountVerdict fromMountType(const QString& type);

    // FAT32 is fixed by the cluster count: fewer than 65,525 clusters make
    // FAT12 or FAT16 whatever the boot sector claims.
    static bool isFat32ClusterCount(quint64 clusters);

    // From libblkid's or udev's TYPE and VERSION: NTFS, FAT (FAT32 only), or
    // -1 for anything the program cannot fill.
    static int fromProbe(const QString& type, const QString& version);
};
