// SPDX-License-Identifier: GPL-3.0-or-later
#include <random>

#include <QtTest>

#include "core/dispense/Dispenser.h"
#include "core/dispense/MediumPlanner.h"
#include "core/dispense/SeriesPlanner.h"
#include "core/dispense/TryCalcerFactory.h"
#include "core/dispense/TryCalcerProto.h"
#include "core/model/DM.h"
#include "tests/common/TestMounts.h"
#include "tests/common/TreeMaker.h"

// The series planner against what a user gets by hand with Dispense and
// Delete, medium after medium.
class TestSeries : public QObject
{
    Q_OBJECT

    // Random files and folders in dir as entries of random groups, plus the
    // extra ones ("tree lines" separated by ';', group); the model holds just
    // them.
    static std::vector<SeriesEntry> makeEntries(const QString& dir, std::mt19937& rng, int count,
                                                quint64 block,
                                                const QList<QPair<QString, int>>& extra)
    {
        dataModel()->newProject();
        QList<QPair<QStringList, int>> made;
        for (const auto& e : extra)
            made.append({e.first.split(';'), e.second});
        for (int i = 0; i < count; ++i) {
            const quint64 size = rng() % (40 * block) + rng() % 3 * (rng() % 700);
            const QString name = QString("e%1-%2").arg(i).arg(QString(int(rng() % 70), 'n'));
            QStringList lines;
            if (rng() % 3 == 0)
                for (int f = 0, files = int(rng() % 6); f <= files; ++f)
                    lines << QString("f:%1/%2=%3").arg(name).arg(f).arg(size / (f + 1));
            else
                lines << QString("f:%1=%2").arg(name).arg(size);
            made.append({lines, Required + int(rng() % 3)});
        }
        for (const auto& e : made) {
            if (!TreeMaker::make(dir, e.first))
                return {};
            const QString name = e.first[0].mid(2).section('/', 0, 0).section('=', 0, 0);
            EntryPos pos = dataModel()->addEntry(
                {name, dir, dir + '/' + name, 0, false, e.first[0].contains('/') ? Folder : File});
            dataModel()->moveEntry(pos, e.second);
        }
        std::vector<SeriesEntry> entries;
        for (int g = Required; g <= Background; ++g)
            for (EntryPos p = dataModel()->groupBegin(g); dataModel()->isValidPos(p); ++p.index)
                entries.push_back({p, dataModel()->entryAt(p).Ident});
        return entries;
    }

private slots:
    void repeatedDispense_data()
    {
        QTest::addColumn<int>("fileSystem");
        QTest::addColumn<quint64>("block");
        QTest::addColumn<int>("seed");
        for (int seed = 1; seed <= 4; ++seed) {
            QTest::addRow("NTFS %d", seed) << int(NTFS) << quint64(4096) << seed;
            QTest::addRow("FAT32 %d", seed) << int(FAT) << quint64(16384) << seed;
            QTest::addRow("UDF %d", seed) << int(UDF) << quint64(2048) << seed;
            QTest::addRow("exFAT %d", seed) << int(EXFAT) << quint64(32768) << seed;
            QTest::addRow("ext4 %d", seed) << int(EXT4) << quint64(4096) << seed;
        }
    }

