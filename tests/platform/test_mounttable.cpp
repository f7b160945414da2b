#include <QtTest>

#include "platform/FileSystemChoice.h"
#include "platform/MountTable.h"
#include "core/model/Entry.h"

// The mount table and the file-system choice, fed from text as the kernel and
// udev write it.
class TestMountTable : public QObject
{
    Q_OBJECT
private slots:
    void parseFields();
    void driveVolumes_data();
    void driveVolumes();
    void mountFor_data();
    void mountFor();
    void fat32ClusterCount_data();
    void fat32ClusterCount();
    void udevProperties();
};

using paths = QStringList;

static const QByteArray kFilesystems = "nodev\tsysfs\nnodev\ttmpfs\nnodev\tproc\n\text4\n"
                                       "\tvfat\n\tntfs3\n\tsquashfs\n\tfuseblk\nnodev\tfuse\n"
                                       "nodev\tfusectl\n\tiso9660\n";

void TestMountTable::parseFields()
{
    const MountTable t = MountTable::parse(
        "36 35 98:0 /mnt1 /mnt/My\\040Disk\\011tab\\012nl\\134back rw,noatime master:1 - ext3 "
        "/dev/root\\040x rw,errors=continue\n"
        "garbage line\n"
        "37 35 8:1 / /media/Stick ro,nosuid shared:7 - vfat /dev/sdb1 rw,fmask=0022\n"
        "38 35 0:52 / /mnt/u\\303\\244 rw - ntfs3 /dev/sdc1 ro\n");
    QCOMPARE(t.mounts().size(), 3);
    const Mount& a = t.mounts().at(0);
    QCOMPARE(a.device, QStringLiteral("98:0"));
    QCOMPARE(a.root, QStringLiteral("/mnt1"));
    QCOMPARE(a.mountPoint, QStringLiteral("/mnt/My Disk\ttab\nnl\\back"));
    QCOMPARE(a.type, QStringLiteral("ext3"));
    QCOMPARE(a.source, QStringLiteral("/dev/root x"));
    QVERIFY(!a.readOnly);
    // Read-only per mount (options) and per superblock (super options) both count.
    QVERIFY(t.mounts().at(1).readOnly);
    QCOMPARE(t.mounts().at(1).type, QStringLiteral("vfat"));
    QVERIFY(t.mounts().at(2).readOnly);
    QCOMPARE(t.mounts().at(2).mountPoint, QString::fromUtf8("/mnt/u\xc3\xa4"));
    QCOMPARE(MountTable::unescape("a\\04"), QStringLiteral("a\\04"));
    QCOMPARE(MountTable::unescape("a\\09x"), QStringLiteral("a\\09x"));
}

void TestMountTable::driveVolumes_data()
{
    QTest::addColumn<QByteArray>("mountinfo");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("disk file systems sorted, pseudo left out")
        << QByteArray("22 27 0:21 / /proc rw - proc proc rw\n"
                      "23 27 0:22 / /sys rw - sysfs sysfs rw\n"
                      "27 1 254:0 / / rw - ext4 /dev/vda rw\n"
                      "40 27 8:17 / /media/b rw - ntfs3 /dev/sdb1 rw\n"
                      "41 27 8:33 / /media/a rw - vfat /dev/sdc1 rw\n"
                      "42 27 0:40 / /run/user/1000 rw - tmpfs tmpfs rw\n"
                      "43 27 0:41 / /sys/fs/fuse/connections rw - fusectl fusectl rw\n")
        << paths({"/", "/media/a", "/media/b"});
    QTest::newRow("fuse over image or device, not over a service")
        << QByteArray("45 27 0:40 / /tmp/n rw - fuse /tmp/n.img rw,user_id=0\n"
                      "46 27 7:0 / /tmp/l rw - fuseblk /dev/loop0 rw,user_id=0\n"
                      "47 27 0:48 / /run/user/1000/gvfs rw - fuse.gvfsd-fuse gvfsd-fuse rw\n"
                      "48 27 0:49 / /home/u/remote rw - fuse.sshfs u@h:/srv rw\n"
                      "49 27 0:50 / /media/x rw - fuse.exfat-fuse /dev/sdd1 rw\n")
        << paths({"/media/x", "/tmp/l", "/tmp/n"});
    QTest::newRow("read-only, squashfs, iso9660 left out")
        << QByteArray("50 27 8:17 / /media/ro ro - ntfs3 /dev/sdb1 rw\n"
                      "51 27 8:18 / /media/superro rw - vfat /dev/sdb2 ro\n"
                      "52 27 7:3 / /snap/core/1 rw - squashfs /dev/loop3 rw\n"
                      "53 27 11:0 / /media/cd rw - iso9660 /dev/sr0 rw\n"
                      "54 27 8:19 / /media/rw rw - vfat /dev/sdb3 rw\n")
        << paths({"/media/rw"});
    QTest::newRow("duplicate device prefers its root mount")
        << QByteArray("60 27 8:1 /home/u/data /srv/data rw - ext4 /dev/sda1 rw\n"
                      "61 27 8:1 / /data rw - ext4 /dev/sda1 rw\n"
                      "62 27 8:2 / /x rw - ext4 /dev/sda2 rw\n"
                      "63 27 8:2 / /y rw - ext4 /dev/sda2 rw\n")
        << paths({"/data", "/x"});
    QTest::newRow("bind of a subfolder alone is kept")
        << QByteArray("60 27 8:1 /sub /srv/sub rw - ext4 /dev/sda1 rw\n") << paths({"/srv/sub"});
    QTest::newRow("optional fields before the separator")
        << QByteArray("70 27 8:1 / /m rw,relatime shared:1 master:2 propagate_from:3 - ntfs "
                      "/dev/sda1 rw\n")
        << paths({"/m"});
    QTest::newRow("over-mounted point: the later mount wins")
        << QByteArray("80 27 8:1 / /mnt/a rw - ntfs3 /dev/sda1 rw\n"
                      "81 80 0:60 / /mnt/a rw - tmpfs tmpfs rw\n"
                      "82 27 8:2 / /mnt/b rw - tmpfs tmpfs rw\n"
                      "83 82 8:3 / /mnt/b rw - vfat /dev/sda3 rw\n")
        << paths({"/mnt/b"});
    QTest::newRow("unknown type counts as a disk")
        << QByteArray("90 27 8:4 / /mnt/z rw - zfs pool/z rw\n") << paths({"/mnt/z"});
    QTest::newRow("empty") << QByteArray() << QStringList();
}

