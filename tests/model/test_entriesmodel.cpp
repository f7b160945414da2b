#include <QtTest>

#include "model/EntriesModel.h"
#include "model/SizeText.h"

namespace {

Entry makeEntry(const QString& name, quint64 size, bool valid = true, int kind = File)
{
    Entry e;
    e.Name = name;
    e.Path = QStringLiteral("/data");
    e.Ident = QStringLiteral("/data/") + name;
    e.Size = size;
    e.IsValidSize = valid;
    e.Kind = kind;
    return e;
}

// What the caches must always hold: the sums over Required, Main and Background.
void verifyTotals(EntriesModel& m)
{
    quint64 size = 0;
    int count = 0;
    for (int g = Required; g <= Background; ++g) {
        for (EntryPos p = m.groupBegin(g); m.isValidPos(p); ++p.index) {
            ++count;
            if (m.entryAt(p).IsValidSize)
                size += m.entryAt(p).Size;
        }
    }
    QCOMPARE(m.totalCount(), count);
    QCOMPARE(m.totalSize(), size);
    QCOMPARE(m.origins().size(), m.groupSize(Dispensed));
}

QStringList names(EntriesModel& m, int group)
{
    QStringList out;
    for (EntryPos p = m.groupBegin(group); m.isValidPos(p); ++p.index)
        out << m.entryAt(p).Name;
    return out;
}

// Adds entries a..e to Main, then moves them so that Required = [r0], Main =
// [m0 m1 m2 m3], Background = [b0].
void fillFiveGroups(EntriesModel& m)
{
    const QStringList all = {QStringLiteral("r0"), QStringLiteral("m0"), QStringLiteral("m1"),
                             QStringLiteral("m2"), QStringLiteral("m3"), QStringLiteral("b0")};
    quint64 size = 100;
    for (const QString& n : all)
        m.addEntry(makeEntry(n, size += 100));
    EntryPos r{Main, 0};
    m.moveEntry(r, Required);
    EntryPos b{Main, 4};
    m.moveEntry(b, Background);
}

Target makeTarget(quint64 blocks = 1000, quint64 blockSize = 4096)
{
    Target t;
    t.Path = QStringLiteral("/media/disk");
    t.FileSystem = NTFS;
    t.BlockSize = blockSize;
    t.AvailableBlocks = blocks;
    return t;
}

} // namespace

class TestEntriesModel : public QObject
{
    Q_OBJECT
private slots:
    void newModel();
    void addFolderThenSizeKnown();
    void moves_data();
    void moves();
    void removeFromNotInUseKeepsTotals();
    void moveIntoOwnGroup();
    void applyDispenseOrderAndOrigins();
    void undispenseRestores();
    void forgetDispensedWithoutTarget();
    void dispensedEntriesLeaveWithTheirOrigins();
    void totalsStayExactUnderRandomOperations();
    void flagsOverTime();
    void saveWithoutFileFails();
    void dispenseQueueOrder();
    void sizeText_data();
    void sizeText();
    void groupTitles();
};

void TestEntriesModel::newModel()
{
    EntriesModel m;
    QCOMPARE(m.entryCount(), 0);
    QVERIFY(m.isUntitled());
    QString name;
    QVERIFY(m.projectFile(name));
    QCOMPARE(name, QStringLiteral("New Project"));
    QVERIFY(!m.hasTarget());
    QVERIFY(!m.isModified());
    QVERIFY(!m.isDispensed());
    QCOMPARE(m.wastedSize(), quint64(0));
    for (int g = Dispensed; g <= NoGroup; ++g)
        QVERIFY(!m.isValidPos(m.groupBegin(g)));
    QVERIFY(!m.isValidPos(EntryPos{Main, -1}));
}

