// SPDX-License-Identifier: GPL-3.0-or-later
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
        QTest::newRow("name used twice") << "twice" << int(DiscResult::Refused);
    }

    void refusedOrStopped()
    {
        QFETCH(QString, how);
        QFETCH(int, status);
        QString folder = m_space;
        if (how == "small") {
            folder = m_mounts.tmpfs(m_dir.filePath("small"), 4);
            if (folder.isEmpty())
                QSKIP(qPrintable(m_mounts.why()));
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
        const DiscResult r = write(job, [&](const DiscProgress& p) {
            if (how == "changed" && p.phase == DiscProgress::Verifying && p.done == 0)
                randomFile(photo, 3 << 20); // same size, other bytes
        });
        QVERIFY2(r.status == status, qPrintable(QString::number(r.status) + ' ' + r.message));
        QVERIFY(!r.message.isEmpty());
        if (status == DiscResult::Refused)
            QVERIFY(QFileInfo(folder + "/disc.iso").size() == 0);
        if (how == "changed")
            QCOMPARE(r.differing, QStringList{photo + ": changed while it was written"});
        QFile::remove(folder + "/disc.iso");
    }
};

QTEST_GUILESS_MAIN(TestDiscWriter)
#include "test_discwriter.moc"