void TestMountTable::driveVolumes()
{
    QFETCH(QByteArray, mountinfo);
    QFETCH(QStringList, expected);
    const QVector<Mount> volumes =
        MountTable::parse(mountinfo).driveVolumes(MountTable::nodevTypes(kFilesystems));
    QStringList points;
    for (const Mount& m : volumes)
        points.append(m.mountPoint);
    QCOMPARE(points, expected);
}

void TestMountTable::mountFor_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("expected");
    // Indexes into the table below.
    QTest::newRow("plain folder") << "/home/u" << 0;
    QTest::newRow("mount point itself") << "/mnt/img" << 4;
    QTest::newRow("trailing slash") << "/mnt/img/" << 4;
    QTest::newRow("sibling with longer name") << "/mnt/img2/x" << 3;
    QTest::newRow("prefix of a name is no prefix") << "/mnt/imgx" << 1;
    QTest::newRow("dot-dot cleaned") << "/mnt/img/../img2" << 3;
    QTest::newRow("space in name") << "/media/My Disk/f" << 5;
    QTest::newRow("relative") << "mnt/img" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestMountTable::mountFor()
{
    QFETCH(QString, path);
    QFETCH(int, expected);
    const MountTable t = MountTable::parse("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                           "2 1 8:2 / /mnt rw - ext4 /dev/sda2 rw\n"
                                           "3 2 0:40 / /mnt/img rw - fuse /x.img rw\n"
                                           "4 2 0:41 / /mnt/img2 rw - fuse /y.img rw\n"
                                           "5 3 0:42 / /mnt/img rw - tmpfs tmpfs rw\n"
                                           "6 1 8:3 / /media/My\\040Disk rw - vfat /dev/c rw\n");
    QCOMPARE(t.mountFor(path), expected);
}

void TestMountTable::fat32ClusterCount_data()
{
    QTest::addColumn<quint64>("clusters");
    QTest::addColumn<bool>("fat32");
    QTest::newRow("FAT12 top") << Q_UINT64_C(4084) << false;
    QTest::newRow("FAT16 top") << Q_UINT64_C(65524) << false;
    QTest::newRow("FAT32 bottom") << Q_UINT64_C(65525) << true;
    QTest::newRow("large") << Q_UINT64_C(268435445) << true;
}

void TestMountTable::fat32ClusterCount()
{
    QFETCH(quint64, clusters);
    QFETCH(bool, fat32);
    QCOMPARE(FileSystemChoice::isFat32ClusterCount(clusters), fat32);
}

void TestMountTable::udevProperties()
{
    const QHash<QString, QString> p = FileSystemChoice::udevProperties(
        "S:disk/by-uuid/1234-ABCD\nW:12\nI:4031\nE:ID_FS_UUID=1234-ABCD\n"
        "E:ID_FS_VERSION=FAT32\nE:ID_FS_TYPE=vfat\nE:ID_FS_LABEL=A=B\nG:systemd\n");
    QCOMPARE(p.value(QStringLiteral("ID_FS_TYPE")), QStringLiteral("vfat"));
    QCOMPARE(p.value(QStringLiteral("ID_FS_VERSION")), QStringLiteral("FAT32"));
    QCOMPARE(p.value(QStringLiteral("ID_FS_LABEL")), QStringLiteral("A=B"));
    QVERIFY(!p.contains(QStringLiteral("disk/by-uuid/1234-ABCD")));
    QCOMPARE(FileSystemChoice::fromProbe(p.value(QStringLiteral("ID_FS_TYPE")),
                                         p.value(QStringLiteral("ID_FS_VERSION"))),
             int(FAT));
    QVERIFY(FileSystemChoice::udevProperties(QByteArray()).isEmpty());
}

QTEST_GUILESS_MAIN(TestMountTable)
#include "test_mounttable.moc"