void TestEntriesModel::addFolderThenSizeKnown()
{
    EntriesModel m;
    const EntryPos p = m.addEntry(makeEntry(QStringLiteral("f"), 0, false, Folder));
    QCOMPARE(p, (EntryPos{Main, 0}));
    QCOMPARE(m.totalCount(), 1);
    QCOMPARE(m.totalSize(), quint64(0));
    QVERIFY(m.isModified());
    m.entryAt(p).Size = 5000;
    m.entryAt(p).IsValidSize = true;
    QCOMPARE(m.entrySizeKnown(p), p);
    QCOMPARE(m.totalSize(), quint64(5000));
    verifyTotals(m);
}

void TestEntriesModel::moves_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    for (int from = Dispensed; from <= NotInUse; ++from)
        for (int to = Dispensed; to <= NotInUse; ++to)
            QTest::addRow("%d->%d", from, to) << from << to;
}

// Every move between any two groups keeps the caches equal to the sums over
// the three counted groups (a move out of Dispensed included) and origins in
// step with Dispensed.
void TestEntriesModel::moves()
{
    QFETCH(int, from);
    QFETCH(int, to);
    EntriesModel m;
    m.addEntry(makeEntry(QStringLiteral("a"), 700));
    m.addEntry(makeEntry(QStringLiteral("b"), 300));
    m.addEntry(makeEntry(QStringLiteral("c"), 0, false, Folder));
    if (from != Main) {
        for (int i = 0; i < 3; ++i) {
            EntryPos p{Main, 0};
            m.moveEntry(p, from);
        }
    }
    verifyTotals(m);
    EntryPos p{from, 0};
    const QString moved = m.entryAt(p).Name;
    EntryPos& r = m.moveEntry(p, to);
    QCOMPARE(&r, &p);
    QCOMPARE(p.group, to);
    QCOMPARE(p.index, m.groupSize(to) - 1);
    QCOMPARE(m.entryAt(p).Name, moved);
    verifyTotals(m);
    // Moving back restores the totals.
    m.moveEntry(p, from);
    verifyTotals(m);
    QCOMPARE(m.entryCount(), 3);
}

void TestEntriesModel::removeFromNotInUseKeepsTotals()
{
    EntriesModel m;
    m.addEntry(makeEntry(QStringLiteral("a"), 10));
    EntryPos p = m.addEntry(makeEntry(QStringLiteral("b"), 20));
    m.moveEntry(p, NotInUse);
    QCOMPARE(m.totalCount(), 1);
    QCOMPARE(m.totalSize(), quint64(10));
    m.removeEntry(p);
    QCOMPARE(m.totalCount(), 1);
    QCOMPARE(m.totalSize(), quint64(10));
    m.removeEntry(EntryPos{Main, 0});
    QCOMPARE(m.totalCount(), 0);
    QCOMPARE(m.totalSize(), quint64(0));
}

void TestEntriesModel::moveIntoOwnGroup()
{
    EntriesModel m;
    for (const char* n : {"x", "y", "z"})
        m.addEntry(makeEntry(QLatin1String(n), 1));
    EntryPos p{Main, 0};
    m.moveEntry(p, Main);
    QCOMPARE(p, (EntryPos{Main, 2}));
    QCOMPARE(names(m, Main), (QStringList{"y", "z", "x"}));
    verifyTotals(m);
}

void TestEntriesModel::applyDispenseOrderAndOrigins()
{
    EntriesModel m;
    fillFiveGroups(m);
    QCOMPARE(names(m, Main), (QStringList{"m0", "m1", "m2", "m3"}));
    DispenseQueue q;
    for (EntryPos p : {EntryPos{Required, 0}, EntryPos{Main, 3}, EntryPos{Main, 1},
                       EntryPos{Background, 0}})
        q.push(p);
    m.setTarget(makeTarget());
    m.applyDispense(q, 12345);
    QVERIFY(q.empty());
    QCOMPARE(names(m, Dispensed), (QStringList{"b0", "m3", "m1", "r0"}));
    QCOMPARE(m.origins(), (QVector<int>{3, 2, 2, 1}));
    QCOMPARE(names(m, Main), (QStringList{"m0", "m2"}));
    QVERIFY(m.isDispensed());
    QVERIFY(m.isModified());
    QCOMPARE(m.wastedSize(), quint64(12345));
    verifyTotals(m);
}