    // The series is Dispense then Delete, again and again; what no medium
    // holds is set apart with its reason, and nothing goes twice. The ext4
    // media have 6 free inodes, which bind before their blocks do.
    void repeatedDispense()
    {
        QFETCH(int, fileSystem);
        QFETCH(quint64, block);
        QFETCH(int, seed);
        QTemporaryDir dir;
        std::mt19937 rng(seed);
        const quint64 room = 150 + seed * 7 + (fileSystem == UDF ? 262 : 0);
        // Larger than a medium; gone before the plan; too large for FAT32.
        QList<QPair<QString, int>> odd{{QString("f:huge=%1").arg(room * block * 2), Background},
                                       {"f:gone=5", Required}};
        if (fileSystem == FAT)
            odd.append({"f:big/dvd.iso=4294967296", Main});
        if (fileSystem == EXT4) // 12 files in a folder: 13 inodes
            odd.append({"f:many/a=1;f:many/b=1;f:many/c=1;f:many/d=1;f:many/e=1;f:many/f=1;"
                        "f:many/g=1;f:many/h=1;f:many/i=1;f:many/j=1;f:many/k=1;f:many/l=1",
                        Required});
        const std::vector<SeriesEntry> entries = makeEntries(dir.path(), rng, 24, block, odd);
        QVERIFY(!entries.empty());
        QVERIFY(QFile::remove(dir.filePath("gone")));
        Target target{dir.path(), fileSystem, block, room};
        target.AvailableInodes = fileSystem == EXT4 ? 6 : target.AvailableInodes;
        dataModel()->setTarget(target);

        SeriesPlanner planner(target, entries);
        QVERIFY(planner.run());
        const SeriesResult& r = planner.result();
        QMap<QString, QString> where; // entry -> "medium N" or its reason
        for (const SeriesApart& a : r.apart)
            where[dataModel()->entryAt(a.pos).Name] = SeriesPlanner::apartText(a.reason);
        QCOMPARE(where.value("huge"), SeriesPlanner::apartText(SeriesPlanner::ApartLarger));
        QCOMPARE(where.value("gone"), SeriesPlanner::apartText(SeriesPlanner::ApartVanished));
        if (fileSystem == FAT)
            QCOMPARE(where.value("big"), SeriesPlanner::apartText(SeriesPlanner::ApartFatFile));
        if (fileSystem == EXT4)
            QCOMPARE(where.value("many"), SeriesPlanner::apartText(SeriesPlanner::ApartInodes));
        QVERIFY(r.media.size() >= 3);
        QVERIFY(r.lowerBound >= 1 && r.lowerBound <= r.media.size());
        for (std::size_t m = 0; m < r.media.size(); ++m) {
            QVERIFY(r.media[m].proven);
            QCOMPARE(r.media[m].usedBytes + r.media[m].wastedBytes, r.mediumBytes);
            for (const EntryPos& p : r.media[m].entries) {
                const QString name = dataModel()->entryAt(p).Name;
                QVERIFY2(!where.contains(name), qPrintable(name + " twice"));
                where[name] = QString("medium %1").arg(m + 1);
            }
        }
        QCOMPARE(where.size(), int(entries.size()));

        // By hand: each Dispense fills a fresh medium from what is left.
        for (std::size_t m = 0;; ++m) {
            Dispenser d;
            d.start();
            QVERIFY(d.wait(60000) && d.failure().isEmpty());
            if (d.resultQueue().empty()) {
                QCOMPARE(m, r.media.size());
                break;
            }
            QVERIFY(m < r.media.size());
            QStringList got;
            for (const EntryPos& p : d.resultQueue().items())
                got << dataModel()->entryAt(p).Name;
            for (const QString& name : got)
                QCOMPARE(where.value(name), QString("medium %1").arg(m + 1));
            QCOMPARE(got.size(), int(r.media[m].entries.size()));
            QCOMPARE(d.wasted(), r.media[m].wastedBytes);
            dataModel()->applyDispense(d.resultQueue(), d.wasted());
            dataModel()->forgetDispensed();
        }
    }

    // The fullest media one by one leave 8, 7 and three 5s alone (7 media);
    // starting each with the largest entry pairs the 5s with the 3s (6).
    void repacking()
    {
        QTemporaryDir dir;
        std::vector<SeriesEntry> entries;
        for (int blocks : {9, 8, 7, 5, 5, 5, 3, 3, 3}) {
            const QString name = QString::number(entries.size());
            QVERIFY(TreeMaker::make(dir.path(), {QString("f:%1=%2").arg(name).arg(blocks * 65536)}));
            entries.push_back({EntryPos{Main, int(entries.size())}, dir.filePath(name)});
        }
        // FAT32 at 64 KiB: 9 clusters of room and two held back for the
        // checksum list, one of them the target folder's for all the names.
        SeriesPlanner planner(Target{dir.path(), FAT, 65536, 11}, entries);
        QVERIFY(planner.run());
        QCOMPARE(planner.result().media.size(), std::size_t(6));
        for (const SeriesMedium& m : planner.result().media)
            QVERIFY(m.entries.size() == 1 || m.entries[0].index >= 3); // a 5 and a 3
    }

