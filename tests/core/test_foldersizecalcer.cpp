#include <atomic>

#include <QtTest>

#include "core/dispense/FolderSizeCalcer.h"
#include "tests/common/TreeMaker.h"

namespace {

using Reports = QList<QPair<QString, quint64>>;
using TreeMaker::lines;

// The debug lines of every thread, collected for a test to look at.
QMutex g_debugMutex;
QStringList g_debugLines;

void collectDebug(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type != QtDebugMsg)
        return;
    QMutexLocker lock(&g_debugMutex);
    g_debugLines << text;
}

QStringList debugLines()
{
    QMutexLocker lock(&g_debugMutex);
    return g_debugLines;
}

// Measures slowly (1 ms per folder) and counts the folders it has seen, so
// that a test can stop it in the middle of a walk.
class SlowCalcer : public FolderSizeCalcer
{
public:
    std::atomic_int folders{0};
    void onFolder() override
    {
        ++folders;
        QThread::msleep(1);
    }
};

Reports reportsOf(const QSignalSpy& spy)
{
    Reports out;
    for (const QList<QVariant>& args : spy)
        out << qMakePair(args.at(0).toString(), args.at(1).value<quint64>());
    return out;
}

} // namespace

class TestFolderSizeCalcer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void jobsInOrder_data();
    void jobsInOrder();
    void waitsForWork();
    void stopWhileMeasuring();
    void stopWhenIdle();

private:
    QTemporaryDir m_tmp;
    QString m_big; // a tree of 2,000 folders
};

void TestFolderSizeCalcer::initTestCase()
{
    qRegisterMetaType<quint64>("quint64");
    QVERIFY(m_tmp.isValid());
    QVERIFY(TreeMaker::make(m_tmp.path(), lines({"f:X/a=1", "f:X/b=2", "f:X/S/c=4096", "f:Y/d=4097",
                                                 "d:E", "f:file=10"})));
    m_big = m_tmp.path() + QStringLiteral("/big");
    QStringList tree;
    for (int i = 0; i < 40; ++i)
        for (int j = 0; j < 50; ++j)
            tree << QStringLiteral("d:big/%1/%2").arg(i).arg(j);
    QVERIFY(TreeMaker::make(m_tmp.path(), tree));
}

void TestFolderSizeCalcer::jobsInOrder_data()
{
    QTest::addColumn<QStringList>("jobs");
    QTest::addColumn<QList<quint64>>("totals");
    QTest::newRow("one folder twice") << lines({"X", "Y", "X"}) << QList<quint64>{4099, 4097, 4099};
    QTest::newRow("empty, missing, a file")
        << lines({"E", "missing", "file", "Y"}) << QList<quint64>{0, 0, 0, 4097};
}

void TestFolderSizeCalcer::jobsInOrder()
{
    QFETCH(QStringList, jobs);
    QFETCH(QList<quint64>, totals);

    FolderSizeCalcer calcer;
    QSignalSpy spy(&calcer, &FolderSizeCalcer::folderComplete);
    Reports expected;
    // All jobs wait before the thread starts, so the order is the thread's own.
    for (int i = 0; i < jobs.size(); ++i) {
        const QString path = m_tmp.path() + QLatin1Char('/') + jobs.at(i);
        calcer.addFolder(path);
        expected << qMakePair(path, totals.at(i));
    }
    calcer.start();
    QTRY_COMPARE(spy.count(), jobs.size());
    QCOMPARE(reportsOf(spy), expected);
    calcer.stop();
    QVERIFY(calcer.isFinished());
}

void TestFolderSizeCalcer::waitsForWork()
{
    const QtMessageHandler old = qInstallMessageHandler(collectDebug);
    FolderSizeCalcer calcer;
    QSignalSpy spy(&calcer, &FolderSizeCalcer::folderComplete);
    calcer.start();
    QTRY_COMPARE(debugLines(), lines({"before wait"}));
    calcer.addFolder(m_tmp.path() + QStringLiteral("/Y"));
    QTRY_COMPARE(spy.count(), 1);
    QTRY_COMPARE(debugLines(), lines({"before wait", "after wait", "before wait"}));
    calcer.addFolder(m_tmp.path() + QStringLiteral("/X"));
    QTRY_COMPARE(spy.count(), 2);
    calcer.stop();
    qInstallMessageHandler(old);
    QCOMPARE(reportsOf(spy).last(), qMakePair(QString(m_tmp.path() + "/X"), quint64(4099)));
}

void TestFolderSizeCalcer::stopWhileMeasuring()
{
    SlowCalcer calcer;
    QSignalSpy spy(&calcer, &FolderSizeCalcer::folderComplete);
    for (int i = 0; i < 3; ++i)
        calcer.addFolder(m_big);
    calcer.start();
    QTRY_VERIFY(calcer.folders > 10);
    calcer.stop();
    QVERIFY(calcer.isFinished());
    // The walk was cut short and nothing was reported for it.
    QVERIFY2(calcer.folders < 2000, qPrintable(QString::number(calcer.folders)));
    QCoreApplication::processEvents();
    QCOMPARE(spy.count(), 0);

    // The jobs left over went with the old run; a new start measures only new ones.
    calcer.start();
    calcer.addFolder(m_tmp.path() + QStringLiteral("/Y"));
    QTRY_COMPARE(spy.count(), 1);
    QTest::qWait(50);
    QCOMPARE(reportsOf(spy), (Reports{{m_tmp.path() + QStringLiteral("/Y"), 4097}}));
    calcer.stop();
}

void TestFolderSizeCalcer::stopWhenIdle()
{
    // Never started, started and idle, and stopped twice: each returns at once.
    FolderSizeCalcer never;
    never.stop();
    QVERIFY(!never.isRunning());

    auto* calcer = new FolderSizeCalcer;
    calcer->start();
    QTRY_VERIFY(calcer->isRunning());
    calcer->stop();
    QVERIFY(calcer->isFinished());
    calcer->stop();
    // Destroying a running worker with work queued joins it.
    calcer->start();
    calcer->addFolder(m_big);
    calcer->addFolder(m_big);
    delete calcer;
}

QTEST_GUILESS_MAIN(TestFolderSizeCalcer)
#include "test_foldersizecalcer.moc"
