#include <QtTest>

#include "core/model/DM.h"
#include "tests/common/TestMounts.h"
#include "tests/control/EngineFixture.h"

Q_DECLARE_METATYPE(IViewDialogs::SaveChoice)

namespace {

// Required r0 r1, Main m0 m1 m2 (empty file) m3 (folder not yet measured),
// Background b0, Not In Use n0, and d0 dispensed from Background.
void standardProject()
{
    placeEntry(makeEntry("r0", 100), Required);
    placeEntry(makeEntry("r1", 200), Required);
    placeEntry(makeEntry("m0", 1000), Main);
    placeEntry(makeEntry("m1", 2000), Main);
    placeEntry(makeEntry("m2", 0), Main);
    placeEntry(makeEntry("m3", 0, false, Folder), Main);
    placeEntry(makeEntry("b0", 300), Background);
    placeEntry(makeEntry("n0", 400), NotInUse);
    placeEntry(makeEntry("d0", 50), Dispensed, Background);
}
const char* const standardLayout = "D:d0|R:r0,r1|M:m0,m1,m2,m3|B:b0|N:n0";

Target someTarget()
{
    Target t;
    t.Path = "/media/stick";
    t.FileSystem = NTFS;
    t.BlockSize = 4096;
    t.AvailableBlocks = 1000;
    return t;
}

} // namespace

class TestEngineCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void pathsAdd_data();
    void pathsAdd();
    void entryRemove_data();
    void entryRemove();
    void priority_data();
    void priority();
    void selection_data();
    void selection();

    void unsavedChanges_data();
    void unsavedChanges();
    void saveUntitledCancelled();
    void saveFailureIsTold_data();
    void saveFailureIsTold();
    void loadFailure_data();
    void loadFailure();
    void newDropsTargetAndResult();
    void saveAfterSaveAs();
    void saveAfterLoad();
    void loadSetsActions_data();
    void loadSetsActions();

private:
    QTemporaryDir* m_dir = nullptr;
    QString m_oldCwd;
};

void TestEngineCommands::init()
{
    dataModel()->newProject();
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    // Anything written by mistake to a relative path lands here, where it is seen.
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
}

void TestEngineCommands::cleanup()
{
    QDir::setCurrent(m_oldCwd);
    delete m_dir;
    m_dir = nullptr;
}

void TestEngineCommands::pathsAdd_data()
{
    QTest::addColumn<QStringList>("paths");   // "" stays empty, others lie in the temporary folder
    QTest::addColumn<QStringList>("entries"); // name:kind:size once measured
    QTest::addColumn<bool>("save");

    QTest::newRow("folder with a trailing slash")
        << QStringList{"music/"} << QStringList{"music:1:300"} << true;
    QTest::newRow("only empty paths") << QStringList{"", ""} << QStringList() << false;
    QTest::newRow("empty paths between")
        << QStringList{"", "music", "", "report.txt", "empty"}
        << QStringList{"music:1:300", "report.txt:0:1234", "empty:1:0"} << true;
    QTest::newRow("same path twice")
        << QStringList{"music", "music"} << QStringList{"music:1:300", "music:1:300"} << true;
}

