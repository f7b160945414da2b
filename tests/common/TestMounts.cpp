// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/common/TestMounts.h"

#include <unistd.h>

#include <QDir>
#include <QProcess>

TestMounts::~TestMounts()
{
    unmountAll();
}

void TestMounts::unmountAll()
{
    // ntfs-3g may still be flushing: then unmount lazily.
    for (int i = m_mounts.size() - 1; i >= 0; --i)
        QProcess::execute("sh", {"-c", "umount \"$0\" || umount -l \"$0\"", m_mounts.at(i)});
    m_mounts.clear();
}

QString TestMounts::mount(const QString& folder, const QString& arg, const char* script)
{
    QProcess sh;
    if (::geteuid() == 0 && QDir().mkpath(folder)) {
        m_mounts.append(folder); // whatever got mounted is undone
        sh.start("sh", {"-ec", script, "sh", folder, arg});
        if (sh.waitForFinished(60000) && sh.exitStatus() == QProcess::NormalExit && !sh.exitCode())
            return folder;
    }
    m_why = "cannot mount " + folder + " (needs root): " + sh.readAllStandardError();
    return QString();
}

QString TestMounts::ntfs(const QString& folder, int mebibytes, bool overLoopDevice,
                         int clusterBytes)
{
    // A loop device detached while in use goes when it is unmounted.
    return mount(folder, QString("%1 %2").arg(mebibytes).arg(clusterBytes),
                 overLoopDevice
                     ? "set -- \"$1\" $2; truncate -s $2M \"$1.img\"; mkntfs -Ffq \"$1.img\"\n"
                       "d=$(losetup -f --show \"$1.img\"); ntfs-3g $d \"$1\"; losetup -d $d"
                     : "set -- \"$1\" $2; if [ $2 != 0 ]; then truncate -s $2M \"$1.img\"\n"
                       "if [ $3 = 0 ]; then mkntfs -Ffq \"$1.img\"; else mkntfs -Ffq -c $3 "
                       "\"$1.img\"; fi; fi\n"
                       "ntfs-3g \"$1.img\" \"$1\"");
}

QString TestMounts::tmpfs(const QString& folder, int mebibytes)
{
    return mount(folder, QString::number(mebibytes), "mount -t tmpfs -o size=$2M tmpfs \"$1\"");
}

QString TestMounts::fat32(const QString& folder, int mebibytes)
{
    return mount(folder, QString::number(mebibytes),
                 "[ -e \"$1.img\" ] || { truncate -s $2M \"$1.img\";\n"
                 "  mkfs.vfat -F 32 -S 512 -s 1 \"$1.img\" >/dev/null; }\n"
                 "fusefat -o rw+ \"$1.img\" \"$1\"");
}

QString TestMounts::ext4(const QString& folder, int mebibytes, const QString& options)
{
    return mount(
        folder, QString::number(mebibytes) + ' ' + options,
        "f=$1; set -- $2; truncate -s $1M \"$f.img\"; shift; mkfs.ext4 -q \"$@\" \"$f.img\"\n"
        "mount -t ext4 -o loop \"$f.img\" \"$f\"");
}

QString TestMounts::exfat(const QString& folder, int mebibytes, int clusterBytes)
{
    // exfat-fuse needs a block device. The loop device goes at the unmount.
    return mount(
        folder, QString("%1 %2").arg(mebibytes).arg(clusterBytes),
        "f=$1; set -- $2; truncate -s $1M \"$f.img\"\n"
        "if [ $2 = 0 ]; then mkfs.exfat \"$f.img\"; else mkfs.exfat -c $2 \"$f.img\"; fi "
        ">/dev/null\n"
        "d=$(losetup -f --show \"$f.img\"); s=0; mount.exfat-fuse $d \"$f\" 2>/dev/null || s=$?\n"
        "losetup -d $d; exit $s");
}

QString TestMounts::readOnlyBind(const QString& folder, const QString& bindFolder)
{
    return mount(bindFolder, folder, "mount --bind \"$2\" \"$1\"; mount -o remount,bind,ro \"$1\"");
}
