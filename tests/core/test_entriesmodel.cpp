#include <QtTest>

#include "core/model/EntriesModel.h"
#include "core/model/SizeText.h"

namespace {

Entry makeEntry(const QString& name, quint64 size, bool valid = true, int kind = File)
{
    return Entry{name, QStringLiteral("/data"), QStringLiteral("/data/") + name, size, valid, kind};
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

// Required = [r0], Main = [m0 m1 m2 m3], Background = [b0].
void fillFiveGroups(EntriesModel& m)
{
    quint64 size = 100;
    for (const char* n : {"r0", "m0", "m1", "m2", "m3", "b0"})
        m.addEntry(makeEntry(QLatin1String(n), size += 100));
    EntryPos r{Main, 0}, b{Main, 4};
    m.moveEntry(r, Required);
    m.moveEntry(b, Background);
}

Target disk()
{
    return Target{QStringLiteral("/media/disk"), NTFS, 4096, 1000};
}

} // namespace

class TestEntriesModel : public QObject
{
    Q_OBJECT
private slots:
    void flagsOverTime();
    void moves_data();
    void moves();
    void applyDispenseThenUndispense();
    void dispensedEntriesLeaveWithTheirOrigins();
    void totalsStayExactUnderRandomOperations();
    void dispenseQueueOrder();
    void sizeText_data();
    void sizeText();
};

void TestEntriesModel::flagsOverTime()
{
    EntriesModel m;
    QVERIFY(m.isUntitled());
    QVERIFY(!m.isModified());
    QVERIFY(!m.isDispensed());
    QVERIFY(!m.hasTarget());
    QCOMPARE(m.wastedSize(), quint64(0));
    for (int g = Dispensed; g <= NoGroup; ++g)
        QVERIFY(!m.isValidPos(m.groupBegin(g)));
    QVERIFY(!m.isValidPos(EntryPos{Main, -1}));

    m.addEntry(makeEntry(QStringLiteral("a"), 1));
    QVERIFY(m.isModified());
    // Never given a file, it has nowhere to be saved to.
    QVERIFY(!m.save());
    QVERIFY(m.isModified());
    QVERIFY(!m.lastError().isEmpty());
    QVERIFY(!QFile::exists(QStringLiteral("New Project")));
    m.newProject();
    QVERIFY(!m.isModified());
    QCOMPARE(m.entryCount(), 0);
    m.setTarget(disk());
    QVERIFY(m.isModified());
    QVERIFY(m.isUntitled());
    m.newProject();
    QVERIFY(!m.hasTarget());

    // A folder's size becoming known changes the totals, not the flag.
    const EntryPos p = m.addEntry(makeEntry(QStringLiteral("f"), 0, false, Folder));
    QCOMPARE(p, (EntryPos{Main, 0}));
    QCOMPARE(m.totalCount(), 1);
    QCOMPARE(m.totalSize(), quint64(0));
    const bool before = m.isModified();
    m.entryAt(p).Size = 5000;
    m.entryAt(p).IsValidSize = true;
    QCOMPARE(m.entrySizeKnown(p), p);
    QCOMPARE(m.totalSize(), quint64(5000));
    QCOMPARE(m.isModified(), before);
}

void TestEntriesModel::moves_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    for (int from = Dispensed; from <= NotInUse; ++from)
        for (int to = Dispensed; to <= NotInUse; ++to)
            QTest::addRow("%d->%d", from, to) << from << to;
}

// Every move between any two groups, into its own group included, keeps the
// caches equal to the sums over the three counted groups (a move out of
// Dispensed included) and origins in step with Dispensed.
void TestEntriesModel::moves()
{
    QFETCH(int, from);
    QFETCH(int, to);
    EntriesModel m;
    m.addEntry(makeEntry(QStringLiteral("a"), 700));
    m.addEntry(makeEntry(QStringLiteral("b"), 300));
    m.addEntry(makeEntry(QStringLiteral("c"), 0, false, Folder));
    for (int i = 0; from != Main && i < 3; ++i) {
        EntryPos p{Main, 0};
        m.moveEntry(p, from);
    }
    QCOMPARE(names(m, from), (QStringList{"a", "b", "c"}));
    verifyTotals(m);
    EntryPos p{from, 0};
    EntryPos& r = m.moveEntry(p, to);
    QCOMPARE(&r, &p);
    QCOMPARE(p, (EntryPos{to, m.groupSize(to) - 1}));
    QCOMPARE(m.entryAt(p).Name, QStringLiteral("a"));
    if (from == to)
        QCOMPARE(names(m, to), (QStringList{"b", "c", "a"}));
    QCOMPARE(m.entryCount(), 3);
    verifyTotals(m);
}

void TestEntriesModel::applyDispenseThenUndispense()
{
    EntriesModel m;
    fillFiveGroups(m);
    QCOMPARE(names(m, Main), (QStringList{"m0", "m1", "m2", "m3"}));
    m.setTarget(disk());
    DispenseQueue q;
    for (EntryPos p :
         {EntryPos{Required, 0}, EntryPos{Main, 3}, EntryPos{Main, 1}, EntryPos{Background, 0}})
        q.push(p);
    m.applyDispense(q, 12345);
    QVERIFY(q.empty());
    QCOMPARE(names(m, Dispensed), (QStringList{"b0", "m3", "m1", "r0"}));
    QCOMPARE(m.origins(), (QVector<int>{3, 2, 2, 1}));
    QCOMPARE(names(m, Main), (QStringList{"m0", "m2"}));
    QVERIFY(m.isDispensed());
    QVERIFY(m.isModified());
    QCOMPARE(m.wastedSize(), quint64(12345));
    verifyTotals(m);

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

    // Forgetting what was dispensed, without a target, leaves nothing wasted.
    q.push(EntryPos{Main, 0});
    m.applyDispense(q, 99);
    m.forgetDispensed();
    QCOMPARE(m.wastedSize(), quint64(0));
    QCOMPARE(m.groupSize(Dispensed), 0);
    QVERIFY(m.origins().isEmpty());
    QVERIFY(!m.isDispensed());
    verifyTotals(m);
}

void TestEntriesModel::totalsStayExactUnderRandomOperations()
{
    EntriesModel m;
    m.setTarget(disk());
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
    const quint64 K = 1024, M = K * K, G = M * K, T = G * K;
    QTest::newRow("1024") << K << "1024";
    QTest::newRow("1025") << K + 1 << "1.0 kb";
    QTest::newRow("1536") << K + 512 << "1.5 kb";
    QTest::newRow("2^20") << M << "1024.0 kb";
    QTest::newRow("2^20+1") << M + 1 << "1.0 Mb";
    QTest::newRow("2^30+1") << G + 1 << "1.0 Gb";
    QTest::newRow("2^40") << T << "1024.0 Gb";
    QTest::newRow("2^40+1") << T + 1 << "1.0 TB";
    QTest::newRow("2^50+1") << T * K + 1 << "1.0 EB";
    QTest::newRow("max") << ~Q_UINT64_C(0) << "16384.0 EB";
}

void TestEntriesModel::sizeText()
{
    QFETCH(quint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(::sizeText(bytes), text);
}

QTEST_GUILESS_MAIN(TestEntriesModel)
#include "test_entriesmodel.moc"