void TestEntriesModel::undispenseRestores()
{
    EntriesModel m;
    fillFiveGroups(m);
    m.setTarget(makeTarget(1000, 4096));
    DispenseQueue q;
    for (EntryPos p : {EntryPos{Required, 0}, EntryPos{Main, 3}, EntryPos{Main, 1},
                       EntryPos{Background, 0}})
        q.push(p);
    m.applyDispense(q, 1);
    m.undispense();
    QVERIFY(!m.isDispensed());
    QCOMPARE(m.groupSize(Dispensed), 0);
    QCOMPARE(names(m, Required), (QStringList{"r0"}));
    QCOMPARE(names(m, Background), (QStringList{"b0"}));
    // Put back into one group in reverse order of their place in Dispensed.
    QCOMPARE(names(m, Main), (QStringList{"m0", "m2", "m1", "m3"}));
    QCOMPARE(m.wastedSize(), quint64(1000) * 4096);
    verifyTotals(m);
}

void TestEntriesModel::forgetDispensedWithoutTarget()
{
    EntriesModel m;
    fillFiveGroups(m);
    DispenseQueue q;
    q.push(EntryPos{Main, 0});
    m.applyDispense(q, 99);
    m.forgetDispensed();
    QCOMPARE(m.wastedSize(), quint64(0));
    QCOMPARE(m.groupSize(Dispensed), 0);
    QVERIFY(m.origins().isEmpty());
    QVERIFY(!m.isDispensed());
    verifyTotals(m);
}

// Removing or moving an entry out of Dispensed takes its origin along, so a
// later undispense puts every remaining entry where it came from.
void TestEntriesModel::dispensedEntriesLeaveWithTheirOrigins()
{
    EntriesModel m;
    fillFiveGroups(m);
    DispenseQueue q;
    for (EntryPos p : {EntryPos{Required, 0}, EntryPos{Main, 2}, EntryPos{Background, 0}})
        q.push(p);
    m.applyDispense(q, 0); // Dispensed = b0 m2 r0, origins 3 2 1
    m.removeEntry(EntryPos{Dispensed, 1});
    QCOMPARE(m.origins(), (QVector<int>{3, 1}));
    EntryPos p{Dispensed, 0};
    m.moveEntry(p, NotInUse);
    QCOMPARE(m.origins(), (QVector<int>{1}));
    verifyTotals(m);
    m.undispense();
    QCOMPARE(names(m, Required), (QStringList{"r0"}));
    QCOMPARE(names(m, Background), QStringList());
    QCOMPARE(names(m, NotInUse), (QStringList{"b0"}));
    verifyTotals(m);
}

void TestEntriesModel::totalsStayExactUnderRandomOperations()
{
    EntriesModel m;
    m.setTarget(makeTarget());
    QRandomGenerator rng(4711);
    for (int step = 0; step < 3000; ++step) {
        const int op = rng.bounded(7);
        const int n = m.entryCount();
        if (op == 0 || n < 3) {
            const bool valid = rng.bounded(3) != 0;
            m.addEntry(makeEntry(QString::number(step), rng.bounded(1u << 30), valid,
                                 valid ? File : Folder));
        } else {
            const int g = rng.bounded(5);
            if (m.groupSize(g) == 0)
                continue;
            EntryPos p{g, int(rng.bounded(m.groupSize(g)))};
            if (op == 1) {
                m.removeEntry(p);
            } else if (op <= 3) {
                m.moveEntry(p, rng.bounded(5));
            } else if (op == 4) {
                Entry& e = m.entryAt(p);
                if (!e.IsValidSize) {
                    e.Size = rng.bounded(1u << 20);
                    e.IsValidSize = true;
                    m.entrySizeKnown(p);
                }
            } else if (op == 5 && g >= Required && g <= Background) {
                DispenseQueue q;
                q.push(p);
                m.applyDispense(q, 0);
            } else {
                m.undispense();
            }
        }
        verifyTotals(m);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("after step %1 (op %2)").arg(step).arg(op)));
    }
}