void TestEngineCommands::pathsAdd()
{
    QFETCH(QStringList, paths);
    QFETCH(QStringList, entries);
    QFETCH(bool, save);
    QDir dir(m_dir->path());
    QVERIFY(dir.mkpath("music/inner") && dir.mkpath("empty"));
    for (const auto& [name, size] : {std::pair<QString, int>{"report.txt", 1234},
                                     {"music/a.ogg", 100},
                                     {"music/inner/b.ogg", 200}}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
    }
    EngineFixture f;
    QStringList full;
    for (const QString& p : paths)
        full << (p.isEmpty() ? p : m_dir->path() + '/' + p);

    f.engine.pathsAdd(full);

    DM* m = dataModel();
    QCOMPARE(m->groupSize(Main), entries.size());
    QStringList inserted;
    quint64 total = 0;
    for (int i = 0; i < entries.size(); ++i) {
        const QStringList want = entries.at(i).split(':');
        const Entry& e = m->entryAt(EntryPos{Main, i});
        QCOMPARE(e.Ident, m_dir->path() + '/' + want.at(0));
        QCOMPARE(e.Path, m_dir->path());
        QCOMPARE(e.Name, want.at(0));
        QCOMPARE(e.Kind, want.at(1).toInt());
        // A file's size is known at once; a folder's comes from the folder-size thread.
        QCOMPARE(e.IsValidSize, e.Kind == File);
        inserted << QStringLiteral("insertItem {2,%1}").arg(i);
        total += want.at(2).toULongLong();
    }
    QCOMPARE(f.calls("insertItem"), inserted);
    QCOMPARE(f.actions.save, save);
    QCOMPARE(f.calls("enableSave").size(), save ? 1 : 0);
    // The new rows are selected, and the status bar says so.
    QCOMPARE(f.lastCall("showSelected").section(' ', 2), QString::number(entries.size()));
    QCOMPARE(f.actions.entryActions, !entries.isEmpty());

    for (int i = 0; i < entries.size(); ++i) {
        QTRY_VERIFY(m->entryAt(EntryPos{Main, i}).IsValidSize);
        QCOMPARE(m->entryAt(EntryPos{Main, i}).Size, entries.at(i).section(':', 2).toULongLong());
    }
    QTRY_COMPARE(f.lastCall("showTotal"),
                 QStringLiteral("showTotal %1 %2").arg(total).arg(entries.size()));
}

void TestEngineCommands::entryRemove_data()
{
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("total");
    const char* const rows[][4] = {
        {"two of Main", "2:3 2:1", "D:d0|R:r0,r1|M:m0,m2|B:b0|N:n0", "showTotal 1600 5"},
        {"one of every group", "0:0 1:1 2:0 3:0 4:0",
         "D:|R:r0|M:m1,m2,m3|B:|N:", "showTotal 2100 4"},
        {"empty file and unmeasured folder", "2:3 2:2", "D:d0|R:r0,r1|M:m0,m1|B:b0|N:n0",
         "showTotal 3600 5"},
        {"nothing selected", "", standardLayout, "showTotal 3600 7"},
    };
    for (const auto& r : rows)
        QTest::newRow(r[0]) << QString(r[1]) << QString(r[2]) << QString(r[3]);
}

void TestEngineCommands::entryRemove()
{
    QFETCH(QString, selection);
    QFETCH(QString, layout);
    QFETCH(QString, total);
    EngineFixture f;
    standardProject();
    f.items.selection = positions(selection);

    f.engine.entryRemove();

    QCOMPARE(layoutText(), layout);
    QStringList removed;
    for (const EntryPos& p : positions(selection))
        removed << "removeItem " + posText(p);
    QCOMPARE(f.calls("removeItem"), removed);
    QCOMPARE(f.lastCall("showTotal"), total);
    // Save also when nothing was removed; the entry actions follow the now empty selection.
    QVERIFY(f.actions.save);
    QVERIFY(!f.actions.entryActions);
    QCOMPARE(f.lastCall("showSelected"), QStringLiteral("showSelected 0 0"));
    QCOMPARE(f.lastCall("showState"), QStringLiteral("showState READY"));
    // The dispensed entry takes its origin along: what is left goes back home.
    dataModel()->undispense();
    QVERIFY(!layoutText().startsWith("D:d0"));
}

