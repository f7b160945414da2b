#include <random>

#include <QtTest>

#include "control/Engine.h"
#include "core/model/DM.h"
#include "tests/common/FakeViews.h"
#include "tests/common/TreeMaker.h"

namespace {

// Folder name → the size the folder-size thread finds for it.
const QMap<QString, quint64>& folderSizes()
{
    static const QMap<QString, quint64> sizes{{"A", 1},         {"B", 20},       {"C", 300},
                                              {"D", 4000},      {"E", 50000},    {"sentinel", 7},
                                              {"missing", 0}};
    return sizes;
}

} // namespace

class TestEngineFolderSizes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void reportRefreshesViews();
    void changesWhileSizesPending_data();
    void changesWhileSizesPending();
    void randomChanges();
    void unrequestedReports_data();
    void unrequestedReports();
    void detachWhileMeasuring();

private:
    QString path(const QString& name) const { return m_tmp.path() + QLatin1Char('/') + name; }
    void runStep(Engine& engine, const QString& step);
    // Adds one more folder and waits for its size: every report asked for
    // before it has then been handled too.
    void settle(Engine& engine);
    // No entry carries a size other than its folder's, each folder entry has
    // exactly one size, and the project total adds up.
    // With exactCount, also: one size cell update per folder entry (no entry
    // was sized and then dropped).
    void checkSizes(const QStringList& log, bool exactCount);

    QTemporaryDir m_tmp;
};

// An engine whose views are fakes that log every call.
struct ViewedEngine
{
    FakeViews v;
    Engine engine;
    ViewedEngine() { engine.attachViews(&v.dialogs, &v.actions, &v.items, &v.status); }
};

void TestEngineFolderSizes::initTestCase()
{
    qRegisterMetaType<quint64>("quint64");
    QVERIFY(m_tmp.isValid());
    QStringList tree;
    for (auto it = folderSizes().begin(); it != folderSizes().end(); ++it) {
        if (it.key() == QLatin1String("missing"))
            continue;
        // Two files per folder, one in a sub-folder.
        tree << QStringLiteral("f:%1/x=%2").arg(it.key()).arg(it.value() / 2)
             << QStringLiteral("f:%1/sub/y=%2").arg(it.key()).arg(it.value() - it.value() / 2);
    }
    QStringList big;
    for (int i = 0; i < 3000; ++i)
        big << QStringLiteral("d:big/%1/%2").arg(i / 50).arg(i % 50);
    QVERIFY(TreeMaker::make(m_tmp.path(), tree + big));
}

void TestEngineFolderSizes::init()
{
    dataModel()->newProject();
}

