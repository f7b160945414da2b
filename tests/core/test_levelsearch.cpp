#include <memory>
#include <random>
#include <vector>

#include <QtTest>

#include "core/dispense/Dispenser.h"
#include "core/dispense/TryCalcerHDD.h"
#include "core/dispense/TryCalcerUDF.h"
#include "core/dispense/UdfMeta.h"

// The search that skips branches against the plain count-down of nextTry, on
// many random levels: the same improvements, in the same order, with the same
// selections.
class TestLevelSearch : public QObject
{
    Q_OBJECT
private slots:
    void sameAsCountDown_data();
    void sameAsCountDown();
};

namespace {

const quint64 BlockSize = 2048;

struct Item
{
    quint64 blocks;
    quint32 files;
    quint32 folders;
};

// A free count and the selection that leaves it.
using Step = std::pair<qint64, std::vector<unsigned>>;

// The first selection, then every improvement in order.
struct Trace
{
    std::vector<Step> steps;
    bool proven = false;
};

std::unique_ptr<TryCalcerProto> makeCalc(bool udf, quint64 available)
{
    if (udf)
        return std::make_unique<TryCalcerUDF>(BlockSize, available);
    return std::make_unique<TryCalcerHDD>(BlockSize, available);
}

void feed(TryCalcerProto& calc, const std::vector<Item>& items)
{
    for (unsigned i = 0; i < items.size(); ++i) {
        calc.beginItem();
        // The first file carries the data, the others are empty.
        for (quint32 f = 0; f < items[i].files; ++f)
            calc.onFile(f == 0 ? items[i].blocks * BlockSize : 0);
        for (quint32 d = 0; d < items[i].folders; ++d)
            calc.onFolder();
        calc.endItem(i);
    }
}

// mode: -1 the plain count-down; otherwise the search with at most that many
// table entries, starting with first.
Trace runLevel(TryCalcerProto& calc, long mode, long first = -1)
{
    Trace t;
    auto record = [&](qint64 free) {
        t.steps.emplace_back(free, std::vector<unsigned>());
        calc.getSelection(t.steps.back().second);
        return true;
    };
    calc.prepare();
    record(calc.freeBlocks());
    std::atomic_bool stop{false};
    if (mode < 0)
        t.proven = Dispenser::searchLevel(calc, stop, true, record);
    else
        t.proven = calc.findBetter(stop, record, mode, first);
    return t;
}

// The fewest free blocks of any selection that fits, counted from scratch.
qint64 bruteBest(const std::vector<Item>& items, qint64 capacity, bool udf)
{
    qint64 best = capacity;
    const unsigned n = unsigned(items.size());
    for (quint64 mask = 0; mask < (quint64(1) << n); ++mask) {
        qint64 used = 0;
        qint32 files = 0, folders = 0;
        for (unsigned i = 0; i < n; ++i) {
            if (mask & (quint64(1) << i)) {
                used += qint64(items[i].blocks);
                files += qint32(items[i].files);
                folders += qint32(items[i].folders);
            }
        }
        if (udf)
            used += udfMetaBlocks(folders, files);
        if (used <= capacity)
            best = std::min(best, capacity - used);
    }
    return best;
}

} // namespace

void TestLevelSearch::sameAsCountDown_data()
{
    QTest::addColumn<bool>("udf");
    QTest::addColumn<int>("maxItems");
    QTest::addColumn<int>("maxBlocks");
    QTest::addColumn<long>("tableEntries");
    QTest::addColumn<long>("firstTableEntries");
    QTest::addColumn<int>("instances");
    QTest::addColumn<uint>("seed");
    QTest::newRow("hdd, tables") << false << 12 << 40 << -1L << -1L << 3000 << 1u;
    QTest::newRow("hdd, no tables") << false << 12 << 40 << 0L << 0L << 3000 << 2u;
    QTest::newRow("hdd, some tables") << false << 12 << 300 << 40L << 40L << 3000 << 3u;
    QTest::newRow("hdd, growing tables") << false << 14 << 300 << 100000L << 2L << 2000 << 8u;
    QTest::newRow("hdd, few sizes") << false << 14 << 6 << 0L << 0L << 2000 << 4u;
    QTest::newRow("udf") << true << 12 << 60 << -1L << -1L << 3000 << 5u;
    QTest::newRow("udf, few sizes") << true << 12 << 5 << -1L << -1L << 2000 << 6u;
    QTest::newRow("udf, no tables") << true << 12 << 60 << 0L << 0L << 2000 << 9u;
    QTest::newRow("udf, growing tables") << true << 14 << 200 << 100000L << 2L << 2000 << 10u;
}

void TestLevelSearch::sameAsCountDown()
{
    QFETCH(bool, udf);
    QFETCH(int, maxItems);
    QFETCH(int, maxBlocks);
    QFETCH(long, tableEntries);
    QFETCH(long, firstTableEntries);
    QFETCH(int, instances);
    QFETCH(uint, seed);

    std::mt19937 rng(seed);
    auto uniform = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    for (int k = 0; k < instances; ++k) {
        const int n = uniform(0, maxItems);
        // A small pool of sizes, so that equal block counts are common.
        std::vector<quint64> pool(uniform(1, 6));
        for (quint64& b : pool)
            b = quint64(uniform(0, maxBlocks));
        std::vector<Item> items;
        quint64 total = 0;
        for (int i = 0; i < n; ++i) {
            Item it{uniform(0, 1) ? pool[uniform(0, int(pool.size()) - 1)]
                                  : quint64(uniform(0, maxBlocks)),
                    0, 0};
            it.files = it.blocks ? 1 : 0;
            if (udf) {
                // Enough files and folders to reach the steps of the metadata.
                it.files = quint32(uniform(it.blocks ? 1 : 0, 30));
                it.folders = quint32(uniform(0, 12));
            }
            total += it.blocks + 2 * it.folders + it.files;
            items.push_back(it);
        }
        const quint64 reserve = udf ? TryCalcerUDF::ReservedBlocks : 0;
        const quint64 available = reserve + quint64(uniform(0, int(total) + 20));

        auto literal = makeCalc(udf, available);
        auto pruned = makeCalc(udf, available);
        feed(*literal, items);
        feed(*pruned, items);
        const Trace a = runLevel(*literal, -1);
        const Trace b = runLevel(*pruned, tableEntries, firstTableEntries);

        const QByteArray where = QByteArray("instance ") + QByteArray::number(k);
        QVERIFY2(a.steps == b.steps, where);
        QVERIFY2(a.proven && b.proven, where);
        const qint64 best = a.steps.back().first;
        QVERIFY2(best == bruteBest(items, literal->capacity(), udf), where);

        // A second level on what the first one left, to cover beginLevel.
        literal->beginLevel(best);
        pruned->beginLevel(best);
        std::vector<Item> more(items.rbegin(), items.rend());
        feed(*literal, more);
        feed(*pruned, more);
        QVERIFY2(runLevel(*literal, -1).steps ==
                     runLevel(*pruned, tableEntries, firstTableEntries).steps,
                 where);
    }
}

QTEST_GUILESS_MAIN(TestLevelSearch)
#include "test_levelsearch.moc"
