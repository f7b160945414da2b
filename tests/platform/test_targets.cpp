// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/statvfs.h>

#include <QtTest>

#include "core/copy/VolumeIdentity.h"
#include "core/dispense/TargetDiscovery.h"
#include "platform/BurnRecorder.h"
#include "platform/FileSystemChoice.h"
#include "platform/MountTable.h"
#include "platform/SourceProbe.h"
#include "tests/common/TestMounts.h"

// Targets as the target picker lists and probes them: the mount table from
// mountinfo text, volumes mounted for real, and libburn's stdio pseudo-drives.
class TestTargets : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
private slots:
    void mountTable()
    {
        QFile table(m_dir.filePath("mountinfo")), proc("/proc/filesystems");
        QVERIFY(proc.open(QIODevice::ReadOnly) && table.open(QIODevice::WriteOnly));
        table.write("27 1 254:0 / / rw - ext4 /dev/vda rw\n"
                    "48 27 0:49 / /home/u/remote rw - fuse.sshfs u@h:/srv rw\n"
                    "51 27 8:19 / /m/superro rw - vfat /dev/sdb3 ro\n"
                    "52 27 7:3 / /snap/core/1 rw - squashfs /dev/loop3 rw\n"
                    "53 27 11:0 / /m/cd rw - iso9660 /dev/sr0 rw\n"
                    "62 27 8:5 /sub /srv/sub rw - ext4 /dev/sda5 rw\n"
                    "60 27 8:1 /home/u/data /srv/data rw - ext4 /dev/sda1 rw\n"
                    "61 27 8:1 / /data rw - ext4 /dev/sda1 rw\n");
        table.close();
        QStringList points;
        const QSet<QString> nodev = MountTable::nodevTypes(proc.readAll());
        for (const Mount& m : MountTable::read(table.fileName()).driveVolumes(nodev))
            points.append(m.mountPoint);
        QCOMPARE(points, QStringList({"/", "/data", "/srv/sub"}));
        QVERIFY(!FileSystemChoice::isFat32ClusterCount(65524) &&
                FileSystemChoice::isFat32ClusterCount(65525));
        // Each refused with its own reason, none mistaken for a target.
        for (const char* type : {"btrfs", "xfs", "f2fs", "zfs", "nfs4", "cifs", "fuse.sshfs"})
            QVERIFY(FileSystemChoice::fromMountType(type) != FileSystemChoice::IsExt4 &&
                    FileSystemChoice::refusal(type) != "Unsupported file system");
    }

    void volumes_data()
    {
        QTest::addColumn<int>("kind");      // of the target when it is one
        QTest::addColumn<QString>("error"); // none: a target, and listed
        QTest::newRow("ntfs-3g over an image") << int(NTFS) << "";
        QTest::newRow("ntfs-3g over a loop device") << int(NTFS) << "";
        QTest::newRow("ntfs-3g hidden by tmpfs") << -1 << FileSystemChoice::refusal("tmpfs");
        QTest::newRow("ntfs-3g bound read-only") << -1 << "The volume is mounted read-only";
        // exfat-fuse mounts as fuseblk, as ntfs-3g does: told apart by libblkid.
        QTest::newRow("exFAT through FUSE") << int(EXFAT) << "";
        QTest::newRow("ext4 of 1 KiB blocks") << int(EXT4) << "";
        // Mounted by the ext4 driver, listed as ext4 in the mount table.
        QTest::newRow("ext3") << -1 << FileSystemChoice::refusal("ext3");
        QTest::newRow("ext4 bigalloc") << -1 << "ext4 with bigalloc cannot be planned";
    }

    void volumes()
    {
        QFETCH(int, kind);
        QFETCH(QString, error);
        const QString tag = QTest::currentDataTag(), folder = m_dir.filePath(tag);
        TestMounts mounts;
        QString root = tag.startsWith("exFAT")    ? mounts.exfat(folder, 24)
                       : tag == "ext3"            ? mounts.ext4(folder, 8, "-t ext3")
                       : tag.endsWith("bigalloc") ? mounts.ext4(folder, 64, "-O bigalloc -C 16384")
                       : tag.startsWith("ext4")   ? mounts.ext4(folder, 8, "-b 1024")
                                                  : mounts.ntfs(folder, 24, tag.endsWith("device"));
        QDir(folder).mkpath("inner/deeper"); // before the read-only view is bound
        if (tag.endsWith("read-only"))
            root = mounts.readOnlyBind(root, folder + " view");
        if (tag.endsWith("by tmpfs"))
            root = mounts.tmpfs(root, 8);
        QM_NEED_VOLUME(mounts, root);
        QVERIFY(QDir(root).mkpath("inner/deeper"));
        QStringList roots;
        listDriveRoots(roots);
        QCOMPARE(roots.contains(root), !tag.endsWith("tmpfs") && !tag.endsWith("read-only"));
        struct statvfs vfs = {};
        ::statvfs(QFile::encodeName(root), &vfs);
        for (const QString& path : QStringList{root, root + "/inner/deeper"}) {
            for (bool whole : {false, true}) {
                const Target before{path, UDF, 7, 9}; // kept when refused
                Target t = before;
                try {
                    QVERIFY(probeTarget(whole, t) && error.isEmpty());
                } catch (const TargetError& e) {
                    QVERIFY2(e.message.startsWith(error), qPrintable(e.message));
                }
                Target probed{path, kind, vfs.f_frsize, whole ? vfs.f_blocks : vfs.f_bavail};
                if (kind == EXT4)
                    probed.AvailableInodes = whole ? vfs.f_files : vfs.f_favail;
                probed.Volume = VolumeIdentity::of(root).volumeId;
                QVERIFY(t == (error.isEmpty() ? probed : before));
                // A target that names another volume is not taken for it.
                Target other = probed;
                other.Volume = "uuid 0";
                try {
                    QVERIFY(!error.isEmpty() || !probeTarget(whole, other));
                } catch (const TargetError& e) {
                    QCOMPARE(e.message.left(7), path == root ? "Another" : "The vol");
                }
            }
            QVERIFY(!error.isEmpty() || VolumeIdentity::of(root).volumeId.startsWith("uuid "));
        }
    }

    void sourceImages_data()
    {
        QTest::addColumn<QString>("format"); // makes the image, $0, for libblkid
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("found");
        QTest::newRow("FAT32") << "mkfs.vfat -F 32 $0" << int(FAT) << "vfat FAT32";
        QTest::newRow("FAT16") << "mkfs.vfat -F 16 $0" << -1 << "vfat FAT16";
        QTest::newRow("exFAT") << "mkfs.exfat $0" << int(EXFAT) << "exfat 1.0";
        // What fuse2fs would mount: another allocator than the kernel's.
        QTest::newRow("ext4") << "mkfs.ext4 -q $0" << -1 << "ext4 1.0";
    }

    void sourceImages()
    {
        QFETCH(QString, format);
        const QString image = m_dir.filePath(QTest::currentDataTag());
        QString type, version;
        QVERIFY(QFile(image).open(QIODevice::WriteOnly) && QFile::resize(image, 64 << 20));
        if (QProcess::execute("sh", {"-c", format + " >/dev/null 2>&1", image}) != 0)
            QSKIP("the formatting tool is missing");
        QVERIFY(SourceProbe::fileSystem(image, type, version));
        QTEST(QString(type + ' ' + version), "found");
        QTEST(FileSystemChoice::fromProbe(type, version), "kind");
    }

    // A pseudo-drive offers the free space of the file system holding its file.
    void recorder()
    {
        TestMounts mounts;
        const QString root = mounts.tmpfs(m_dir.filePath("disc space"), 4);
        QM_NEED_VOLUME(mounts, root);
        QFile other(root + "/other");
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write(QByteArray(1 << 20, 1)) &&
                other.flush());
        // Written as ISO 9660 unless UDF was chosen for it.
        Target t;
        BurnRecorder burner;
        for (int chosen : {NTFS, UDF, ISO9660}) {
            t = Target{"/dev/sr97", chosen, 1, 1};
            probeRecorder(burner, "stdio:" + root + "/disc.iso", t);
            QVERIFY(t == (Target{"/dev/sr97", chosen == UDF ? UDF : ISO9660, 2048, 3 * 512}));
        }
        try {
            probeTarget(false, t); // a recorder's device path reaches libburn
            QFAIL("a target where there is no recorder");
        } catch (const TargetError& e) {
            QCOMPARE(e.message, discStateMessage(DiscState::NoRecorder));
        }
    }
};

QTEST_GUILESS_MAIN(TestTargets)
#include "test_targets.moc"
