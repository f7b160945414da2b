#include <memory>
#include <vector>

#include <QtTest>

#include "core/dispense/Dispenser.h"
#include "core/dispense/TryCalcerFactory.h"
#include "core/dispense/TryCalcerHDD.h"
#include "core/dispense/TryCalcerUDF.h"
#include "core/dispense/UdfMeta.h"
#include "core/model/Entry.h"

using Blocks = QVector<quint64>;
using Indices = std::vector<unsigned>;

Q_DECLARE_METATYPE(Indices)

class TestTryCalcer : public QObject
{
    Q_OBJECT
private slots:
    void udfMeta();
    void blockRounding_data();
    void blockRounding();
    void createTryCalcer_data();
    void createTryCalcer();
    void levels_data();
    void levels();
    void countDownSteps_data();
    void countDownSteps();
    void udfPairTooLarge();
    void fat32_data();
    void fat32();
    void realFolder_data();
    void realFolder();
};

namespace {

// Queues one item per block count (one file each), entry index = position,
// and makes the first selection.
void feed(TryCalcerProto& calc, const Blocks& blocks)
{
    for (int i = 0; i < blocks.size(); ++i) {
        calc.beginItem();
        calc.onFile(blocks[i] * 512);
        calc.endItem(unsigned(i));
    }
    calc.prepare();
}

Indices selectionOf(const TryCalcerProto& calc)
{
    Indices v;
    calc.getSelection(v);
    return v;
}

// Runs a prepared level to its end; returns the best free count and leaves
// the best selection in sel.
qint64 searchToEnd(TryCalcerProto& calc, bool literal, Indices& sel)
{
    std::atomic_bool stop{false};
    qint64 best = calc.freeBlocks();
    sel = selectionOf(calc);
    const bool proven = Dispenser::searchLevel(calc, stop, literal, [&](qint64 free) {
        best = free;
        sel = selectionOf(calc);
        return true;
    });
    return proven ? best : -1;
}

bool writeFile(const QString& path, qint64 size)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.resize(size);
}

} // namespace

void TestTryCalcer::udfMeta()
{
    const struct
    {
        int folders, files;
        qint64 blocks;
    } samples[] = {{0, 0, 0},   {0, 1, 1},   {1, 0, 2},     {20, 34, 74},   {21, 0, 43},
                   {0, 35, 36}, {42, 0, 86}, {43, 0, 88},   {84, 0, 172},   {85, 0, 174},
                   {0, 70, 71}, {0, 71, 73}, {0, 290, 298}, {10, 100, 122}, {100, 1000, 1231}};
    for (const auto& s : samples) {
        const qint64 got = udfMetaBlocks(s.folders, s.files);
        QVERIFY2(got == s.blocks, qPrintable(QStringLiteral("(%1, %2) gives %3, not %4")
                                                 .arg(s.folders).arg(s.files).arg(got).arg(s.blocks)));
    }
}

void TestTryCalcer::blockRounding_data()
{
    QTest::addColumn<bool>("udf");
    QTest::addColumn<quint64>("blockSize");
    QTest::addColumn<quint64>("size");
    QTest::addColumn<qint64>("blocks");
    for (bool udf : {false, true}) {
        const quint64 bs = udf ? 2048 : 4096;
        const char* kind = udf ? "udf" : "hdd";
        QTest::addRow("%s 0", kind) << udf << bs << quint64(0) << qint64(0);
        QTest::addRow("%s BlockSize", kind) << udf << bs << bs << qint64(1);
        QTest::addRow("%s BlockSize+1", kind) << udf << bs << bs + 1 << qint64(2);
        QTest::addRow("%s 2^40+1", kind)
            << udf << bs << (quint64(1) << 40) + 1 << qint64((quint64(1) << 40) / bs + 1);
    }
}

// One file alone on an empty medium costs its blocks (plus one metadata block
// for the file on UDF).
void TestTryCalcer::blockRounding()
{
    QFETCH(bool, udf);
    QFETCH(quint64, blockSize);
    QFETCH(quint64, size);
    QFETCH(qint64, blocks);
    const quint64 available = quint64(1) << 40;
    std::unique_ptr<TryCalcerProto> calc;
    if (udf)
        calc = std::make_unique<TryCalcerUDF>(blockSize, available);
    else
        calc = std::make_unique<TryCalcerHDD>(blockSize, available);
    calc->beginItem();
    calc->onFile(size);
    calc->endItem(0);
    calc->prepare();
    QCOMPARE(selectionOf(*calc), Indices{0});
    QCOMPARE(calc->capacity() - calc->freeBlocks(), blocks + (udf ? 1 : 0));
}

