// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Reads which file system a device or image file holds, for mounts (FUSE)
// whose type does not say.
class SourceProbe
{
public:
    // TYPE and VERSION as libblkid names them ("ntfs"; "vfat" with "FAT32"),
    // through libblkid where the source can be read, else from udev's record
    // of the device, which a desktop user may read even where the partition
    // itself is root-only. False when neither knows.
    static bool fileSystem(const QString& source, QString& type, QString& version);
    // The file system's UUID (or serial number) on source, the same ways;
    // empty when neither knows.
    static QString uuid(const QString& source);

    // Whether the ext4 volume on source allocates clusters of several blocks
    // (the bigalloc feature), read from its superblock; false where the
    // source cannot be read, as partitions cannot by a desktop user.
    static bool ext4Bigalloc(const QString& source);
};
