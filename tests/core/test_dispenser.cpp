#include <memory>
#include <random>
#include <vector>

#include <QtTest>

#include "core/dispense/Dispenser.h"
#include "core/model/DM.h"

using Sizes = QVector<qint64>;
using Positions = QVector<EntryPos>;

Q_DECLARE_METATYPE(Sizes)
Q_DECLARE_METATYPE(Positions)

namespace QTest {
template <> char* toString(const Positions& v)
{
    QByteArray text;
    for (const EntryPos& p : v)
        text += '(' + QByteArray::number(p.group) + ',' + QByteArray::number(p.index) + ") ";
    return qstrdup(text.constData());
}
} // namespace QTest

// The dispense search on its thread, driven through the model like the
// progress dialog drives it: levels, signals, requests at each stage.
class TestDispenser : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void levels_data();
    void levels();
    void refusedTarget();
    void requestWhileSearching_data();
    void requestWhileSearching();
    void cancelStopsFolderWalk();

private:
    // Files of the given block counts (BlockSize bytes each) in group.
    void addFiles(int group, const Sizes& blocks, quint64 blockSize);
    void setTarget(int fileSystem, quint64 blockSize, quint64 available);
    // Required: a level whose best cannot be proven in any reasonable time
    // (block counts all multiples of 3 but one, a capacity no selection
    // fills). Returns the capacity for it.
    quint64 addHardLevel(unsigned seed);

    std::unique_ptr<QTemporaryDir> m_dir;
    int m_files = 0;
};

namespace {

QMutex tryLinesMutex;
QStringList tryLines;
QtMessageHandler previousHandler = nullptr;

void recordTryLines(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtDebugMsg && text.startsWith(QLatin1String(" Try "))) {
        QMutexLocker lock(&tryLinesMutex);
        tryLines << text;
        return;
    }
    previousHandler(type, context, text);
}

QStringList takeTryLines()
{
    QMutexLocker lock(&tryLinesMutex);
    QStringList lines = tryLines;
    tryLines.clear();
    return lines;
}

Positions popAll(DispenseQueue queue)
{
    Positions out;
    while (!queue.empty()) {
        out << queue.top();
        queue.pop();
    }
    return out;
}

QList<quint64> values(const QSignalSpy& spy)
{
    QList<quint64> out;
    for (const QList<QVariant>& args : spy)
        out << args.at(0).value<quint64>();
    return out;
}

void request(Dispenser& d, const QString& which)
{
    if (which == QLatin1String("cancel"))
        d.cancel();
    else if (which == QLatin1String("accept"))
        d.accept();
    else if (which == QLatin1String("enough"))
        d.enough();
}

} // namespace

void TestDispenser::init()
{
    dataModel()->newProject();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    previousHandler = qInstallMessageHandler(recordTryLines);
    takeTryLines();
}

void TestDispenser::cleanup()
{
    qInstallMessageHandler(previousHandler);
    m_dir.reset();
}

void TestDispenser::addFiles(int group, const Sizes& blocks, quint64 blockSize)
{
    for (qint64 b : blocks) {
        Entry e;
        e.Name = QStringLiteral("f%1").arg(m_files++);
        e.Path = m_dir->path();
        e.Ident = m_dir->filePath(e.Name);
        e.Size = quint64(b) * blockSize;
        e.IsValidSize = true;
        e.Kind = File;
        QFile f(e.Ident);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(qint64(e.Size)));
        EntryPos pos = dataModel()->addEntry(e);
        if (group != Main)
            dataModel()->moveEntry(pos, group);
    }
}

void TestDispenser::setTarget(int fileSystem, quint64 blockSize, quint64 available)
{
    Target t;
    t.Path = m_dir->path();
    t.FileSystem = fileSystem;
    t.BlockSize = blockSize;
    t.AvailableBlocks = available;
    dataModel()->setTarget(t);
}

quint64 TestDispenser::addHardLevel(unsigned seed)
{
    std::mt19937 rng(seed);
    Sizes hard;
    qint64 total = 0;
    for (int i = 0; i < 59; ++i) {
        hard << 3 * std::uniform_int_distribution<qint64>(10000, 100000)(rng);
        total += hard.last();
    }
    hard << 1;
    addFiles(Required, hard, 1);
    return quint64(total / 2 / 3 * 3 + 2);
}