void TestEngineCommands::priority_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<QString>("total");

    const auto row = [](const char* name, const char* command, const char* selection,
                        const char* layout, const QStringList& moves, const char* total) {
        QTest::newRow(name) << command << selection << layout << moves << total;
    };
    const QStringList none;
    row("up from Main", "up", "2:1", "D:d0|R:r0,r1,m1|M:m0,m2,m3|B:b0|N:n0",
        {"moveItem {2,1} {1,2}"}, "showTotal 3600 7");
    row("up stops at Required", "up", "1:0", standardLayout, none, "showTotal 3600 7");
    row("up leaves Dispensed", "up", "0:0", standardLayout, none, "showTotal 3600 7");
    row("down stops at Not In Use", "down", "4:0", standardLayout, none, "showTotal 3600 7");
    row("down into Not In Use", "down", "3:0", "D:d0|R:r0,r1|M:m0,m1,m2,m3|B:|N:n0,b0",
        {"moveItem {3,0} {4,1}"}, "showTotal 3300 6");
    row("down two of a group", "down", "2:3 2:0", "D:d0|R:r0,r1|M:m1,m2|B:b0,m3,m0|N:n0",
        {"moveItem {2,3} {3,1}", "moveItem {2,0} {3,2}"}, "showTotal 3600 7");
    row("Main from Dispensed", "set2", "0:0", "D:|R:r0,r1|M:m0,m1,m2,m3,d0|B:b0|N:n0",
        {"moveItem {0,0} {2,4}"}, "showTotal 3650 8");
    row("own group goes to its end", "set1", "1:0", "D:d0|R:r1,r0|M:m0,m1,m2,m3|B:b0|N:n0",
        {"moveItem {1,0} {1,1}"}, "showTotal 3600 7");
    row("Not In Use from three groups", "set4", "1:1 2:2 3:0",
        "D:d0|R:r0|M:m0,m1,m3|B:|N:n0,r1,m2,b0",
        {"moveItem {1,1} {4,1}", "moveItem {2,2} {4,2}", "moveItem {3,0} {4,3}"},
        "showTotal 3100 4");
    row("no such group", "set0", "2:0", standardLayout, none, "");
}

void TestEngineCommands::priority()
{
    QFETCH(QString, command);
    QFETCH(QString, selection);
    QFETCH(QString, layout);
    QFETCH(QStringList, moves);
    QFETCH(QString, total);
    EngineFixture f;
    standardProject();
    f.items.selection = positions(selection);

    if (command == "up")
        f.engine.priorityUp();
    else if (command == "down")
        f.engine.priorityDown();
    else
        f.engine.prioritySet(command.mid(3).toInt());

    QCOMPARE(layoutText(), layout);
    QCOMPARE(f.calls("moveItem"), moves);
    QCOMPARE(f.lastCall("showTotal"), total);
    // Save even when nothing moved (but not for a group that does not exist).
    QCOMPARE(f.actions.save, !total.isEmpty());
    if (!total.isEmpty()) {
        QVERIFY(f.actions.entryActions);
        QCOMPARE(f.lastCall("showSelected").section(' ', 2),
                 QString::number(positions(selection).size()));
    }
    QVERIFY(f.calls("setTitle").isEmpty()); // no refresh
}

void TestEngineCommands::selection_data()
{
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("summary");
    // An empty file or a folder still being measured counts as a selection.
    const char* const rows[][3] = {
        {"nothing", "", "showSelected 0 0"},
        {"empty file", "2:2", "showSelected 0 1"},
        {"folder not yet measured", "2:3", "showSelected 0 1"},
        {"two groups", "1:1 2:0", "showSelected 1200 2"},
        {"everything", "0:0 1:1 1:0 2:3 2:2 2:1 2:0 3:0 4:0", "showSelected 4050 9"},
    };
    for (const auto& r : rows)
        QTest::newRow(r[0]) << QString(r[1]) << QString(r[2]);
}

void TestEngineCommands::selection()
{
    QFETCH(QString, selection);
    QFETCH(QString, summary);
    const bool enabled = !selection.isEmpty();
    EngineFixture f;
    standardProject();
    f.actions.entryActions = !enabled;
    f.items.selection = positions(selection);

    f.engine.selectionChanged();

    QCOMPARE(f.log.take(),
             (QStringList{summary, QStringLiteral("enableEntryActions %1").arg(enabled)}));
    QCOMPARE(f.actions.entryActions, enabled);
    // A refresh keeps showing the selection.
    f.engine.refreshViews();
    QCOMPARE(f.lastCall("showSelected"), summary);
}