    // Every level of a medium keeps the FAT32 target folder within 65,536
    // entries, one that is not searched too (the largest entry a repacking
    // puts first): Required's smaller entry and Main's one are left out.
    void limitsOnEveryLevel()
    {
        const auto calc = createTryCalcer(Target{"/x", FAT, 512, 100000});
        const quint32 full = 32 * 65536;
        // The checksum list's name takes two entries from the start.
        const QMap<int, QVector<PlaceItem>> items{
            {Required, {{0, 2, full - 64, 0, 65534}, {1, 1, 128, 0, 4}}}, {Main, {{0, 1, 96, 0, 3}}}};
        QMap<int, std::vector<unsigned>> chosen;
        MediumPlanner::Hooks hooks;
        hooks.measure = [&](const MediumPlanner::Level& level, TryCalcerProto& c) {
            for (const PlaceItem& it : items[level.group])
                c.queueItem(it);
        };
        hooks.chosen = [&](const MediumPlanner::Level& level, const std::vector<unsigned>& c) {
            chosen[level.group] = c;
        };
        std::atomic_int request{MediumPlanner::Searching};
        std::atomic_bool stop{false};
        MediumPlanner planner(request, stop);
        QCOMPARE(planner.plan(*calc, {{Required}, {Main, false}}, hooks), MediumPlanner::Finished);
        QCOMPARE(chosen[Required], std::vector<unsigned>{0});
        QCOMPARE(chosen[Main], std::vector<unsigned>{});
    }

    // A medium's search cut by its time limit still gives a whole series; a
    // cancel leaves nothing.
    void limits()
    {
        QTemporaryDir dir;
        // Block counts all multiples of 3 and a room no choice fills: the
        // search of a level never ends by itself.
        std::mt19937 rng(5);
        std::vector<SeriesEntry> entries;
        for (int i = 0; i < 90; ++i) {
            const QString name = dir.filePath(QString::number(i));
            QVERIFY(TreeMaker::make(dir.path(), {QString("f:%1=%2").arg(i).arg(
                                                    3 * (rng() % 20000 + 1000) * 4096)}));
            entries.push_back({EntryPos{Main, i}, name});
        }
        const Target target{dir.path(), NTFS, 4096, 3 * 200000 + 2 + 100};
        for (const char* how : {"time", "cancel"}) {
            SeriesPlanner planner(target, entries);
            const bool cancel = QByteArray(how) == "cancel";
            planner.setMediumTimeLimit(cancel ? -1 : 0);
            planner.setProgress([&](const SeriesPlanner::Progress& p) {
                if (cancel && !p.measuring)
                    planner.cancel();
            });
            QCOMPARE(planner.run(), !cancel);
            std::size_t placed = 0;
            for (const SeriesMedium& m : planner.result().media)
                placed += m.entries.size();
            QCOMPARE(placed, cancel ? 0 : entries.size());
        }
    }

    // Scenes around the folder of the lists, with what it holds afterwards:
    // only regular files named as lists go, a link is never written through,
    // and a failed export leaves the earlier set as it was.
    void exportLists_data()
    {
        QTest::addColumn<QStringList>("tree");  // in the folder; ".." holds "precious"
        QTest::addColumn<bool>("full");         // on a tmpfs with no room left
        QTest::addColumn<QStringList>("after"); // empty: as before
        const QStringList lists{"medium-01.nul", "medium-01.txt", "medium-02.nul", "medium-02.txt"};
        QTest::newRow("stale lists go, other names stay")
            << QStringList{"f:medium-03.txt=1",     "f:medium-001.nul=1", "f:notes.txt=1",
                           "f:medium-1.txt=1",      "f:medium-00.txt=1",  "f:Medium-04.txt=1",
                           "f:medium-04.txt.bak=1", "d:medium-05.nul"}
            << false
            << QStringList{"Medium-04.txt", "medium-00.txt", "medium-04.txt.bak", "medium-05.nul",
                           "medium-1.txt"} +
                   lists + QStringList{"notes.txt"};
        QTest::newRow("link at a list's name")
            << QStringList{"f:medium-01.txt=1", "l:medium-02.txt->../precious"} << false
            << QStringList();
        QTest::newRow("folder at a list's name")
            << QStringList{"f:medium-01.txt=1", "d:medium-02.nul"} << false << QStringList();
        QTest::newRow("link at a stale list's name stays")
            << QStringList{"l:medium-09.txt->../precious"} << false
            << lists + QStringList{"medium-09.txt"};
        QTest::newRow("full disk")
            << QStringList{"f:medium-01.txt=1", "f:medium-09.nul=1"} << true << QStringList();
    }