void TestDispenser::levels_data()
{
    QTest::addColumn<Sizes>("required");
    QTest::addColumn<Sizes>("main");
    QTest::addColumn<Sizes>("background");
    QTest::addColumn<quint64>("available");
    QTest::addColumn<QString>("request"); // made before the start: during measuring
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QList<quint64>>("best");
    QTest::addColumn<QStringList>("tries");
    QTest::addColumn<Positions>("queue");

    // Required all fit and leave 8; Main is the worked level 6, 4, 4, 3
    // into 8 (entries 2 and 1 fill it); Background gets no room but a file of
    // 0 blocks still goes.
    QTest::newRow("three levels") << Sizes{4, 3, 3} << Sizes{6, 4, 4, 3} << Sizes{0, 5}
                                  << quint64(18) << "" << true << QList<quint64>{8, 2, 0, 0}
                                  << QStringList{" Try 1 0"}
                                  << Positions{{3, 0}, {2, 2}, {2, 1}, {1, 2}, {1, 1}, {1, 0}};
    QTest::newRow("empty groups") << Sizes{} << Sizes{} << Sizes{} << quint64(7) << "" << true
                                  << QList<quint64>{7, 7, 7} << QStringList{} << Positions{};
    // The improvement count runs on over the levels; positions come out
    // Background from the highest index down, then Main, then Required.
    QTest::newRow("count over levels")
        << Sizes{19, 10, 10} << Sizes{6, 4, 4} << Sizes{3, 3, 2, 2, 1} << quint64(28) << "" << true
        << QList<quint64>{9, 8, 2, 0, 0} << QStringList{" Try 1 8", " Try 2 0"}
        << Positions{{2, 2}, {2, 1}, {1, 2}, {1, 1}};
    QTest::newRow("all fit") << Sizes{5, 2} << Sizes{3} << Sizes{1, 1, 1} << quint64(7 + 3 + 3 + 2)
                             << "" << true << QList<quint64>{8, 5, 2} << QStringList{}
                             << Positions{{3, 2}, {3, 1}, {3, 0}, {2, 0}, {1, 1}, {1, 0}};
    // Required: 6, 4, 4, 3 into 8, whose first selection (6) leaves 2.
    const Sizes req{6, 4, 4, 3}, main{2, 1, 1};
    QTest::newRow("cancel") << req << main << Sizes{} << quint64(8) << "cancel" << false
                            << QList<quint64>{} << QStringList{} << Positions{};
    // The level keeps its first selection and the run ends there.
    QTest::newRow("accept") << req << main << Sizes{} << quint64(8) << "accept" << true
                            << QList<quint64>{2} << QStringList{} << Positions{{1, 0}};
    // The level keeps its first selection; the next levels run in full.
    QTest::newRow("enough") << req << main << Sizes{} << quint64(8) << "enough" << true
                            << QList<quint64>{2, 0, 0} << QStringList{}
                            << Positions{{2, 0}, {1, 0}};
}

void TestDispenser::levels()
{
    QFETCH(Sizes, required);
    QFETCH(Sizes, main);
    QFETCH(Sizes, background);
    QFETCH(quint64, available);
    QFETCH(QString, request);
    QFETCH(bool, ok);
    QFETCH(QList<quint64>, best);
    QFETCH(QStringList, tries);
    QFETCH(Positions, queue);
    const quint64 bs = 512;
    addFiles(Required, required, bs);
    addFiles(Background, background, bs);
    // Never measured, never chosen, though they would fill the room.
    addFiles(NotInUse, Sizes{1, 2}, bs);
    addFiles(Dispensed, Sizes{1, 2}, bs);
    addFiles(Main, main, bs);
    setTarget(NTFS, bs, available);

    Dispenser d;
    QSignalSpy bestSpy(&d, &IDispenser::set_bestResult4Now);
    QSignalSpy finishSpy(&d, &IDispenser::do_finish);
    ::request(d, request);
    d.start();
    QVERIFY(d.wait(60000));
    QCOMPARE(finishSpy.count(), 1);
    QCOMPARE(finishSpy.at(0).at(0).toBool(), ok);
    QList<quint64> bytes;
    for (quint64 b : best)
        bytes << b * bs;
    QCOMPARE(values(bestSpy), bytes);
    QCOMPARE(takeTryLines(), tries);
    if (ok) {
        QCOMPARE(popAll(d.resultQueue()), queue);
        QCOMPARE(d.wasted(), bytes.last());
    }
}

// Nothing can be measured: the run ends as cancelled, at once.
void TestDispenser::refusedTarget()
{
    addFiles(Required, Sizes{1, 2}, 512);
    for (int fileSystem : {3, int(NTFS)}) {
        setTarget(fileSystem, fileSystem == NTFS ? 0 : 4096, 1000);
        Dispenser d;
        QSignalSpy bestSpy(&d, &IDispenser::set_bestResult4Now);
        QSignalSpy finishSpy(&d, &IDispenser::do_finish);
        d.start();
        QVERIFY(d.wait(60000));
        QCOMPARE(bestSpy.count(), 0);
        QCOMPARE(finishSpy.count(), 1);
        QCOMPARE(finishSpy.at(0).at(0).toBool(), false);
    }
}

