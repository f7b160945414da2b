// SPDX-License-Identifier: GPL-3.0-or-later
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <numeric>
#include <random>
#include <thread>
#include <utility>

#include <QtTest>

#include "core/dispense/Dispenser.h"
#include "core/model/DM.h"
#include "tests/common/TreeMaker.h"

// Once armed for a thread, the next allocation there fails, as out of memory.
static std::atomic<std::thread::id> g_failIn{};

void* operator new(std::size_t n)
{
    std::thread::id self = std::this_thread::get_id();
    if (g_failIn.load(std::memory_order_relaxed) == self &&
        g_failIn.compare_exchange_strong(self, std::thread::id()))
        throw std::bad_alloc();
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

// Block counts of the entries in Required, Main and Background; -1: a folder.
using Groups = QVector<QVector<qint64>>;

// The dispense search on its thread, driven through the model as the progress
// dialog drives it.
class TestDispenser : public QObject
{
    Q_OBJECT
    int m_seen = 0; // results that reached this thread

private slots:
    void levels_data()
    {
        QTest::addColumn<Groups>("groups");
        QTest::addColumn<qint64>("available");
        // Before the start, "during" Required's search, or while "measuring" entry N.
        QTest::addColumn<QString>("requests");
        // The wasted blocks sent, or "*" and the groups chosen from.
        QTest::addColumn<QString>("best");
        const auto row = [](const char* name, const Groups& groups, qint64 available,
                            const char* requests, const char* best) {
            QTest::newRow(name) << groups << available << QString(requests) << QString(best);
        };
        // Main's best (6, 4, 4, 3 into 8) is 4 + 4; a file of 0 blocks still goes.
        row("three levels", {{4, 3, 3}, {6, 4, 4, 3}, {0, 5}}, 18, "", "8 2 0 0");
        row("out of memory", {{4, 3, 3}, {6, 4, 4, 3}, {0, 5}}, 18, "oom", ""); // fails, not aborts
        row("empty groups", {{}, {}, {}}, 7, "", "7 7 7");
        row("all fit", {{5, 2}, {3}, {1, 1, 1}}, 15, "", "8 5 2");
        // Required's first pick (12) leaves 4, its best (8 + 8) nothing; Main's
        // first pick (3) leaves 1, its best (2 + 2) nothing.
        const Groups firstIsNotBest{{12, 8, 8, 6}, {3, 2, 2}, {}};
        row("cancel", firstIsNotBest, 16, "cancel", "");
        row("accept", firstIsNotBest, 16, "accept", "4");
        row("enough: the next levels are searched", firstIsNotBest, 16, "enough", "4 1 0 0");
        // A folder measured only in part is left out; the measuring ends at once.
        row("cancel cuts a walk, then accept", {{-1}, {3}, {}}, 16, "cancel accept", "16");
        row("accept while measuring", {{5}, {-1, 3}, {1}}, 16, "measuring 1 accept", "*1");
        row("enough while measuring", {{5}, {-1, 3}, {1}}, 16, "measuring 1 enough", "*13");
        // A level whose search never ends by itself: block counts all
        // multiples of 3 but one, a capacity that no choice fills.
        std::mt19937 rng(11);
        QVector<qint64> hard{1};
        for (int i = 0; i < 59; ++i)
            hard << 3 * std::uniform_int_distribution<qint64>(1000, 20000)(rng);
        const qint64 room = std::accumulate(hard.begin(), hard.end(), 0LL) / 6 * 3 + 2;
        row("during accept", {hard, {}, {2, 1}}, room, "during accept", "*1");
        row("during enough", {hard, {}, {2, 1}}, room, "during enough", "*13");
        row("during cancel", {hard, {}, {2, 1}}, room, "during cancel", "*");
        row("during destroy", {hard, {}, {2, 1}}, room, "during destroy", "*");
        // "Next level" at Required's first result, on the search's thread:
        // Main is still searched until the next request.
        row("enough, then Main is searched", {{1}, hard, {2, 1}}, 1 + room,
            "first enough during accept", "*12");
    }

    void levels()
    {
        QFETCH(Groups, groups);
        QFETCH(qint64, available);
        QFETCH(QString, requests);
        QFETCH(QString, best);
        QTemporaryDir dir;
        dataModel()->newProject();
        // FAT32 at 64 KiB: files cost their clusters; two more are held back
        // for the checksum list, one of them the target folder's, which takes
        // all the names and the list's lines.
        dataModel()->setTarget(Target{dir.path(), FAT, 65536, quint64(available) + 2});
        // Entries in Not In Use and Dispensed too: never measured, never chosen.
        groups << QVector<qint64>{1, 2} << QVector<qint64>{1, 2};
        for (int g = 0, n = 0; g < groups.size(); ++g) {
            for (qint64 b : groups[g]) {
                const QString name = QString::number(n++);
                const QString line =
                    b < 0 ? "d:" + name : QString("f:%1=%2").arg(name).arg(b * 65536);
                QVERIFY(TreeMaker::make(dir.path(), {line}));
                EntryPos pos = dataModel()->addEntry({name, dir.path(), dir.filePath(name),
                                                      quint64(qMax(b, 0LL)) * 65536, true,
                                                      b < 0 ? Folder : File});
                dataModel()->moveEntry(pos, (Required + g) % 5); // ends with Dispensed (0)
            }
        }

        auto d = std::make_unique<Dispenser>();
        QSignalSpy bestSpy(d.get(), &IDispenser::set_bestResult4Now);
        QSignalSpy finishSpy(d.get(), &IDispenser::do_finish);
        connect(d.get(), &IDispenser::set_bestResult4Now, this, [this] { ++m_seen; });
        QCoreApplication::sendPostedEvents(this); // results of the row before
        m_seen = 0;
        const QMap<QString, void (Dispenser::*)()> ops{{"cancel", &Dispenser::cancel},
                                                       {"accept", &Dispenser::accept},
                                                       {"enough", &Dispenser::enough}};
        const auto apply = [&](const QString& request) { ((*d).*ops.value(request))(); };
        const QStringList words = requests.split(' ', Qt::SkipEmptyParts);
        const bool before = !words.contains("during") && words.value(0) != "measuring",
                   oom = requests == "oom";
        for (const QString& r : before && !oom ? words : QStringList())
            apply(r);
        if (oom)
            connect(
                d.get(), &QThread::started, d.get(), [] { g_failIn = std::this_thread::get_id(); },
                Qt::DirectConnection);
        if (words.value(0) == "first")
            connect(
                d.get(), &IDispenser::set_bestResult4Now, d.get(),
                [&, once = true]() mutable {
                    if (std::exchange(once, false))
                        apply(words[1]);
                },
                Qt::DirectConnection);
        if (words.value(0) == "measuring") // on the search's thread, as the entry's walk starts
            connect(
                d.get(), &IDispenser::set_stage, d.get(),
                [&](const QString& stage) {
                    if (stage.startsWith("Measuring " + words[1] + " "))
                        apply(words[2]);
                },
                Qt::DirectConnection);
        d->start();
        if (!before && words[0] != "measuring") {
            // Queued to this thread, so no race with the search: a result of
            // the level that is to be searched.
            QTRY_VERIFY(m_seen >= (words[0] == "first" ? 2 : 1));
            QVERIFY(d->isRunning());
            if (words.last() == "destroy")
                return d.reset(); // stops the search and joins
            apply(words.last());
        }
        QVERIFY(d->wait(60000)); // the thread has ended: the spies are read alone
        QStringList sent;
        for (const QList<QVariant>& args : bestSpy)
            sent << QString::number(args.at(0).toULongLong() / 65536);
        if (!best.startsWith('*'))
            QCOMPARE(sent.join(' '), best);
        QCOMPARE(finishSpy.count(), 1);
        const bool cancelled = words.value(words.size() - 1) == "cancel";
        QCOMPARE(finishSpy.at(0).at(0).toBool(), !cancelled && !oom);
        QCOMPARE(d->failure().isEmpty(), !oom);
        if (cancelled || oom)
            return;
        QCOMPARE(d->wasted(), sent.last().toULongLong() * 65536);
        // What was chosen (from Required, Main and Background only) and what
        // stays free make up the room exactly.
        quint64 chosen = 0;
        QString from = "*";
        for (const EntryPos& p : d->resultQueue().items()) {
            QVERIFY(p.group >= Required && p.group <= Background);
            chosen += dataModel()->entryAt(p).Size;
            from += from.contains(QString::number(p.group)) ? "" : QString::number(p.group);
        }
        QCOMPARE(chosen + d->wasted(), quint64(available) * 65536);
        std::sort(from.begin(), from.end());
        if (best.startsWith('*'))
            QCOMPARE(from, best);
    }
};

QTEST_GUILESS_MAIN(TestDispenser)
#include "test_dispenser.moc"
