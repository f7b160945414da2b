// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>

#include <QtTest>

#include "core/disc/DiscWriter.h"
#include "core/dispense/IsoEntryMeasure.h"
#include "tests/common/TestMounts.h"

namespace {

void randomFile(const QString& path, int bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QByteArray data(bytes, Qt::Uninitialized);
    for (char& c : data)
        c = char(QRandomGenerator::global()->generate());
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(data) == bytes);
}

// The files under a and b, with their bytes, are the same.
bool sameTree(const QString& a, const QString& b)
{
    QDirIterator it(a, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        QFile x(it.next()), y(b + it.filePath().mid(a.size()));
        if (!x.open(QIODevice::ReadOnly) || !y.open(QIODevice::ReadOnly) ||
            x.readAll() != y.readAll())
            return false;
        ++files;
    }
    QDirIterator other(b, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    for (; other.hasNext(); other.next())
        --files;
    return files == 0;
}

} // namespace

// Writing discs and images end to end: images and libburn's stdio
// pseudo-drives over files, read back and compared.
class TestDiscWriter : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    TestMounts m_mounts;
    QString m_space;
    std::vector<DiscEntry> m_entries;

    DiscResult write(DiscJob job, const std::function<void(const DiscProgress&)>& seen = {})
    {
        std::atomic_bool cancel{false};
        if (job.entries.empty())
            job.entries = m_entries;
        return createDiscWriter()->write(
            job,
            [&](const DiscProgress& p) {
                if (seen)
                    seen(p);
                // The writing has begun: libburn writes from its own thread.
                if (p.phase == DiscProgress::Writing && job.volumeId == "CANCEL")
                    cancel = true;
            },
            cancel);
    }

