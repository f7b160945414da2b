// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// Real volumes for tests, mounted in folders the test owns and unmounted when
// the object goes. A maker returns the mount point, or an empty string with
// the reason in why() when the machine cannot provide it.
//
// Mounting needs root. As root, a test program that links this file runs in a
// mount and process namespace of its own (see TestMounts.cpp), so that even
// when it is killed (ctest's timeout) the kernel drops its mounts, loop
// devices and FUSE daemons; set QM_TEST_PRIVATE_MOUNTS=0 to run it in place
// (under a debugger, say).
class TestMounts
{
public:
    ~TestMounts();
    // Unmounts what this object mounted, last first.
    void unmountAll();
    // mkntfs on an image, mounted by ntfs-3g over the image file itself (type
    // "fuse") or over a loop device ("fuseblk"); clusterBytes 0: mkntfs's choice.
    // mebibytes 0 mounts the image folder.img already there.
    QString ntfs(const QString& folder, int mebibytes, bool overLoopDevice, int clusterBytes = 0);
    QString tmpfs(const QString& folder, int mebibytes);
    // mkfs.vfat -F 32 on folder.img (512-byte clusters, at least 34 MiB; an
    // image already there is taken as it is), mounted read-write by fusefat:
    // the kernel here has no vfat. Its statvfs reads 0: ask minfo.
    QString fat32(const QString& folder, int mebibytes);
    // mkfs.ext4 with options (such as "-b 1024", or "-t ext3") on an image,
    // loop-mounted by the kernel's ext4 driver.
    QString ext4(const QString& folder, int mebibytes, const QString& options = QString());
    // mkfs.exfat on an image, mounted by exfat-fuse over a loop device.
    QString exfat(const QString& folder, int mebibytes, int clusterBytes = 0);
    // The folder again at bindFolder, read-only.
    QString readOnlyBind(const QString& folder, const QString& bindFolder);
    const QString& why() const { return m_why; }

    // Counts the running test row as one on a real volume, run (mounted) or
    // skipped, in the file QM_REAL_VOLUME_LOG names; returns mounted.
    static bool countRow(bool mounted);

private:
    // Runs a shell script with $1 the folder, made first, and $2 arg.
    QString mount(const QString& folder, const QString& arg, const char* script);
    QStringList m_mounts; // unmounted in reverse order
    QString m_why;
};

// In a test function: the row needs the volume at mountPoint; skipped, with
// the reason in capitals, when it could not be mounted. Counted either way,
// for the summary of `make test`.
#define QM_NEED_VOLUME(mounts, mountPoint)                                                         \
    do {                                                                                           \
        if (!TestMounts::countRow(!(mountPoint).isEmpty()))                                        \
            QSKIP(qPrintable((mounts).why()));                                                     \
    } while (false)