void TestEngineFolderSizes::runStep(Engine& engine, const QString& step)
{
    const QStringList w = step.split(QLatin1Char(' '));
    DM* model = dataModel();
    const QString& op = w.at(0);
    if (op == QLatin1String("add")) {
        QStringList paths;
        for (int i = 1; i < w.size(); ++i)
            paths << path(w.at(i));
        engine.pathsAdd(paths);
    } else if (op == QLatin1String("move")) {
        EntryPos p{w.at(1).toInt(), w.at(2).toInt()};
        model->moveEntry(p, w.at(3).toInt());
    } else if (op == QLatin1String("remove")) {
        model->removeEntry(EntryPos{w.at(1).toInt(), w.at(2).toInt()});
    } else if (op == QLatin1String("new")) {
        model->newProject();
    } else if (op == QLatin1String("dispense")) {
        DispenseQueue q;
        for (int i = 1; i + 1 < w.size(); i += 2)
            q.push(EntryPos{w.at(i).toInt(), w.at(i + 1).toInt()});
        model->applyDispense(q, 0);
    } else if (op == QLatin1String("undispense")) {
        model->undispense();
    } else if (op == QLatin1String("events")) {
        QTest::qWait(20); // some reports may land now, others later
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

void TestEngineFolderSizes::settle(Engine& engine)
{
    engine.pathsAdd({path(QStringLiteral("sentinel"))});
    DM* model = dataModel();
    const EntryPos last{Main, model->groupSize(Main) - 1};
    QTRY_VERIFY(model->entryAt(last).IsValidSize);
}

void TestEngineFolderSizes::checkSizes(const QStringList& log, bool exactCount)
{
    DM* model = dataModel();
    int folders = 0;
    quint64 total = 0;
    for (int g = Dispensed; g < NoGroup; ++g) {
        for (int i = 0; i < model->groupSize(g); ++i) {
            const Entry& e = model->entryAt(EntryPos{g, i});
            const QString where = QStringLiteral("%1 at {%2,%3}").arg(e.Ident).arg(g).arg(i);
            QVERIFY2(e.Kind == Folder, qPrintable(where));
            QVERIFY2(e.IsValidSize, qPrintable(where));
            QCOMPARE(e.Size, folderSizes().value(e.Name));
            ++folders;
            if (g >= Required && g <= Background)
                total += e.Size;
        }
    }
    if (exactCount)
        QCOMPARE(log.filter(QRegularExpression(QStringLiteral("^updateItemSize "))).size(), folders);
    QCOMPARE(model->totalSize(), total);
}

void TestEngineFolderSizes::reportRefreshesViews()
{
    ViewedEngine e;
    FakeViews& v = e.v;
    e.engine.pathsAdd({path(QStringLiteral("D"))});
    v.log.take();
    QTRY_VERIFY(!v.log.lines.isEmpty());
    QCOMPARE(v.log.take(), (QStringList{"updateItemSize {2,0}", "setTitle New Project",
                                        "showSelected 0 0", "showTotal 4000 1", "showState READY",
                                        "showNoTarget", "showNoWasted"}));
}

void TestEngineFolderSizes::changesWhileSizesPending_data()
{
    QTest::addColumn<QString>("steps"); // separated by ";"
    QTest::newRow("one at a time") << "add A;add B;add C";
    QTest::newRow("a path that names nothing") << "add missing A";
    QTest::newRow("moved around") << "add A B C D;move 2 0 4;move 2 1 3;move 4 0 2;move 2 0 1";
    QTest::newRow("all removed") << "add A B C;remove 2 2;remove 2 1;remove 2 0";
    QTest::newRow("removed and added again") << "add A B;remove 2 0;add A";
    QTest::newRow("same folder twice, one removed") << "add A A B;remove 2 0";
    QTest::newRow("new project, same folder") << "add A B;new;add B";
    QTest::newRow("new project, empty") << "add A B;new";
    QTest::newRow("dispensed and undispensed") << "add A B C;dispense 2 0 2 2;undispense";
    QTest::newRow("dispensed, then removed") << "add A B C;dispense 2 1;remove 0 0";
    QTest::newRow("some land between changes")
        << "add A B;events;move 2 0 3;add C D;events;remove 2 0;new;add E A";
}

void TestEngineFolderSizes::changesWhileSizesPending()
{
    QFETCH(QString, steps);
    ViewedEngine e;
    // The reports wait in the event queue until the steps are done.
    for (const QString& step : steps.split(QLatin1Char(';')))
        runStep(e.engine, step);
    settle(e.engine);
    QTest::qWait(20);
    checkSizes(e.v.log.lines, !steps.contains(QLatin1String("events")));
}

void TestEngineFolderSizes::randomChanges()
{
    const QStringList names{"A", "B", "C", "D", "E"};
    for (unsigned seed = 1; seed <= 8; ++seed) {
        dataModel()->newProject();
        ViewedEngine e;
        std::mt19937 rng(seed);
        DM* model = dataModel();
        for (int n = 0; n < 60; ++n) {
            const int action = int(rng() % 10);
            const int g = int(rng() % NoGroup);
            const int size = model->groupSize(g);
            if (action < 4) {
                runStep(e.engine, QStringLiteral("add ") + names.at(int(rng() % names.size())));
            } else if (action < 6 && size > 0) {
                EntryPos p{g, int(rng() % size)};
                model->moveEntry(p, int(1 + rng() % 4));
            } else if (action == 6 && size > 0) {
                model->removeEntry(EntryPos{g, int(rng() % size)});
            } else if (action == 7 && rng() % 4 == 0) {
                model->newProject();
            } else if (action == 8) {
                QCoreApplication::processEvents();
            } else if (action == 9 && model->groupSize(Main) > 0) {
                DispenseQueue q;
                q.push(EntryPos{Main, int(rng() % model->groupSize(Main))});
                model->applyDispense(q, 0);
                if (rng() % 2)
                    model->undispense();
            }
        }
        settle(e.engine);
        QTest::qWait(20);
        checkSizes(e.v.log.lines, false);
        if (QTest::currentTestFailed()) {
            qWarning("seed %u", seed);
            return;
        }
    }
}

void TestEngineFolderSizes::unrequestedReports_data()
{
    QTest::addColumn<QString>("reported");
    QTest::newRow("nothing pending") << "A";
    QTest::newRow("another path") << "B";
    QTest::newRow("empty path") << "";
}

void TestEngineFolderSizes::unrequestedReports()
{
    QFETCH(QString, reported);
    ViewedEngine ve;
    FakeViews& v = ve.v;
    // A folder entry nobody asked a size for (as a loaded project may hold).
    Entry e;
    e.Ident = path(QStringLiteral("A"));
    e.Name = QStringLiteral("A");
    e.Path = m_tmp.path();
    e.Kind = Folder;
    dataModel()->addEntry(e);
    v.log.take();
    QVERIFY(QMetaObject::invokeMethod(
        &ve.engine, "on_folderCalcComplete", Qt::DirectConnection,
        Q_ARG(QString, reported.isEmpty() ? reported : path(reported)), Q_ARG(quint64, 99)));
    QVERIFY(v.log.lines.isEmpty());
    QVERIFY(!dataModel()->entryAt(EntryPos{Main, 0}).IsValidSize);
    QCOMPARE(dataModel()->totalSize(), quint64(0));
}

void TestEngineFolderSizes::detachWhileMeasuring()
{
    FakeViews v;
    auto* engine = new Engine;
    engine->attachViews(&v.dialogs, &v.actions, &v.items, &v.status);
    engine->pathsAdd({path("big"), path("big"), path("A")});
    engine->detachViews();
    v.log.take();
    // Reports already under way, if any, reach no view.
    QTest::qWait(50);
    QVERIFY(v.log.lines.isEmpty());
    delete engine;
}

QTEST_GUILESS_MAIN(TestEngineFolderSizes)
#include "test_engine_foldersizes.moc"
