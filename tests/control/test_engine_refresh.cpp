#include <QtTest>

#include "control/Engine.h"
#include "core/model/DM.h"
#include "tests/common/FakeViews.h"

class TestEngineRefresh : public QObject
{
    Q_OBJECT
private slots:
    void init() { dataModel()->newProject(); }
    void attachShowsNewProject();
    void refreshWithTarget();
    void exitClosesWindowOnly();
    void selectionInGroupCommands_data();
    void selectionInGroupCommands();
};

void TestEngineRefresh::attachShowsNewProject()
{
    FakeViews v;
    Engine e;
    e.attachViews(&v.dialogs, &v.actions, &v.items, &v.status);
    QCOMPARE(v.log.take(), (QStringList{"setTitle New Project", "showSelected 0 0",
                                        "showTotal 0 0", "showState READY", "showNoTarget",
                                        "showNoWasted"}));
    // The actions keep their start states.
    QVERIFY(!v.actions.save && !v.actions.dispense && !v.actions.entryActions);
    e.detachViews();
}

void TestEngineRefresh::refreshWithTarget()
{
    FakeViews v;
    Engine e;
    e.attachViews(&v.dialogs, &v.actions, &v.items, &v.status);
    v.log.take();
    Entry a;
    a.Name = "a";
    a.Ident = "/x/a";
    a.Path = "/x";
    a.Size = 1500;
    a.IsValidSize = true;
    dataModel()->addEntry(a);
    Target t;
    t.Path = "/media/stick";
    t.FileSystem = FAT;
    t.BlockSize = 32768;
    t.AvailableBlocks = Q_UINT64_C(1) << 40; // the capacity needs all 64 bits
    dataModel()->setTarget(t);
    e.refreshViews();
    QCOMPARE(v.log.take(),
             (QStringList{"setTitle New Project", "showSelected 0 0", "showTotal 1500 1",
                          "showState READY",
                          QStringLiteral("showTarget /media/stick %1").arg(Q_UINT64_C(1) << 55),
                          "showWasted 0"}));
    e.detachViews();
}

void TestEngineRefresh::exitClosesWindowOnly()
{
    FakeViews v;
    Engine e;
    e.attachViews(&v.dialogs, &v.actions, &v.items, &v.status);
    v.log.take();
    e.appExit();
    QCOMPARE(v.log.take(), QStringList{"closeMainWindow"});
    e.detachViews();
}

void TestEngineRefresh::selectionInGroupCommands_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("entry in Main") << int(Main) << QStringList{"selectAllInGroup 2",
                                                                "invertSelectionInGroup 2"};
    QTest::newRow("no current row") << int(NoGroup) << QStringList();
}

void TestEngineRefresh::selectionInGroupCommands()
{
    QFETCH(int, current);
    QFETCH(QStringList, calls);
    FakeViews v;
    Engine e;
    e.attachViews(&v.dialogs, &v.actions, &v.items, &v.status);
    v.items.current = current;
    v.log.take();
    e.selectionAllInGroup();
    e.selectionInvertInGroup();
    const QStringList log = v.log.take();
    QStringList groupCalls;
    for (const QString& l : log)
        if (l.startsWith("selectAll") || l.startsWith("invertSelection"))
            groupCalls << l;
    QCOMPARE(groupCalls, calls);
    e.detachViews();
}

QTEST_GUILESS_MAIN(TestEngineRefresh)
#include "test_engine_refresh.moc"
