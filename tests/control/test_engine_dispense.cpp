#include <QClipboard>
#include <QMimeData>
#include <QtTest>

#include "core/dispense/Dispenser.h"
#include "core/model/DM.h"
#include "core/model/EntryPaths.h"
#include "tests/control/EngineFixture.h"

namespace {

Target makeTarget(const QString& path, quint64 blocks)
{
    Target t;
    t.Path = path;
    t.FileSystem = NTFS;
    t.BlockSize = 4096;
    t.AvailableBlocks = blocks;
    return t;
}

// Runs the search the way the progress dialog does: to its end, or pressing Cancel at once.
bool run(Dispenser* d, bool cancel)
{
    QSignalSpy finished(d, &IDispenser::do_finish);
    d->start();
    if (cancel)
        d->cancel();
    if (finished.isEmpty() && !finished.wait(30000))
        return false;
    return finished.first().first().toBool();
}

// A held result: entries of Required and Background moved into Dispensed.
void heldResult(quint64 wasted)
{
    DM* m = dataModel();
    const EntryPos r = placeEntry(makeEntry("r0", 100), Required);
    placeEntry(makeEntry("m0", 1000), Main);
    const EntryPos b = placeEntry(makeEntry("b0", 300), Background);
    DispenseQueue q;
    q.push(r);
    q.push(b);
    m->applyDispense(q, wasted);
}

} // namespace

class TestEngineDispense : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void diskSelect_data();
    void diskSelect();
    void nothingToDo();
    void dispenseCancelled();
    void dispenseAccepted();
    void undispense_data();
    void undispense();
    void clipboardPost();
    void originalsDelete_data();
    void originalsDelete();

private:
    QString trashPath() const { return m_home.path() + "/.local/share/Trash"; }
    QTemporaryDir m_home;
};

void TestEngineDispense::initTestCase()
{
    QVERIFY(m_home.isValid());
    // The trash of this test, not the user's.
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (m_home.path() + "/.local/share").toLocal8Bit());
    QDir(m_home.path()).mkpath(".local/share");
}

void TestEngineDispense::init()
{
    dataModel()->newProject();
    QDir(trashPath()).removeRecursively();
}

void TestEngineDispense::diskSelect_data()
{
    QTest::addColumn<bool>("hadTarget");
    QTest::addColumn<bool>("dispensed");
    QTest::addColumn<bool>("picked");
    QTest::addColumn<QStringList>("calls");

    const QString shown = QStringLiteral("showTarget /media/new %1").arg(4096 * 500);
    QTest::newRow("first target") << false << false << true
                                  << QStringList{"pickTarget", shown, "enableDispense",
                                                 "enableSave 1"};
    QTest::newRow("picker cancelled") << false << false << false << QStringList{"pickTarget"};
    QTest::newRow("second target")
        << true << false << true << QStringList{"pickTarget", shown, "enableSave 1"};
    // A loaded project may hold a result but no target: Dispense stays off.
    QTest::newRow("first target over a result")
        << false << true << true << QStringList{"pickTarget", shown, "enableSave 1"};
}

void TestEngineDispense::diskSelect()
{
    QFETCH(bool, hadTarget);
    QFETCH(bool, dispensed);
    QFETCH(bool, picked);
    QFETCH(QStringList, calls);
    EngineFixture f;
    DM* m = dataModel();
    if (hadTarget)
        m->setTarget(makeTarget("/media/old", 100));
    if (dispensed)
        heldResult(777);
    const QString layout = layoutText();
    f.dialogs.onPickTarget = [&] {
        if (picked)
            m->setTarget(makeTarget("/media/new", 500));
        return picked;
    };

    f.engine.diskSelect();

    QCOMPARE(f.log.take(), calls);
    QCOMPARE(layoutText(), layout);
    QCOMPARE(m->isDispensed(), dispensed);
    if (dispensed)
        QCOMPARE(m->wastedSize(), quint64(777));
}

void TestEngineDispense::nothingToDo()
{
    // Dispense without a target, and a reveal outside the list, do nothing.
    EngineFixture f;
    placeEntry(makeEntry("m0", 1000), Main);
    f.engine.dispense();
    f.engine.entryReveal(EntryPos{Main, 3});
    QCOMPARE(f.log.take(), QStringList());
}