void TestTryCalcer::createTryCalcer_data()
{
    QTest::addColumn<int>("fileSystem");
    QTest::addColumn<quint64>("blockSize");
    QTest::addColumn<quint64>("available");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<qint64>("capacity");
    QTest::newRow("NTFS") << 0 << quint64(4096) << quint64(1000) << "hdd" << qint64(1000);
    QTest::newRow("FAT32") << 1 << quint64(32768) << quint64(1000) << "hdd" << qint64(1000);
    QTest::newRow("UDF 1000") << 2 << quint64(2048) << quint64(1000) << "udf" << qint64(738);
    QTest::newRow("UDF 263") << 2 << quint64(2048) << quint64(263) << "udf" << qint64(1);
    QTest::newRow("UDF 262") << 2 << quint64(2048) << quint64(262) << "udf" << qint64(0);
    QTest::newRow("UDF empty") << 2 << quint64(2048) << quint64(0) << "udf" << qint64(0);
    QTest::newRow("file system -1") << -1 << quint64(4096) << quint64(1000) << "none" << qint64(0);
    QTest::newRow("file system 3") << 3 << quint64(4096) << quint64(1000) << "none" << qint64(0);
    QTest::newRow("block size 0") << 0 << quint64(0) << quint64(1000) << "none" << qint64(0);
    QTest::newRow("UDF block size 0") << 2 << quint64(0) << quint64(1000) << "none" << qint64(0);
}

void TestTryCalcer::createTryCalcer()
{
    QFETCH(int, fileSystem);
    QFETCH(quint64, blockSize);
    QFETCH(quint64, available);
    QFETCH(QString, kind);
    QFETCH(qint64, capacity);
    Target t;
    t.Path = QStringLiteral("/media/x");
    t.FileSystem = fileSystem;
    t.BlockSize = blockSize;
    t.AvailableBlocks = available;
    const std::unique_ptr<TryCalcerProto> calc = ::createTryCalcer(t);
    if (kind == QLatin1String("none")) {
        QVERIFY(!calc);
        return;
    }
    QVERIFY(calc);
    QCOMPARE(kind == QLatin1String("udf"), dynamic_cast<TryCalcerUDF*>(calc.get()) != nullptr);
    QCOMPARE(calc->capacity(), capacity);
    QCOMPARE(calc->freeBlocks(), capacity);
}

void TestTryCalcer::levels_data()
{
    QTest::addColumn<Blocks>("blocks");
    QTest::addColumn<qint64>("capacity");
    QTest::addColumn<Indices>("first");
    QTest::addColumn<qint64>("firstFree");
    QTest::addColumn<Indices>("best");
    QTest::addColumn<qint64>("bestFree");
    const auto row = [](const char* name, const Blocks& blocks, qint64 capacity,
                        const Indices& first, qint64 firstFree, const Indices& best,
                        qint64 bestFree) {
        QTest::newRow(name) << blocks << capacity << first << firstFree << best << bestFree;
    };
    row("5 and 3 into 5", {5, 3}, 5, {0}, 0, {0}, 0);
    row("4, 3, 3 into 6", {4, 3, 3}, 6, {0}, 2, {1, 2}, 0);
    // Here and below, equal block counts leave the measuring heap in the
    // order its steps give (entries 2 before 1).
    row("6, 4, 4, 3 into 8", {6, 4, 4, 3}, 8, {0}, 2, {2, 1}, 0);
    row("all fit", {1, 7, 3}, 20, {1, 2, 0}, 9, {1, 2, 0}, 9);
    row("nothing fits", {7, 9}, 6, {}, 6, {}, 6);
    row("empty group", {}, 6, {}, 6, {}, 6);
    row("no room", {1, 0}, 0, {1}, 0, {1}, 0);
    // Ties: a later selection with the same free count never replaces one
    // found before it.
    row("tie with first", {5, 3, 2}, 6, {0}, 1, {0}, 1);
    row("tie later", {7, 5, 4, 2}, 10, {0, 3}, 1, {0, 3}, 1);
    // Equal block counts come out of the measuring heap as 0, 2, 1, 3.
    row("equal counts", {2, 2, 2, 2}, 4, {0, 2}, 0, {0, 2}, 0);
    row("mixed equal counts", {3, 2, 3, 2, 3}, 8, {0, 2, 3}, 0, {0, 2, 3}, 0);
    row("best needs the small ones", {8, 6, 5, 4}, 15, {0, 1}, 1, {1, 2, 3}, 0);
}

