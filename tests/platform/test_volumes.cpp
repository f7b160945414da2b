#include <sys/statvfs.h>

#include <QtTest>

#include "platform/FileSystemChoice.h"
#include "platform/SourceProbe.h"
#include "core/dispense/TargetDiscovery.h"
#include "tests/common/TestMounts.h"

// Volumes mounted for real in a temporary folder, listed and probed as the
// target picker does it.
class TestVolumes : public QObject
{
    Q_OBJECT
private slots:
    void ntfsListedAndProbed_data();
    void ntfsListedAndProbed();
    void unsupported_data();
    void unsupported();
    void readOnlyNtfs();
    void missingPath();
    void sourceImages_data();
    void sourceImages();

private:
    QTemporaryDir m_dir;
};

static struct statvfs statOf(const QString& path)
{
    struct statvfs vfs = {};
    if (::statvfs(QFile::encodeName(path).constData(), &vfs) != 0)
        qFatal("statvfs failed");
    return vfs;
}

static QStringList driveRoots()
{
    QStringList roots;
    listDriveRoots(roots);
    return roots;
}

static QString probeError(const QString& path)
{
    Target t;
    t.Path = path;
    t.BlockSize = 7;
    t.AvailableBlocks = 9;
    try {
        probeTarget(false, t);
    } catch (const TargetError& e) {
        // A refused target keeps its figures.
        if (t.BlockSize != 7 || t.AvailableBlocks != 9)
            return QStringLiteral("target changed");
        return e.message;
    }
    return QString();
}

void TestVolumes::ntfsListedAndProbed_data()
{
    QTest::addColumn<bool>("overLoopDevice");
    QTest::addColumn<QString>("folder");
    QTest::newRow("ntfs-3g over an image (fuse)") << false << "ntfs image";
    QTest::newRow("ntfs-3g over a loop device (fuseblk)") << true << "ntfs loop";
}

void TestVolumes::ntfsListedAndProbed()
{
    QFETCH(bool, overLoopDevice);
    QFETCH(QString, folder);
    TestMounts mounts;
    const QString root = mounts.ntfs(m_dir.filePath(folder), 24, overLoopDevice);
    if (root.isEmpty())
        QSKIP(qPrintable(mounts.why()));
    QVERIFY(QDir(root).mkpath(QStringLiteral("inner/deeper")));

    const QStringList roots = driveRoots();
    QVERIFY2(roots.contains(root), qPrintable(roots.join(QLatin1Char(','))));
    // Volumes come in ascending order (recorders, /dev/srN, are listed apart).
    QStringList volumes = roots.filter(QRegularExpression(QStringLiteral("^/(?!dev/sr)")));
    QStringList ascending = volumes;
    std::sort(ascending.begin(), ascending.end());
    QCOMPARE(volumes, ascending);

    for (const QString& path : QStringList{root, root + QStringLiteral("/inner/deeper")}) {
        for (bool whole : {false, true}) {
            Target t;
            t.Path = path;
            QVERIFY(probeTarget(whole, t));
            const struct statvfs vfs = statOf(root);
            QCOMPARE(t.Path, path);
            QCOMPARE(t.FileSystem, int(NTFS));
            QCOMPARE(t.BlockSize, quint64(4096));
            QCOMPARE(t.AvailableBlocks, quint64(whole ? vfs.f_blocks : vfs.f_bavail));
            QVERIFY(t.AvailableBlocks > 0);
        }
    }

}

void TestVolumes::unsupported_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("listed");
    QTest::newRow("tmpfs") << "tmpfs" << false;
    QTest::newRow("ext4") << "ext4" << true;
}

void TestVolumes::unsupported()
{
    QFETCH(QString, kind);
    QFETCH(bool, listed);
    TestMounts mounts;
    const QString folder = m_dir.filePath(kind);
    const QString root =
        kind == QLatin1String("tmpfs") ? mounts.tmpfs(folder, 8) : mounts.ext4(folder, 8);
    if (root.isEmpty())
        QSKIP(qPrintable(mounts.why()));
    QVERIFY(QDir(root).mkpath(QStringLiteral("sub")));
    QCOMPARE(driveRoots().contains(root), listed);
    QCOMPARE(probeError(root), QStringLiteral("Unsupported file system"));
    QCOMPARE(probeError(root + QStringLiteral("/sub")), QStringLiteral("Unsupported file system"));
}

void TestVolumes::readOnlyNtfs()
{
    TestMounts mounts;
    const QString root = mounts.ntfs(m_dir.filePath(QStringLiteral("ro source")), 24, false);
    if (root.isEmpty())
        QSKIP(qPrintable(mounts.why()));
    const QString bound = mounts.readOnlyBind(root, m_dir.filePath(QStringLiteral("ro view")));
    if (bound.isEmpty())
        QSKIP(qPrintable(mounts.why()));
    const QStringList roots = driveRoots();
    QVERIFY(roots.contains(root));
    QVERIFY(!roots.contains(bound));
    QCOMPARE(probeError(bound), QStringLiteral("The volume is mounted read-only"));
}

void TestVolumes::missingPath()
{
    QCOMPARE(probeError(m_dir.filePath(QStringLiteral("no such folder"))),
             QStringLiteral("The drive cannot be read"));
    Target t;
    QVERIFY(!probeTarget(false, t));
}

void TestVolumes::sourceImages_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("mebibytes");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("kind");
    QTest::newRow("FAT32") << "mkfs.vfat" << QStringList{"-F", "32"} << 64 << "vfat" << "FAT32"
                           << int(FAT);
    QTest::newRow("FAT16") << "mkfs.vfat" << QStringList{"-F", "16"} << 16 << "vfat" << "FAT16"
                           << -1;
    QTest::newRow("exFAT") << "mkfs.exfat" << QStringList() << 16 << "exfat" << "1.0" << -1;
    QTest::newRow("NTFS") << "mkntfs" << QStringList{"-F", "-f", "-q"} << 16 << "ntfs" << ""
                          << int(NTFS);
}

void TestVolumes::sourceImages()
{
    QFETCH(QString, program);
    QFETCH(QStringList, args);
    QFETCH(int, mebibytes);
    QFETCH(QString, type);
    QFETCH(QString, version);
    QFETCH(int, kind);
    const QString image =
        m_dir.filePath(QStringLiteral("image ") + QLatin1String(QTest::currentDataTag()));
    QFile f(image);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(qint64(mebibytes) << 20));
    f.close();

    QString foundType;
    QString foundVersion;
    QVERIFY(!SourceProbe::fileSystem(image, foundType, foundVersion)); // blank

    TestMounts tools;
    if (!tools.run(program, args << image))
        QSKIP(qPrintable(tools.why()));
    QVERIFY(SourceProbe::fileSystem(image, foundType, foundVersion));
    QCOMPARE(foundType, type);
    if (!version.isEmpty())
        QCOMPARE(foundVersion, version);
    QCOMPARE(FileSystemChoice::fromProbe(foundType, foundVersion), kind);
}

QTEST_GUILESS_MAIN(TestVolumes)
#include "test_volumes.moc"