void TestEntriesModel::flagsOverTime()
{
    EntriesModel m;
    m.addEntry(makeEntry(QStringLiteral("a"), 1));
    QVERIFY(m.isModified());
    m.newProject();
    QVERIFY(!m.isModified());
    m.setTarget(makeTarget());
    QVERIFY(m.isModified());
    QVERIFY(m.isUntitled());
    m.newProject();
    QVERIFY(!m.hasTarget());
    const EntryPos p = m.addEntry(makeEntry(QStringLiteral("f"), 0, false, Folder));
    m.newProject();
    m.addEntry(makeEntry(QStringLiteral("f"), 0, false, Folder));
    const bool before = m.isModified();
    m.entryAt(p).IsValidSize = true;
    m.entrySizeKnown(p);
    QCOMPARE(m.isModified(), before);
}

// A project that was never given a file has nowhere to be saved to.
void TestEntriesModel::saveWithoutFileFails()
{
    EntriesModel m;
    m.addEntry(makeEntry(QStringLiteral("a"), 1));
    QVERIFY(!m.save());
    QVERIFY(m.isModified());
    QVERIFY(!m.lastError().isEmpty());
    QVERIFY(!QFile::exists(QStringLiteral("New Project")));
}

void TestEntriesModel::dispenseQueueOrder()
{
    DispenseQueue q;
    const QVector<EntryPos> in = {{2, 3}, {1, 0}, {3, 0}, {2, 1}, {3, 5}, {2, 0}};
    for (const EntryPos& p : in)
        q.push(p);
    QVector<EntryPos> out;
    while (!q.empty()) {
        out << q.top();
        q.pop();
    }
    QCOMPARE(out, (QVector<EntryPos>{{3, 5}, {3, 0}, {2, 3}, {2, 1}, {2, 0}, {1, 0}}));
}

void TestEntriesModel::sizeText_data()
{
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << Q_UINT64_C(0) << "0";
    QTest::newRow("1024") << Q_UINT64_C(1024) << "1024";
    QTest::newRow("1025") << Q_UINT64_C(1025) << "1.0 kb";
    QTest::newRow("1536") << Q_UINT64_C(1536) << "1.5 kb";
    QTest::newRow("2^20") << Q_UINT64_C(1048576) << "1024.0 kb";
    QTest::newRow("2^20+1") << Q_UINT64_C(1048577) << "1.0 Mb";
    QTest::newRow("1.5G") << Q_UINT64_C(1610612736) << "1.5 Gb";
    QTest::newRow("2^30+1") << Q_UINT64_C(1073741825) << "1.0 Gb";
    QTest::newRow("2^40") << (Q_UINT64_C(1) << 40) << "1024.0 Gb";
    QTest::newRow("2^40+1") << (Q_UINT64_C(1) << 40) + 1 << "1.0 TB";
    QTest::newRow("2^50+1") << (Q_UINT64_C(1) << 50) + 1 << "1.0 EB";
    QTest::newRow("max") << ~Q_UINT64_C(0) << "16384.0 EB";
}

void TestEntriesModel::sizeText()
{
    QFETCH(quint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(::sizeText(bytes), text);
}

void TestEntriesModel::groupTitles()
{
    const QStringList expected = {"Dispensed", "Required", "Main", "Background", "Not In Use"};
    for (int g = 0; g < 5; ++g)
        QCOMPARE(groupTitle(g), expected.at(g));
}

QTEST_GUILESS_MAIN(TestEntriesModel)
#include "test_entriesmodel.moc"