void TestEngineDispense::dispenseCancelled()
{
    EngineFixture f;
    DM* m = dataModel();
    placeEntry(makeEntry("r0", 100), Required);
    placeEntry(makeEntry("m0", 5000), Main);
    m->setTarget(makeTarget("/media/stick", 10));
    f.actions.dispense = true;
    const QString layout = layoutText();
    Dispenser* seen = nullptr;
    f.dialogs.onRunDispense = [&](Dispenser* d) {
        seen = d;
        return run(d, true);
    };

    f.engine.dispense();

    QVERIFY(seen);
    QCOMPARE(f.log.take(), QStringList{"runDispense"});
    QCOMPARE(layoutText(), layout);
    QVERIFY(!m->isDispensed());
    QVERIFY(f.actions.dispense);
    QVERIFY(!f.actions.save);
}

void TestEngineDispense::dispenseAccepted()
{
    QTemporaryDir src(m_home.path() + "/src-XXXXXX");
    EngineFixture f;
    DM* m = dataModel();
    // 10 blocks of 4096: r0 takes 3; of Main's 6, 5 and 3 blocks, only one
    // fits into the 7 left, best the 6.
    const auto file = [&](const QString& name, int size) {
        QFile out(src.path() + '/' + name);
        out.open(QIODevice::WriteOnly);
        out.write(QByteArray(size, 'z'));
        return makeEntry(name, size, true, File, src.path());
    };
    placeEntry(file("r0", 3 * 4096), Required);
    placeEntry(file("m0", 6 * 4096), Main);
    placeEntry(file("m1", 5 * 4096), Main);
    placeEntry(file("m2", 3 * 4096 - 100), Main);
    placeEntry(file("n0", 4096), NotInUse);
    m->setTarget(makeTarget("/media/stick", 10));
    f.actions.dispense = true;
    quint64 searched = 0;
    f.dialogs.onRunDispense = [&](Dispenser* d) {
        const bool ok = run(d, false);
        d->wait();
        searched = d->wasted();
        return ok;
    };

    f.engine.dispense();

    QCOMPARE(layoutText(), QString("D:m0,r0|R:|M:m1,m2|B:|N:n0"));
    QCOMPARE(searched, quint64(4096));
    QCOMPARE(m->wastedSize(), quint64(4096));
    QCOMPARE(f.lastCall("showWasted"), QString("showWasted 4096"));
    QCOMPARE(f.lastCall("showTotal"), QStringLiteral("showTotal %1 2").arg(8 * 4096 - 100));
    QCOMPARE(f.calls("rebuildItems").size(), 1);
    QVERIFY(!f.actions.dispense);
    QVERIFY(f.actions.dispensed);
    QVERIFY(f.actions.save);
    QVERIFY(!f.actions.entryActions);
}

void TestEngineDispense::undispense_data()
{
    QTest::addColumn<bool>("target");
    QTest::newRow("with target") << true;
    QTest::newRow("loaded without target") << false;
}

void TestEngineDispense::undispense()
{
    QFETCH(bool, target);
    EngineFixture f;
    DM* m = dataModel();
    if (target)
        m->setTarget(makeTarget("/media/stick", 10));
    placeEntry(makeEntry("r1", 5), Required);
    heldResult(40960 - 400);
    QCOMPARE(layoutText(), QString("D:b0,r0|R:r1|M:m0|B:|N:"));
    f.actions.dispensed = true;

    f.engine.undispense();

    // Every entry back at the end of its group of origin.
    QCOMPARE(layoutText(), QString("D:|R:r1,r0|M:m0|B:b0|N:"));
    QCOMPARE(f.calls("rebuildItems").size(), 1);
    QCOMPARE(f.lastCall("showTotal"), QString("showTotal 1405 4"));
    QVERIFY(!f.actions.dispensed);
    QCOMPARE(f.actions.dispense, target);
    QVERIFY(f.actions.save);
}

void TestEngineDispense::clipboardPost()
{
    EngineFixture f;
    heldResult(0);
    QGuiApplication::clipboard()->clear();

    f.engine.clipboardPost();

    QCOMPARE(f.log.take(),
             QStringList{"showState Dispensed file(s) has been posted to the clipboard"});
    QCOMPARE(layoutText(), QString("D:b0,r0|R:|M:m0|B:|N:"));
    // The dispensed entries, in list order, and nothing else.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->urls(),
             (QList<QUrl>{QUrl::fromLocalFile("/data/b0"), QUrl::fromLocalFile("/data/r0")}));

    // An empty result still posts (an empty list) and says so.
    dataModel()->undispense();
    f.engine.clipboardPost();
    QCOMPARE(f.status.state, QString("Dispensed file(s) has been posted to the clipboard"));
    QVERIFY(QGuiApplication::clipboard()->mimeData()->urls().isEmpty());
}