void TestEngineCommands::unsavedChanges_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<IViewDialogs::SaveChoice>("choice");
    QTest::addColumn<QString>("saveTo"); // answer of the Save As dialog; "" cancels it
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("proceeds");

    for (const char* command : {"new", "load", "close"}) {
        const QByteArray c(command);
        const QString cmd(command);
        const auto row = [&](const char* what) {
            return &QTest::newRow(QByteArray(c + what).constData());
        };
        *row(": nothing to save") << cmd << false << IViewDialogs::CancelClose << "" << false
                                  << true;
        *row(": cancel") << cmd << true << IViewDialogs::CancelClose << "" << true << false;
        *row(": discard") << cmd << true << IViewDialogs::DiscardChanges << "" << true << true;
        // Untitled: Save asks for a file.
        *row(": save, file dialog cancelled")
            << cmd << true << IViewDialogs::SaveChanges << "" << true << false;
        *row(": save to a chosen file")
            << cmd << true << IViewDialogs::SaveChanges << "kept.qmp" << true << true;
        *row(": save fails") << cmd << true << IViewDialogs::SaveChanges << "missing/kept.qmp"
                             << true << false;
    }
}

void TestEngineCommands::unsavedChanges()
{
    QFETCH(QString, command);
    QFETCH(bool, modified);
    QFETCH(IViewDialogs::SaveChoice, choice);
    QFETCH(QString, saveTo);
    QFETCH(bool, asked);
    QFETCH(bool, proceeds);
    EngineFixture f;
    if (modified)
        standardProject();
    QCOMPARE(dataModel()->isModified(), modified);
    const QString before = layoutText();
    f.dialogs.nextSaveChoice = choice;
    f.dialogs.hasSavePath = !saveTo.isEmpty();
    f.dialogs.nextSavePath = m_dir->path() + '/' + saveTo;
    f.actions.save = modified;

    bool closes = false;
    if (command == "new")
        f.engine.projectNew();
    else if (command == "load")
        f.engine.projectLoad(); // its file dialog is cancelled
    else
        closes = f.engine.queryClose();

    QCOMPARE(!f.calls("askSaveChanges").isEmpty(), asked);
    QCOMPARE(f.calls("askProjectSaveAs").size(), choice == IViewDialogs::SaveChanges ? 1 : 0);
    if (command == "new") {
        QCOMPARE(layoutText(), proceeds ? QString("D:|R:|M:|B:|N:") : before);
        QCOMPARE(f.calls("rebuildItems").size(), proceeds ? 1 : 0);
    } else if (command == "load") {
        QCOMPARE(f.calls("askProjectLoad").size(), proceeds ? 1 : 0);
        QCOMPARE(layoutText(), before);
    } else {
        QCOMPARE(closes, proceeds);
        QCOMPARE(layoutText(), before);
    }
    if (!proceeds) {
        // Everything as it was: the changes are still unsaved, and Save says so.
        QVERIFY(dataModel()->isModified());
        QVERIFY(f.actions.save);
    }
    // Nothing written behind the user's back, and what was saved is all there.
    const bool saved = proceeds && choice == IViewDialogs::SaveChanges;
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             saved ? QStringList{saveTo} : QStringList());
    if (saved) {
        QVERIFY(dataModel()->load(m_dir->path() + '/' + saveTo, saveTo));
        QCOMPARE(layoutText(), QString(standardLayout));
    }
}

void TestEngineCommands::saveUntitledCancelled()
{
    EngineFixture f;
    standardProject();
    f.actions.save = true;

    f.engine.projectSave();

    QCOMPARE(f.log.take(), QStringList{"askProjectSaveAs"});
    QVERIFY(f.actions.save);
    QVERIFY(dataModel()->isModified());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestEngineCommands::saveFailureIsTold_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("folder missing") << false;
    QTest::newRow("folder read-only") << true;
}