    void exportLists()
    {
        QFETCH(QStringList, tree);
        QFETCH(bool, full);
        QFETCH(QStringList, after);
        QTemporaryDir dir;
        TestMounts mounts;
        const QString top = full ? mounts.tmpfs(dir.filePath("small"), 1) : dir.path();
        if (top.isEmpty())
            QSKIP(qPrintable(mounts.why()));
        const QString out = top + "/lists";
        QVERIFY(TreeMaker::make(top, {"f:precious=7"}) && TreeMaker::make(out, tree));
        const auto snapshot = [&] {
            QStringList state;
            for (const QFileInfo& f : QDir(top).entryInfoList(QDir::AllEntries | QDir::System |
                                                              QDir::Hidden | QDir::NoDotAndDotDot))
                state << f.fileName() + (f.isSymLink() ? "@" : "") + QString::number(f.size());
            for (const QFileInfo& f : QDir(out).entryInfoList(QDir::AllEntries | QDir::System |
                                                              QDir::Hidden | QDir::NoDotAndDotDot))
                state << f.fileName() + (f.isSymLink() ? "@" : "") + QString::number(f.size());
            return state;
        };
        QFile filler(top + "/filler");
        QVERIFY(!full ||
                (filler.open(QIODevice::WriteOnly) && filler.write(QByteArray(2 << 20, 'f')) > 0));
        filler.close();
        const QStringList before = snapshot();
        SeriesResult r;
        r.media.resize(2);
        r.media[0].entries = {{Required, 0}, {Main, 1}};
        r.media[1].entries = {{Main, 0}};
        const QMap<int, QString> paths{
            {Required * 10, "/a/b c"}, {Main * 10 + 1, "/a/line\nbreak"}, {Main * 10, "/ä"}};
        const auto pathOf = [&](const EntryPos& p) { return paths.value(p.group * 10 + p.index); };
        QString error;
        int breaks = 0;
        const bool ok = SeriesPlanner::exportLists(r, pathOf, out, error, &breaks);
        QFile precious(top + "/precious");
        QCOMPARE(precious.size(), 7);
        if (after.isEmpty()) {
            QVERIFY2(!ok && error.contains(out), qPrintable(error));
            QCOMPARE(snapshot(), before);
            return;
        }
        QVERIFY2(ok, qPrintable(error));
        QCOMPARE(breaks, 1);
        QStringList now = QDir(out).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                              QDir::NoDotAndDotDot);
        now.sort(), after.sort();
        QCOMPARE(now, after);
        const auto read = [&](const char* name) {
            QFile f(out + '/' + name);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("unreadable");
        };
        QCOMPARE(read("medium-01.txt"), QByteArray("/a/b c\n"));
        QCOMPARE(read("medium-01.nul"), QByteArray("/a/b c\0/a/line\nbreak\0", 21));
        QCOMPARE(read("medium-02.txt"), QByteArray("/\xc3\xa4\n"));
        // A folder that cannot be made is an error, not a silent success.
        QVERIFY(!SeriesPlanner::exportLists(r, pathOf, out + "/medium-01.txt/x", error));
        QVERIFY(error.contains("medium-01.txt"));
    }
};

QTEST_GUILESS_MAIN(TestSeries)
#include "test_series.moc"
