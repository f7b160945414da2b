// SPDX-License-Identifier: GPL-3.0-or-later
#include <random>
#include <sys/statvfs.h>

#include <QtTest>

#include "core/dispense/Dispenser.h"
#include "core/dispense/TargetDiscovery.h"
#include "core/model/EntriesModel.h"
#include "core/model/EntryPaths.h"
#include "core/plan/DispenseRoad.h"
#include "tests/common/TestMounts.h"
#include "tests/common/TreeMaker.h"

// One plan has one waste, whichever road set it: Dispense, the same medium
// dispensed from a series, the project opened again, and, once some of its
// entries are deleted, the same as opening the plan of those left.
class TestDispenseRoad : public QObject
{
    Q_OBJECT

    static QStringList dispensed(DM* m)
    {
        QStringList idents;
        for (EntryPos p = m->groupBegin(Dispensed); m->isValidPos(p); ++p.index)
            idents << m->entryAt(p).Ident;
        return idents;
    }
    // The waste the plan held in file shows when opened again.
    static quint64 reopened(const QString& file)
    {
        EntriesModel m;
        DispenseRoad road(&m);
        if (!m.load(file, "p"))
            return ~quint64(0);
        road.holdLoaded();
        return road.plan().isComplete() ? m.wastedSize() : ~quint64(0);
    }

private slots:
    void roadsAgree_data()
    {
        QTest::addColumn<int>("fileSystem"); // -1: the NTFS volume, probed
        QTest::addColumn<quint64>("block");
        QTest::addColumn<int>("seed");
        for (int seed : {1, 2}) {
            QTest::addRow("NTFS 4096 %d", seed) << int(NTFS) << quint64(4096) << seed;
            QTest::addRow("NTFS 512 %d", seed) << int(NTFS) << quint64(512) << seed;
            QTest::addRow("FAT32 %d", seed) << int(FAT) << quint64(16384) << seed;
            QTest::addRow("UDF %d", seed) << int(UDF) << quint64(2048) << seed;
        }
        QTest::addRow("NTFS volume") << -1 << quint64(0) << 3;
    }

    void roadsAgree()
    {
        QFETCH(int, fileSystem);
        QFETCH(quint64, block);
        QFETCH(int, seed);
        QTemporaryDir dir;
        TestMounts mounts;
        DM* m = dataModel();
        m->newProject();
        DispenseRoad road(m);
        QString problem;
        if (fileSystem < 0) {
            m->setTarget({mounts.ntfs(dir.filePath("volume"), 8, false)});
            QM_NEED_VOLUME(mounts, m->target().Path);
            QCOMPARE(road.refreshTarget(probeTarget, problem), DispenseRoad::TargetRefreshed);
        } else {
            m->setTarget({"", fileSystem, block, (3 << 20) / block});
        }
        const Target target = m->target();
        // Folders of small files with long names, where byte sizes and block
        // costs part most, and larger files; about twice what the target holds.
        std::mt19937 rng(seed);
        for (int i = 0; i < 30; ++i) {
            const QString name = QString("e%1%2").arg(i).arg(QString(int(rng() % 90), 'x'));
            QStringList tree;
            for (int f = 0, files = i % 3 ? 0 : int(rng() % 20) + 1; f < files; ++f)
                tree << QString("f:%1/%2%3=%4")
                            .arg(name)
                            .arg(f)
                            .arg(QString(f * 7 % 60, 'y'))
                            .arg(rng() % 3000);
            if (tree.isEmpty())
                tree << QString("f:%1=%2").arg(name).arg(rng() % (target.capacity() / 5));
            QVERIFY(TreeMaker::make(dir.filePath("src"), tree));
            Entry e;
            QVERIFY(entryForPath(dir.filePath("src/" + name), e));
            EntryPos p = m->addEntry(e);
            m->moveEntry(p, Required + i % 3);
        }

        Dispenser d;
        d.start();
        QVERIFY(d.wait(60000) && d.failure().isEmpty());
        road.apply(d);
        const quint64 waste = m->wastedSize();
        const QStringList chosen = dispensed(m);
        QVERIFY2(!chosen.isEmpty() && m->totalCount() > 0,
                 qPrintable(QString("%1 chosen, %2 left").arg(chosen.size()).arg(m->totalCount())));
        QCOMPARE(waste, d.wasted()); // the figure the search reported as it went
        quint64 bytes = 0;
        for (EntryPos p{Dispensed, 0}; m->isValidPos(p); ++p.index)
            bytes += m->entryAt(p).Size;
        QVERIFY(target.capacity() - bytes != waste); // byte sizes would tell another story

        road.undispense();
        SeriesPlanner series(target, road.seriesEntries());
        QVERIFY(series.run() && !series.result().media.empty());
        QVERIFY(road.applyMedium(target, series.result().media[0]));
        QCOMPARE(dispensed(m), chosen);
        QCOMPARE(m->wastedSize(), waste);

        const QString file = dir.filePath("p.qmp");
        QVERIFY(m->saveAs(file));
        QCOMPARE(reopened(file), waste);

        // Some deleted: the rest hold what they hold opened again, and more is free.
        std::vector<EntryPos> gone{{Dispensed, 0}};
        m->removeEntries(gone);
        road.followDispensed();
        QVERIFY(m->saveAs(file) && m->wastedSize() > waste);
        QCOMPARE(reopened(file), m->wastedSize());

        if (fileSystem >= 0)
            return;
        // Copied for real, the plan leaves at least the room it promised.
        QStringList copy{"-r", "--sparse=never"};
        QCOMPARE(QProcess::execute("cp", copy + dispensed(m) << target.Path), 0);
        struct statvfs fs;
        QVERIFY(::statvfs(QFile::encodeName(target.Path).constData(), &fs) == 0);
        QVERIFY2(quint64(fs.f_bavail) * fs.f_frsize >= m->wastedSize(),
                 qPrintable(QString("%1 free, %2 promised")
                                .arg(fs.f_bavail * fs.f_frsize)
                                .arg(m->wastedSize())));
    }