void TestEngineCommands::saveFailureIsTold()
{
    QFETCH(bool, readOnly);
    TestMounts mounts;
    QString folder = m_dir->path() + "/no such folder";
    if (readOnly) {
        QVERIFY(QDir(m_dir->path()).mkpath("rw"));
        folder = mounts.readOnlyBind(m_dir->path() + "/rw", m_dir->path() + "/ro");
        if (folder.isEmpty())
            QSKIP(qPrintable("no read-only folder on this machine: " + mounts.why()));
    }
    EngineFixture f;
    standardProject();
    f.actions.save = true;
    f.dialogs.hasSavePath = true;
    f.dialogs.nextSavePath = folder + "/p.qmp";

    f.engine.projectSaveAs();

    QVERIFY(!dataModel()->lastError().isEmpty());
    QCOMPARE(f.status.state, dataModel()->lastError());
    QVERIFY(f.actions.save);
    QVERIFY(f.calls("setTitle").isEmpty());
    QVERIFY(dataModel()->isModified());
    // A plain Save after that still asks where to write.
    f.log.take();
    f.engine.projectSave();
    QCOMPARE(f.calls("askProjectSaveAs").size(), 1);
    QVERIFY(!QFile::exists(f.dialogs.nextSavePath));
}

void TestEngineCommands::loadFailure_data()
{
    QTest::addColumn<QByteArray>("content"); // "-" for no file at all
    QTest::addColumn<QString>("reason");
    QTest::newRow("not found") << QByteArray("-") << "not found";
    QTest::newRow("not a project file")
        << QByteArray("just some text\n") << "not a Quillmarch project";
    QTest::newRow("damaged")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Quillmarch><Required><Entry")
        << "damaged";
}

void TestEngineCommands::loadFailure()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const QString path = m_dir->path() + "/project.xml";
    if (content != "-") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    EngineFixture f;
    standardProject();
    dataModel()->setTarget(someTarget());
    f.actions.save = true;
    f.actions.dispensed = true;
    f.dialogs.nextSaveChoice = IViewDialogs::DiscardChanges;
    f.dialogs.hasLoadPath = true;
    f.dialogs.nextLoadPath = path;

    f.engine.projectLoad();

    // The reason reaches the status bar; project, list, changes and actions stay.
    QVERIFY(!dataModel()->lastError().isEmpty());
    QCOMPARE(f.status.state, dataModel()->lastError());
    QVERIFY2(f.status.state.contains(reason), qPrintable(f.status.state));
    QCOMPARE(layoutText(), QString(standardLayout));
    QVERIFY(dataModel()->isModified());
    QVERIFY(dataModel()->hasTarget());
    for (const char* call :
         {"rebuildItems", "enableSave", "setDispensed", "disableDispense", "setTitle"})
        QVERIFY2(f.calls(call).isEmpty(), call);
    QVERIFY(f.actions.save);
}

void TestEngineCommands::newDropsTargetAndResult()
{
    EngineFixture f;
    standardProject();
    dataModel()->setTarget(someTarget());
    f.actions.save = true;
    f.actions.dispensed = true;
    f.dialogs.nextSaveChoice = IViewDialogs::DiscardChanges;

    f.engine.projectNew();

    QCOMPARE(f.dialogs.title, QString("New Project"));
    QVERIFY(!dataModel()->hasTarget());
    // Nothing to dispense into, nothing dispensed, nothing to save.
    QVERIFY(!f.actions.dispense && !f.actions.dispensed && !f.actions.save &&
            !f.actions.entryActions);
    QCOMPARE(f.lastCall("showTotal"), QString("showTotal 0 0"));
    QVERIFY(f.calls("showNoTarget").size() == 1);
}

void TestEngineCommands::saveAfterSaveAs()
{
    EngineFixture f;
    standardProject();
    f.actions.save = true;
    const QString path = m_dir->path() + "/chosen.qmp";
    f.dialogs.hasSavePath = true;
    f.dialogs.nextSavePath = path;

    f.engine.projectSaveAs();

    QCOMPARE(f.log.take(),
             (QStringList{"askProjectSaveAs", "setTitle chosen.qmp", "enableSave 0"}));
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(!dataModel()->isModified());
    // The next refresh shows the stored name: the path as chosen.
    f.engine.refreshViews();
    QCOMPARE(f.dialogs.title, path);

    // A change, then Save: written to the chosen file without asking again.
    placeEntry(makeEntry("late", 5), Background);
    f.actions.save = true;
    f.log.take();
    f.engine.projectSave();
    QCOMPARE(f.log.take(), QStringList{"enableSave 0"});
    QVERIFY(!dataModel()->isModified());
    f.dialogs.nextSaveChoice = IViewDialogs::DiscardChanges;
    QVERIFY(dataModel()->load(path, "chosen.qmp"));
    QCOMPARE(layoutText(), QString("D:d0|R:r0,r1|M:m0,m1,m2,m3|B:b0,late|N:n0"));
}