private slots:
    void initTestCase()
    {
        m_space = m_mounts.tmpfs(m_dir.filePath("space"), 96);
        if (m_space.isEmpty())
            m_space = m_dir.path();
        const QString src = m_space + "/src";
        // A folder of long names that libisofs 1.5.4 miscounts, other files,
        // and long names at the root too.
        for (int i = 0; i < 60; ++i)
            randomFile(QString("%1/names/%2%3").arg(src).arg(i).arg(QString(215, 'n')), i * 300);
        randomFile(src + "/photos/IMG_0001.JPG", 3 << 20);
        randomFile(src + "/photos/sub/IMG_0002.JPG", 5 << 20);
        randomFile(src + "/photos/empty", 0);
        randomFile(src + "/loose file.txt", 70000);
        for (const QString& name : QDir(src).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            m_entries.push_back({src + '/' + name, 0});
        IsoEntryMeasure m;
        m.measure(src + "/names");
        QVERIFY(m.miscountedFolders() > 0);
    }

    void writeAndReadBack_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("image file") << "image";
        QTest::newRow("stdio drive") << "stdio";
    }

    void writeAndReadBack()
    {
        QFETCH(QString, target);
        const QString file = m_space + "/out.iso";
        QFile::remove(file);
        DiscJob job;
        (target == "image" ? job.imageFile : job.drive) =
            (target == "image" ? "" : "stdio:") + file;
        QList<DiscProgress::Phase> phases;
        const DiscResult r = write(job, [&](const DiscProgress& p) {
            if (phases.isEmpty() || phases.last() != p.phase)
                phases << p.phase;
        });
        QVERIFY2(r.status == DiscResult::Written && r.verified, qPrintable(r.message));
        QVERIFY(phases.size() >= 3 && phases[0] == DiscProgress::Preparing &&
                phases[1] == DiscProgress::Writing && phases.last() == DiscProgress::Verifying);
        QCOMPARE(QFileInfo(file).size(), qint64(r.imageBlocks) * 2048);
        // Known by the identity a mounted disc has, every file with its hash.
        QProcess blkid;
        blkid.start("blkid", {"-p", "-o", "value", "-s", "UUID", file});
        QVERIFY(blkid.waitForFinished());
        QCOMPARE(QString("uuid " + blkid.readAllStandardOutput().trimmed()), r.volumeId);
        QCOMPARE(int(r.files.size()), 64);
        // Another reader (libarchive) sees the same files, through Rock Ridge
        // as Linux does and through Joliet as Windows does.
        const QString rr = m_space + "/rr", joliet = m_space + "/joliet";
        QDir().mkpath(rr);
        QDir().mkpath(joliet);
        const int extracted = QProcess::execute("bsdtar", {"-xf", file, "-C", rr});
        if (extracted == -2)
            QSKIP("bsdtar (libarchive-tools) is not installed");
        QCOMPARE(extracted, 0);
        QVERIFY(sameTree(m_space + "/src", rr));
        QCOMPARE(QProcess::execute("bsdtar",
                                   {"--options", "iso9660:!rockridge", "-xf", file, "-C", joliet}),
                 0);
        QCOMPARE(QDir(joliet + "/names").count(), QDir(rr + "/names").count());
        QVERIFY(sameTree(m_space + "/src/photos", joliet + "/photos"));
        QDir(rr).removeRecursively();
        QDir(joliet).removeRecursively();
        // Once it holds files, a drive is written over only when asked to.
        if (target == "stdio") {
            const DiscResult again = write(job);
            QCOMPARE(again.status, DiscResult::Refused);
            job.overwrite = true;
            QCOMPARE(write(job).status, DiscResult::Written);
        }
        QFile::remove(file);
    }

    void refusedOrStopped_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("status");
        QTest::newRow("too small a medium") << "small" << int(DiscResult::Refused);
        QTest::newRow("entry changed since planning") << "entry" << int(DiscResult::Refused);
        QTest::newRow("image bigger than planned") << "blocks" << int(DiscResult::Refused);
        QTest::newRow("cancelled while writing") << "cancel" << int(DiscResult::Cancelled);
        QTest::newRow("changed while written") << "changed" << int(DiscResult::Differs);
        QTest::newRow("other bytes on the disc") << "bytes" << int(DiscResult::Differs);
        QTest::newRow("name used twice") << "twice" << int(DiscResult::Refused);
    }

    void refusedOrStopped()
    {
        QFETCH(QString, how);
        QFETCH(int, status);
        QString folder = m_space;
        if (how == "small") {
            folder = m_mounts.tmpfs(m_dir.filePath("small"), 4);
            QM_NEED_VOLUME(m_mounts, folder);
        }
        DiscJob job;
        job.drive = "stdio:" + folder + "/disc.iso";
        job.entries = m_entries;
        const QString photo = m_space + "/src/photos/IMG_0001.JPG";
        if (how == "entry")
            job.entries.back().plannedBytes = 1;
        if (how == "blocks")
            job.plannedBlocks = 100;
        if (how == "cancel")
            job.volumeId = "CANCEL";
        if (how == "twice")
            job.entries.push_back({m_space + "/src/photos", 0});
        QFile::remove(folder + "/disc.iso");
        struct stat before;
        QCOMPARE(::stat(QFile::encodeName(photo), &before), 0);
        const DiscResult r = write(job, [&](const DiscProgress& p) {
            if (p.phase != DiscProgress::Verifying || p.done != 0 || how == "cancel")
                return;
            if (how == "changed" || how == "bytes")
                randomFile(photo, 3 << 20); // same size, other bytes
            // Only the comparison of the bytes can tell.
            const timespec times[2] = {before.st_atim, before.st_mtim};
            if (how == "bytes")
                ::utimensat(AT_FDCWD, QFile::encodeName(photo), times, 0);
        });
        QVERIFY2(r.status == status, qPrintable(QString::number(r.status) + ' ' + r.message));
        QVERIFY(!r.message.isEmpty());
        if (status == DiscResult::Refused)
            QVERIFY(QFileInfo(folder + "/disc.iso").size() == 0);
        if (how == "changed")
            QCOMPARE(r.differing, QStringList{photo + ": changed while it was written"});
        if (how == "bytes")
            QCOMPARE(r.differing, QStringList{photo + ": holds other bytes on the disc"});
        QFile::remove(folder + "/disc.iso");
    }
};

QTEST_GUILESS_MAIN(TestDiscWriter)
#include "test_discwriter.moc"