    // Scenes of names that land at one place in the target folder: the search
    // never chooses two of them, the one before (higher group, then list
    // order) takes part, and a result that holds two anyway (an older
    // project) has each learn of the other.
    void nameClashes_data()
    {
        QTest::addColumn<int>("fileSystem");
        QTest::addColumn<QString>("entries"); // group digit and path, comma-separated
        QTest::addColumn<QString>("leftOut");
        QTest::addRow("same name, two folders") << int(NTFS) << "2a/notes,2b/notes"
                                                << "b/notes";
        QTest::addRow("the higher group keeps it") << int(FAT) << "2a/Notes.txt,1b/NOTES.TXT"
                                                   << "a/Notes.txt";
        QTest::addRow("trailing dots and spaces on FAT32") << int(FAT) << "2a/x,2b/x.,2c/x .,2d/.x"
                                                           << "b/x.,c/x .";
        QTest::addRow("letters by their upper case, one to one")
            << int(NTFS) << "3a/\u00c4rger,3b/\u00e4rger,3c/stra\u00dfe,3d/STRASSE"
            << "b/\u00e4rger";
        QTest::addRow("a folder and a file") << int(FAT) << "2a/Photos/x,2b/photos"
                                             << "b/photos";
        QTest::addRow("case counts on UDF") << int(UDF) << "2a/Notes,2b/notes,2c/x."
                                            << "";
    }

    void nameClashes()
    {
        QFETCH(int, fileSystem);
        QFETCH(QString, entries);
        QFETCH(QString, leftOut);
        QTemporaryDir dir;
        DM* m = dataModel();
        m->newProject();
        m->setTarget({"", fileSystem, 4096, 1000});
        for (const QString& e : entries.split(',')) {
            // A folder entry is the first part of a longer path.
            const QString path = e.mid(1).section('/', 0, 1);
            QVERIFY(TreeMaker::make(dir.path(), {"f:" + e.mid(1) + "=100"}));
            Entry entry;
            QVERIFY(entryForPath(dir.filePath(path), entry));
            EntryPos p = m->addEntry(entry);
            m->moveEntry(p, e[0].digitValue());
        }
        DispenseRoad road(m);
        Dispenser d;
        QStringList named;
        for (const DispenseRoad::NameClash& c : road.prepare(d))
            named << c.ident.mid(dir.path().size() + 1);
        QCOMPARE(named.join(','), leftOut);
        const int count = entries.count(',') + 1;
        QCOMPARE(int(road.seriesEntries().size()), count - named.size()); // the series likewise
        d.start();
        QVERIFY(d.wait(60000) && d.failure().isEmpty());
        road.apply(d);
        QStringList chosen = dispensed(m);
        QCOMPARE(chosen.size(), count - named.size()); // room for all
        for (const QString& gone : named)
            QVERIFY(!chosen.contains(dir.filePath(gone)));
        // Held together after all, each learns of another.
        road.undispense();
        DispenseQueue all;
        for (int g = Required; g <= Background; ++g)
            for (EntryPos p = m->groupBegin(g); m->isValidPos(p); ++p.index)
                all.push(p);
        m->applyDispense(all, 0);
        int clashing = 0;
        for (int other : road.dispensedSameNames())
            clashing += other >= 0;
        QCOMPARE(clashing, named.isEmpty() ? 0 : named.size() + 1);
    }

    // Figures the project file would refuse are refused before a plan, and a
    // save never writes them; nothing of the model changes.
    void refusedFigures_data()
    {
        QTest::addColumn<quint64>("block");
        QTest::addColumn<quint64>("blocks");
        QTest::addColumn<QString>("why");
        QTest::newRow("block size not a power of two") << quint64(1000) << quint64(9) << "1000";
        QTest::newRow("block size too small") << quint64(256) << quint64(9) << "256";
        QTest::newRow("capacity of 2^63 bytes") << quint64(512) << (quint64(1) << 54) << "8 EiB";
    }

    void refusedFigures()
    {
        QFETCH(quint64, block);
        QFETCH(quint64, blocks);
        QFETCH(QString, why);
        QTemporaryDir dir;
        DM* m = dataModel();
        m->newProject();
        const Target bad{"/", NTFS, block, blocks};
        m->setTarget(bad);
        QString problem;
        DispenseRoad road(m);
        QCOMPARE(road.refreshTarget([](bool, Target&) { return false; }, problem),
                 DispenseRoad::TargetFailed);
        QVERIFY2(problem.contains(why), qPrintable(problem));
        QVERIFY(m->target() == bad);
        QVERIFY(m->saveAs(dir.filePath("p.qmp")));
        EntriesModel loaded;
        QVERIFY(loaded.load(dir.filePath("p.qmp"), "p") && !loaded.hasTarget());
        QFile saved(dir.filePath("p.qmp"));
        QVERIFY(saved.open(QIODevice::ReadOnly) && !saved.readAll().contains("<Target>"));
    }
};

QTEST_GUILESS_MAIN(TestDispenseRoad)
#include "test_dispenseroad.moc"