// The worked levels on a hard disk, each run with the plain count-down and
// with the search that skips branches.
void TestTryCalcer::levels()
{
    QFETCH(Blocks, blocks);
    QFETCH(qint64, capacity);
    QFETCH(Indices, first);
    QFETCH(qint64, firstFree);
    QFETCH(Indices, best);
    QFETCH(qint64, bestFree);
    for (bool literal : {true, false}) {
        TryCalcerHDD calc(512, quint64(capacity));
        feed(calc, blocks);
        QCOMPARE(selectionOf(calc), first);
        QCOMPARE(calc.freeBlocks(), firstFree);
        Indices sel;
        QCOMPARE(searchToEnd(calc, literal, sel), bestFree);
        QCOMPARE(sel, best);
    }
}

void TestTryCalcer::countDownSteps_data()
{
    QTest::addColumn<Blocks>("blocks");
    QTest::addColumn<qint64>("capacity");
    QTest::addColumn<QVector<Indices>>("steps");
    QTest::addColumn<QVector<qint64>>("frees");
    QTest::newRow("4, 3, 3 into 6")
        << Blocks{4, 3, 3} << qint64(6) << QVector<Indices>{{1, 2}, {1}, {2}, {}}
        << QVector<qint64>{0, 3, 3, 6};
    // The first step overdraws by 3 and starts over at the lowest digit.
    QTest::newRow("6, 4, 4, 3 into 8")
        << Blocks{6, 4, 4, 3} << qint64(8)
        << QVector<Indices>{{2, 1}, {2, 3}, {2}, {1, 3}, {1}, {3}, {}}
        << QVector<qint64>{0, 1, 4, 1, 4, 5, 8};
}

// nextTry visits every selection that fits, counting down.
void TestTryCalcer::countDownSteps()
{
    QFETCH(Blocks, blocks);
    QFETCH(qint64, capacity);
    QFETCH(QVector<Indices>, steps);
    QFETCH(QVector<qint64>, frees);
    TryCalcerHDD calc(512, quint64(capacity));
    feed(calc, blocks);
    std::atomic_bool stop{false};
    QVector<Indices> seen;
    QVector<qint64> seenFree;
    while (calc.nextTry(stop)) {
        seen.append(selectionOf(calc));
        seenFree.append(calc.freeBlocks());
        QVERIFY(seen.size() <= 64);
    }
    QCOMPARE(seen, steps);
    QCOMPARE(seenFree, frees);

    // A set stop flag ends a step at once and leaves the selection alone.
    TryCalcerHDD stopped(512, quint64(capacity));
    feed(stopped, blocks);
    const Indices before = selectionOf(stopped);
    stop = true;
    QVERIFY(!stopped.nextTry(stop));
    QCOMPARE(selectionOf(stopped), before);
}

// A (30 data blocks, 17 files) and B (31, 18) fit alone into 96 blocks but
// not together: their metadata together is one block more than apart.
void TestTryCalcer::udfPairTooLarge()
{
    for (bool literal : {true, false}) {
        TryCalcerUDF calc(2048, 96 + TryCalcerUDF::ReservedBlocks);
        QCOMPARE(calc.capacity(), qint64(96));
        const struct
        {
            quint64 blocks;
            int files;
        } items[] = {{30, 17}, {31, 18}};
        for (unsigned i = 0; i < 2; ++i) {
            calc.beginItem();
            calc.onFile(items[i].blocks * 2048);
            for (int f = 1; f < items[i].files; ++f)
                calc.onFile(0);
            calc.endItem(i);
        }
        calc.prepare();
        // B comes first (more blocks) and costs 31 + 18.
        QCOMPARE(selectionOf(calc), Indices{1});
        QCOMPARE(calc.freeBlocks(), qint64(96 - 49));
        Indices sel;
        QCOMPARE(searchToEnd(calc, literal, sel), qint64(47));
        QCOMPARE(sel, Indices{1});
    }
}

