// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>
#include <random>

#include <QtTest>

#include "core/dispense/CountDownSearch.h"
#include "core/dispense/FillSearch.h"
#include "core/dispense/TryCalcerFactory.h"
#include "core/dispense/TryCalcerProto.h"
#include "core/model/Entry.h"

namespace {

// An item's own blocks and its bytes in the shared store.
using Item = std::array<quint32, 2>;
// The first selection, then every improvement: free blocks and entry indices.
using Trace = std::vector<std::pair<qint64, std::vector<unsigned>>>;

// The searches compared: the reference count-down, the program's search, or
// FillSearch with at most that many table entries (0: none).
constexpr long CountDown = -2, Program = -1;

// After a level that chose base shared bytes, feeds the items and runs the
// level with the given search. Empty when not proven.
Trace runLevel(TryCalcerProto& calc, const std::vector<Item>& items, quint32 base, long tables)
{
    calc.queueItem(PlaceItem{0, 0, base});
    calc.prepare();
    calc.beginLevel(calc.freeBlocks());
    for (unsigned i = 0; i < items.size(); ++i)
        calc.queueItem(PlaceItem{i, items[i][0], items[i][1]});
    calc.prepare();
    Trace t;
    const auto record = [&](qint64 free) {
        t.emplace_back(free, std::vector<unsigned>());
        calc.getSelection(t.back().second);
        return true;
    };
    record(calc.freeBlocks());
    std::atomic_bool stop{false};
    bool proven;
    if (tables == CountDown) {
        proven = CountDownSearch::run(calc, stop, record);
    } else if (tables == Program) {
        proven = calc.findBetter(stop, record);
    } else {
        FillSearch search = calc.levelSearch();
        search.setTableEntries(std::size_t(tables), tables > 0 ? 2 : 0);
        proven =
            search.run(calc.freeBlocks(), stop, [&](const std::vector<char>& sel, qint64 free) {
                calc.takeSelection(sel, free);
                return record(free);
            });
    }
    if (!proven)
        t.clear();
    return t;
}

// The fewest free blocks of any selection that fits, counted from scratch.
qint64 bruteBest(const std::vector<Item>& items, qint64 capacity, bool udf, quint32 base)
{
    qint64 best = capacity;
    const auto blocks = [](quint64 bytes) { return qint64((bytes + 2047) / 2048); };
    for (quint64 mask = 0; mask < (quint64(1) << items.size()); ++mask) {
        Item sum{0, 0};
        for (unsigned i = 0; i < items.size(); ++i)
            for (int k = 0; k < 2; ++k)
                sum[k] += (mask >> i & 1) ? items[i][k] : 0;
        const qint64 used = sum[0] + (udf ? blocks(base + sum[1]) - blocks(base) : 0);
        best = used <= capacity ? qMin(best, capacity - used) : best;
    }
    return best;
}

} // namespace

// The search that skips branches against the plain count-down of nextTry, on
// many random levels: the same improvements, in the same order, with the same
// selections, and the best there is.
class TestLevelSearch : public QObject
{
    Q_OBJECT
private slots:
    void sameAsCountDown_data()
    {
        QTest::addColumn<bool>("udf");
        QTest::addColumn<int>("maxItems");
        QTest::addColumn<int>("maxBlocks");
        QTest::addColumn<long>("tables");
        QTest::newRow("hdd") << false << 12 << 40 << Program;
        QTest::newRow("hdd, no tables") << false << 12 << 40 << 0L;
        QTest::newRow("hdd, growing tables") << false << 14 << 300 << 100000L;
        QTest::newRow("hdd, few sizes") << false << 14 << 6 << 40L;
        QTest::newRow("udf") << true << 12 << 60 << Program;
        QTest::newRow("udf, no tables") << true << 12 << 5 << 0L;
        QTest::newRow("udf, growing tables") << true << 14 << 200 << 100000L;
    }

    void sameAsCountDown()
    {
        QFETCH(bool, udf);
        QFETCH(int, maxItems);
        QFETCH(int, maxBlocks);
        QFETCH(long, tables);
        std::mt19937 rng(maxItems * maxBlocks + udf);
        const auto uniform = [&rng](int lo, int hi) {
            return quint32(std::uniform_int_distribution<int>(lo, hi)(rng));
        };
        for (int k = 0; k < 4000; ++k) {
            // A small pool of items, so that identical ones and equal block
            // counts are common; on UDF shared bytes from a few to several
            // blocks, after a level that left the shared store part full.
            const auto shared = [&] { return udf ? uniform(0, 1) * uniform(0, 3 * 2048) : 0; };
            std::vector<Item> pool(uniform(1, 6));
            for (Item& it : pool)
                it = Item{uniform(0, maxBlocks), shared()};
            std::vector<Item> items(uniform(0, maxItems));
            int total = 20;
            const quint32 base = udf ? uniform(0, 4096) : 0;
            for (Item& it : items) {
                it = pool[uniform(0, int(pool.size()) - 1)];
                if (uniform(0, 1))
                    it = Item{uniform(0, 1) ? it[0] : uniform(0, maxBlocks), shared()};
                total += int(it[0] + it[1] / 2048 + 1);
            }
            // NTFS at 1 KiB clusters counts in clusters, after a reserve.
            const Target target{"/x", udf ? UDF : NTFS, udf ? 2048u : 1024u,
                                (udf ? 262u + (base + 2047) / 2048 : 88u) + uniform(0, total)};
            const auto literal = createTryCalcer(target), pruned = createTryCalcer(target);
            const Trace a = runLevel(*literal, items, base, CountDown),
                        b = runLevel(*pruned, items, base, tables);
            QVERIFY2(!a.empty() && a == b, qPrintable(QString::number(k)));
            QCOMPARE(a.back().first, bruteBest(items, literal->capacity(), udf, base));
        }
    }
};

QTEST_GUILESS_MAIN(TestLevelSearch)
#include "test_levelsearch.moc"
