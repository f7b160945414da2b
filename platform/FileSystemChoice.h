// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Which target file system a volume holds, decided from what the mount table,
// libblkid and udev say about it, and why a volume cannot be filled.
class FileSystemChoice
{
public:
    // What the mount table's type alone tells.
    enum MountVerdict
    {
        IsNtfs,       // ntfs, ntfs3
        IsFat,        // vfat, msdos: FAT32 only when it has enough clusters
        IsExfat,      // exfat, the kernel's driver
        IsExt4,       // ext4, unless the volume underneath is ext2 or ext3
        ProbeSource,  // FUSE: the type underneath is known only from the source
        IsUnsupported // everything else
    };
    static MountVerdict fromMountType(const QString& type);

    // FAT32 is fixed by the cluster count: fewer than 65,525 clusters make
    // FAT12 or FAT16 whatever the boot sector claims.
    static bool isFat32ClusterCount(quint64 clusters);

    // From libblkid's or udev's TYPE and VERSION of a FUSE mount's source:
    // NTFS, FAT (FAT32 only), EXFAT, or -1 for anything the program cannot
    // fill (ext4 through FUSE is laid out by another allocator).
    static int fromProbe(const QString& type, const QString& version);

    // Why a volume of this type cannot be filled, in the user's words: the
    // mount type, or under FUSE the probed TYPE ("ext4" there: through
    // FUSE); "Unsupported file system" when there is nothing more to say.
    static QString refusal(const QString& type, bool underFuse = false);
};