void TestTryCalcer::fat32_data()
{
    QTest::addColumn<bool>("fat32");
    QTest::addColumn<quint64>("fileSize");
    QTest::addColumn<int>("folders");
    QTest::addColumn<Indices>("chosen");
    QTest::addColumn<qint64>("used");
    const quint64 limit = quint64(1) << 32;
    // Entry 0: a file of fileSize; entry 1: a small file of one block.
    QTest::newRow("FAT32 4 GiB - 1")
        << true << limit - 1 << 0 << Indices{0, 1} << qint64(limit / 32768 + 1);
    QTest::newRow("FAT32 4 GiB") << true << limit << 0 << Indices{1} << qint64(1);
    QTest::newRow("NTFS 4 GiB") << false << limit << 0 << Indices{0, 1}
                                << qint64(limit / 32768 + 1);
    QTest::newRow("FAT32 folders") << true << quint64(32768) << 3 << Indices{0, 1} << qint64(5);
    QTest::newRow("NTFS folders") << false << quint64(32768) << 3 << Indices{0, 1} << qint64(2);
}

// FAT32 cannot hold a file of 4 GiB, and every folder takes a cluster there.
void TestTryCalcer::fat32()
{
    QFETCH(bool, fat32);
    QFETCH(quint64, fileSize);
    QFETCH(int, folders);
    QFETCH(Indices, chosen);
    QFETCH(qint64, used);
    TryCalcerHDD calc(32768, 1000000, fat32);
    calc.beginItem();
    calc.onFile(fileSize);
    for (int i = 0; i < folders; ++i)
        calc.onFolder();
    calc.endItem(0);
    calc.beginItem();
    calc.onFile(100);
    calc.endItem(1);
    calc.prepare();
    Indices sel = selectionOf(calc);
    std::sort(sel.begin(), sel.end());
    QCOMPARE(sel, chosen);
    QCOMPARE(calc.capacity() - calc.freeBlocks(), used);
}

void TestTryCalcer::realFolder_data()
{
    QTest::addColumn<int>("fileSystem");
    QTest::addColumn<quint64>("blockSize");
    QTest::addColumn<qint64>("folderCost");
    QTest::addColumn<qint64>("fileCost");
    // Files of 0, 1, 4096 and 4097 bytes in a folder with two sub-folders;
    // a path that names nothing costs nothing.
    QTest::newRow("NTFS") << 0 << quint64(4096) << qint64(0 + 1 + 1 + 2) << qint64(2);
    QTest::newRow("FAT32") << 1 << quint64(4096) << qint64(4 + 3) << qint64(2);
    QTest::newRow("UDF") << 2 << quint64(2048) << qint64(0 + 1 + 2 + 3) + udfMetaBlocks(2, 4)
                         << qint64(3 + 1);
}

// Entries measured from disk: a folder tree, a single file, a missing path.
void TestTryCalcer::realFolder()
{
    QFETCH(int, fileSystem);
    QFETCH(quint64, blockSize);
    QFETCH(qint64, folderCost);
    QFETCH(qint64, fileCost);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString top = dir.filePath(QStringLiteral("top"));
    QVERIFY(QDir().mkpath(top + QStringLiteral("/a/b")));
    QVERIFY(writeFile(top + QStringLiteral("/zero"), 0));
    QVERIFY(writeFile(top + QStringLiteral("/a/one"), 1));
    QVERIFY(writeFile(top + QStringLiteral("/a/b/full"), 4096));
    QVERIFY(writeFile(top + QStringLiteral("/a/b/over"), 4097));
    const QString single = dir.filePath(QStringLiteral("single"));
    QVERIFY(writeFile(single, 4097));

    Target t;
    t.FileSystem = fileSystem;
    t.BlockSize = blockSize;
    t.AvailableBlocks = 1000 + (fileSystem == UDF ? TryCalcerUDF::ReservedBlocks : 0);
    const QString paths[] = {top, single, dir.filePath(QStringLiteral("missing"))};
    const qint64 costs[] = {folderCost, fileCost, 0};
    for (int which = 0; which < 3; ++which) {
        const std::unique_ptr<TryCalcerProto> calc = ::createTryCalcer(t);
        calc->addItem(paths[which], 7);
        QVERIFY(!calc->walkStopped());
        calc->prepare();
        QCOMPARE(selectionOf(*calc), Indices{7});
        QCOMPARE(calc->capacity() - calc->freeBlocks(), costs[which]);
    }
}

QTEST_GUILESS_MAIN(TestTryCalcer)
#include "test_trycalcer.moc"