void TestEngineDispense::originalsDelete_data()
{
    QTest::addColumn<QStringList>("items");   // "f:name:size" or "d:name"
    QTest::addColumn<QStringList>("missing"); // gone before the delete: cannot be moved
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QString>("state");

    const QStringList items{"f:a.txt:1000", "d:album", "f:b.txt:3000"};
    QTest::newRow("declined") << items << QStringList() << false << "confirmOriginalsDelete 2 1"
                              << QStringList{"a.txt", "album", "b.txt"} << "";
    QTest::newRow("all moved") << items << QStringList() << true << "confirmOriginalsDelete 2 1"
                               << QStringList() << "READY";
    QTest::newRow("one file could not be moved")
        << items << QStringList{"a.txt"} << true << "confirmOriginalsDelete 2 1"
        << QStringList{"a.txt"} << "1 dispensed file(s) could not be moved to the trash";
    QTest::newRow("a folder could not be moved")
        << QStringList{"d:album", "f:c.txt:5000"} << QStringList{"album"} << true
        << "confirmOriginalsDelete 1 1" << QStringList{"album"}
        << "1 dispensed file(s) could not be moved to the trash";
    QTest::newRow("nothing dispensed")
        << QStringList() << QStringList() << true << "" << QStringList() << "READY";
}

void TestEngineDispense::originalsDelete()
{
    QFETCH(QStringList, items);
    QFETCH(QStringList, missing);
    QFETCH(bool, confirm);
    QFETCH(QString, question);
    QFETCH(QStringList, kept);
    QFETCH(QString, state);

    QTemporaryDir src(m_home.path() + "/src-XXXXXX");
    QVERIFY(src.isValid());
    EngineFixture f;
    DM* m = dataModel();
    const Target t = makeTarget("/media/stick", 10);
    m->setTarget(t);
    placeEntry(makeEntry("stay", 7, true, File, src.path()), Background);
    DispenseQueue q;
    for (const QString& item : items) {
        const QStringList parts = item.split(':');
        const QString path = src.path() + '/' + parts.at(1);
        if (parts.at(0) == "f") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(parts.at(2).toInt(), 'x'));
        } else {
            QVERIFY(QDir(path).mkpath("inner"));
        }
        if (missing.contains(parts.at(1)))
            QVERIFY(QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path));
        const Entry e = makeEntry(parts.at(1), parts.at(0) == "f" ? parts.at(2).toULongLong() : 0,
                                  true, parts.at(0) == "f" ? File : Folder, src.path());
        q.push(placeEntry(e, Required));
    }
    m->applyDispense(q, 1234);
    f.actions.dispensed = !items.isEmpty();
    f.actions.save = false;
    f.dialogs.confirmDelete = confirm;
    f.log.take();

    f.engine.originalsDelete();

    QCOMPARE(f.calls("confirmOriginalsDelete"),
             question.isEmpty() ? QStringList() : QStringList{question});
    QStringList dispensed;
    quint64 used = 0;
    for (EntryPos p = m->groupBegin(Dispensed); m->isValidPos(p); ++p.index) {
        dispensed << m->entryAt(p).Name;
        used += m->entryAt(p).Size;
    }
    // (The model takes the result's positions from the last one down.)
    dispensed.sort();
    QCOMPARE(dispensed, kept);
    QCOMPARE(layoutText().section('|', 1), QString("R:|M:|B:stay|N:"));
    // Files that were moved left their folder for the trash; the others are untouched.
    for (const QString& item : items) {
        const QString name = item.section(':', 1, 1);
        const bool moved = confirm && !missing.contains(name);
        if (!missing.contains(name))
            QCOMPARE(QFileInfo::exists(src.path() + '/' + name), !moved);
        QCOMPARE(QFileInfo::exists(trashPath() + "/files/" + name), moved);
        QCOMPARE(QFileInfo::exists(trashPath() + "/info/" + name + ".trashinfo"), moved);
    }
    if (!confirm) {
        QVERIFY(f.calls("rebuildItems").isEmpty());
        QCOMPARE(m->wastedSize(), quint64(1234));
        QVERIFY(f.actions.dispensed);
        return;
    }
    QCOMPARE(f.status.state, state);
    // While something stays dispensed, so do the actions, and the wasted
    // figure is what the capacity leaves beside it.
    QCOMPARE(f.actions.dispensed, !kept.isEmpty());
    QCOMPARE(f.actions.dispense, kept.isEmpty());
    QCOMPARE(m->wastedSize(), t.capacity() - used);
    QCOMPARE(f.lastCall("showWasted"), QStringLiteral("showWasted %1").arg(t.capacity() - used));
    // Entries that stay keep their origin.
    m->undispense();
    QCOMPARE(m->groupSize(Required), kept.size());
}

QTEST_MAIN(TestEngineDispense)
#include "test_engine_dispense.moc"