void TestEngineCommands::saveAfterLoad()
{
    const QString path = m_dir->path() + "/projects/p.qmp";
    QVERIFY(QDir(m_dir->path()).mkpath("projects"));
    QVERIFY(QDir(m_dir->path()).mkpath("elsewhere"));
    standardProject();
    QVERIFY(dataModel()->saveAs(path));
    dataModel()->newProject();
    EngineFixture f;
    // Chosen relative to the working folder of the moment, which then changes.
    f.dialogs.hasLoadPath = true;
    f.dialogs.nextLoadPath = "projects/p.qmp";

    f.engine.projectLoad();

    QCOMPARE(layoutText(), QString(standardLayout));
    QCOMPARE(f.dialogs.title, QString("p.qmp"));
    QVERIFY(QDir::setCurrent(m_dir->path() + "/elsewhere"));
    f.engine.prioritySet(Required); // nothing selected: no change
    placeEntry(makeEntry("late", 5), NotInUse);
    f.log.take();
    f.engine.projectSave();

    QCOMPARE(f.log.take(), QStringList{"enableSave 0"});
    QCOMPARE(QDir(m_dir->path() + "/elsewhere").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
    QVERIFY(dataModel()->load(path, "p.qmp"));
    QCOMPARE(layoutText(), QString("D:d0|R:r0,r1|M:m0,m1,m2,m3|B:b0|N:n0,late"));
}

void TestEngineCommands::loadSetsActions_data()
{
    QTest::addColumn<bool>("target");
    QTest::addColumn<bool>("dispensed");
    QTest::newRow("target, nothing dispensed") << true << false;
    QTest::newRow("target and a result") << true << true;
    QTest::newRow("no target") << false << false;
    QTest::newRow("a result but no target") << false << true;
}

void TestEngineCommands::loadSetsActions()
{
    QFETCH(bool, target);
    QFETCH(bool, dispensed);
    const QString path = m_dir->path() + "/p.qmp";
    placeEntry(makeEntry("m0", 1000), Main);
    if (dispensed)
        placeEntry(makeEntry("d0", 50), Dispensed, Required);
    if (target)
        dataModel()->setTarget(someTarget());
    QVERIFY(dataModel()->saveAs(path));
    dataModel()->newProject();
    EngineFixture f;
    // The opposite of what the loaded project needs, and unsaved changes.
    if (!target)
        dataModel()->setTarget(someTarget());
    f.actions.dispense = !(target && !dispensed);
    f.actions.dispensed = !dispensed;
    f.actions.save = true;
    f.actions.entryActions = true;
    f.dialogs.nextSaveChoice = IViewDialogs::DiscardChanges;
    f.dialogs.hasLoadPath = true;
    f.dialogs.nextLoadPath = path;

    f.engine.projectLoad();

    QCOMPARE(f.calls("askSaveChanges").size(), target ? 0 : 1);
    QCOMPARE(f.calls("rebuildItems").size(), 1);
    QCOMPARE(dataModel()->hasTarget(), target);
    QCOMPARE(f.actions.dispense, target && !dispensed);
    QCOMPARE(f.actions.dispensed, dispensed);
    QVERIFY(!f.actions.save);
    QVERIFY(!f.actions.entryActions);
    QCOMPARE(f.dialogs.title, QString("p.qmp"));
    QCOMPARE(f.lastCall("showState"), QString("showState READY"));
    QCOMPARE(f.lastCall("showTotal"), QString("showTotal 1000 1"));
}

QTEST_GUILESS_MAIN(TestEngineCommands)
#include "test_engine_commands.moc"