void TestDispenser::requestWhileSearching_data()
{
    QTest::addColumn<QString>("request");
    QTest::newRow("accept") << "accept";
    QTest::newRow("enough") << "enough";
    QTest::newRow("cancel") << "cancel";
    // The owner drops the dispenser while it searches: it stops and joins.
    QTest::newRow("destroy") << "destroy";
}

// The request comes while a level that never ends by itself is searched.
void TestDispenser::requestWhileSearching()
{
    QFETCH(QString, request);
    const quint64 available = addHardLevel(11);
    const Sizes mainSizes{700, 500, 300, 200, 100, 7, 5, 3};
    const Sizes backgroundSizes{2, 1};
    addFiles(Main, mainSizes, 1);
    addFiles(Background, backgroundSizes, 1);
    setTarget(NTFS, 1, available);

    auto owned = std::make_unique<Dispenser>();
    Dispenser& d = *owned;
    QSignalSpy bestSpy(&d, &IDispenser::set_bestResult4Now);
    QSignalSpy finishSpy(&d, &IDispenser::do_finish);
    int seen = 0;
    connect(
        &d, &IDispenser::set_bestResult4Now, this, [&seen] { ++seen; }, Qt::QueuedConnection);
    d.start();
    QTRY_VERIFY_WITH_TIMEOUT(seen > 0, 30000);
    QTest::qWait(200);
    QVERIFY(d.isRunning());
    if (request == QLatin1String("destroy")) {
        owned.reset();
        return;
    }
    ::request(d, request);
    QVERIFY(d.wait(30000));

    QCOMPARE(finishSpy.count(), 1);
    const bool ok = request != QLatin1String("cancel");
    QCOMPARE(finishSpy.at(0).at(0).toBool(), ok);
    if (!ok)
        return;
    const QList<quint64> best = values(bestSpy);
    QCOMPARE(d.wasted(), best.last());
    const Positions queue = popAll(d.resultQueue());
    QVERIFY(!queue.isEmpty());
    // What was chosen and what stays free make up the room exactly.
    quint64 chosen = 0, room = available;
    for (const EntryPos& p : queue) {
        chosen += dataModel()->entryAt(p).Size;
        if (p.group == Required)
            room -= dataModel()->entryAt(p).Size;
        else
            QVERIFY(request != QLatin1String("accept"));
    }
    QCOMPARE(chosen + d.wasted(), available);
    if (request == QLatin1String("enough")) {
        // Main and Background were searched in full on the room Required
        // left: each leaves the fewest blocks free that any choice can.
        for (const Sizes& level : {mainSizes, backgroundSizes}) {
            quint64 least = room;
            for (int mask = 0; mask < (1 << level.size()); ++mask) {
                quint64 used = 0;
                for (int i = 0; i < level.size(); ++i)
                    if (mask & (1 << i))
                        used += quint64(level[i]);
                if (used <= room)
                    least = std::min(least, room - used);
            }
            room = least;
        }
        QCOMPARE(d.wasted(), room);
        QVERIFY(best.size() >= 3);
    }
}

// A cancel during a folder's walk may cut the walk short; whatever request
// follows it, a folder measured only in part is never used for a plan.
void TestDispenser::cancelStopsFolderWalk()
{
    const QString top = m_dir->filePath(QStringLiteral("tree"));
    const int folders = 1500;
    for (int i = 0; i < folders; ++i) {
        const QString sub = top + QStringLiteral("/d%1").arg(i);
        QVERIFY(QDir().mkpath(sub));
        QFile f(sub + QStringLiteral("/x"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(512));
    }
    Entry e;
    e.Name = QStringLiteral("tree");
    e.Path = m_dir->path();
    e.Ident = top;
    e.Kind = Folder;
    EntryPos pos = dataModel()->addEntry(e);
    dataModel()->moveEntry(pos, Required);
    setTarget(NTFS, 512, 100000);

    for (const char* then : {"", "accept", "enough"}) {
        Dispenser d;
        QSignalSpy bestSpy(&d, &IDispenser::set_bestResult4Now);
        QSignalSpy finishSpy(&d, &IDispenser::do_finish);
        d.cancel();
        request(d, QString::fromLatin1(then));
        d.start();
        QVERIFY(d.wait(60000));
        QCOMPARE(finishSpy.count(), 1);
        if (!finishSpy.at(0).at(0).toBool()) {
            QCOMPARE(bestSpy.count(), 0);
            continue;
        }
        // The walk went to its end: the plan holds the whole folder.
        QVERIFY(*then != 0);
        QCOMPARE(d.wasted(), quint64(100000 - folders) * 512);
    }
}

QTEST_GUILESS_MAIN(TestDispenser)
#include "test_dispenser.moc"
