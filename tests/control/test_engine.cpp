// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <QClipboard>
#include <QMimeData>
#include <QtTest>

#include "control/Engine.h"
#include "core/copy/VolumeIdentity.h"
#include "core/dispense/Dispenser.h"
#include "core/dispense/TargetDiscovery.h"
#include "tests/common/FakeViews.h"
#include "tests/common/TestMounts.h"
#include "tests/common/TreeMaker.h"

namespace {

// Required r0 r1, Main m0 m1 m2 (empty file) m3 (folder not yet measured),
// Background b0, Not In Use n0, and d0 dispensed from Background; its layout.
const QString P = "entry r0 100 1;entry r1 200 1;entry m0 1000 2;entry m1 2000 2;entry m2 0 2;"
                  "entry m3 / 2;entry b0 300 3;entry n0 400 4;entry d0 50 3;sel 3:1;result 0;";
const QString S = "L=D:d0|R:r0,r1|M:m0,m1,m2,m3|B:b0|N:n0", E = "L=D:|R:|M:|B:|N:";

// Relative target paths stand for volumes whose figures do not change; the
// others are probed for real.
struct StandInEngine : Engine
{
    bool probeTarget(bool whole, Target& t) override
    {
        return QFileInfo(t.Path).isRelative() || Engine::probeTarget(whole, t);
    }
};

// One engine on the fake views, over an emptied model. Searches run to their
// end or cancelled from the start; do_finish comes just before the thread ends.
struct Fixture
{
    FakeViews v;
    StandInEngine engine;
    bool cancel = false; // the next search
    Fixture()
    {
        dataModel()->newProject();
        engine.attachViews(&v, &v, &v, &v);
        v.onRunDispense = [this](Dispenser* d) {
            QSignalSpy finished(d, &IDispenser::do_finish);
            std::exchange(cancel, false) ? d->cancel() : void();
            return d->start(), d->wait(), finished.count() == 1 && finished[0][0].toBool();
        };
    }
    ~Fixture() { engine.detachViews(); }
};

} // namespace

class TestEngine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void commands_data();
    void commands();

private:
    QString dir(const QString& name = QString()) const { return m_home.filePath("work/" + name); }
    QString trash() const { return m_home.filePath(".local/share/Trash/files"); }
    qint64 freeBlocks() const { return QStorageInfo(m_volume).bytesAvailable() / 4096; }
    void run(Fixture& f, const QString& script);
    QString observe(Fixture& f, const QString& key);

    QTemporaryDir m_home;
    TestMounts m_mounts;
    QString m_volume; // a small NTFS volume, empty when the machine has none
};

void TestEngine::initTestCase()
{
    m_volume = m_mounts.ntfs(m_home.filePath("volume"), 8, false);
}

// The trash of this test, not the user's; a working folder where anything
// written to a relative path by mistake is seen.
void TestEngine::init()
{
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", m_home.filePath(".local/share").toLocal8Bit());
    QVERIFY(QDir(m_home.filePath(".local/share/Trash")).removeRecursively() &&
            QDir(dir()).removeRecursively());
    QVERIFY(QDir().mkpath(dir()) && QDir::setCurrent(dir()));
}

// Runs the steps of script: commands of the controller, or changes made to the
// model or the files behind its back, after which the views show the model.
void TestEngine::run(Fixture& f, const QString& script)
{
    DM* m = dataModel();
    FakeViews& v = f.v;
    using A = const QStringList&;
    const auto shown = [&] { v.rebuildItems(), f.engine.refreshViews(); };
    const auto target = [&](A a) { // on the volume of the working folder, as if picked there
        return Target{a[0], NTFS, 4096, a[1].toULongLong(), VolumeIdentity::of(dir()).volumeId};
    };
    const auto entry = [&](A a) { // name size group; size "/" for a folder
        EntryPos p = m->addEntry(Entry{a[0], dir().chopped(1), dir(a[0]), a[1].toULongLong(),
                                       a[1] != "/", a[1] == "/" ? Folder : File});
        m->moveEntry(p, a[2].toInt()), shown();
    };
    const auto positions = [](A a) {
        std::vector<EntryPos> out;
        for (const QString& s : a)
            out.push_back(EntryPos{s.section(':', 0, 0).toInt(), s.section(':', 1).toInt()});
        return out;
    };
    // clang-format off
    const QMap<QString, std::function<void(A)>> verbs{
        {"entry", entry}, {"sel", [&](A a) { v.selection = positions(a); }},
        {"result", [&](A a) { // wasted; the selected entries go
             DispenseQueue q;
             for (const EntryPos& p : v.selection) q.push(p);
             m->applyDispense(q, a[0].toULongLong()), shown(); }},
        {"settle", [&](A) { // sizes come in the order asked for: the last one last
             QVERIFY(TreeMaker::make(dir(), {"d:sentinel"}));
             f.engine.pathsAdd({dir("sentinel")});
             const EntryPos last{Main, m->groupSize(Main) - 1};
             QVERIFY(QTest::qWaitFor([&] { return m->entryAt(last).IsValidSize; })); }},
        {"file", [&](A a) { TreeMaker::make(dir(), {"f:" + a[0] + "=" + a[1]}), entry(a); }},
        {"mk", [&](A a) { QVERIFY(TreeMaker::make(dir(), a)); }},
        {"target", [&](A a) { m->setTarget(target(a)), shown(); }},
        {"cd", [&](A a) { QVERIFY(QDir().mkpath(a[0]) && QDir::setCurrent(a[0])); }},
        {"add", [&](A a) { f.engine.pathsAdd(a.join(' ').replace('-', "").split(' ')); }},
        {"raw", [&](A a) { // a file named by bytes, added by the name Qt makes of them
             const QByteArray name = QFile::encodeName(dir()) + QByteArray::fromPercentEncoding(a[0].toLatin1());
             QVERIFY(::close(::creat(name.constData(), 0644)) == 0);
             f.engine.pathsAdd({QFile::decodeName(name)});
             ::unlink(name.constData()); }}, // QDir cannot remove it
        {"pick", [&](A a) { v.pick = [=] { return a.size() && (m->setTarget(target(a)), 1); }; }},
        {"choice", [&](A a) { v.saveChoice = IViewDialogs::SaveChoice(a[0].toInt()); }},
        {"acts", [&](A a) { v.acts = a[0]; }},
        {"ans", [&](A a) { v.answers << QString(a[0]).replace("%D", dir()); }},
        {"medium", [&](A a) { // wasted, then the positions on it
             v.media.push_back(SeriesMedium{positions(a.mid(1)), 0, a[0].toULongLong()}); }},
        {"cancel", [&](A) { f.cancel = true; }}, {"busy", [&](A) { QThread::msleep(100); }},
        {"rm", [&](A a) { QVERIFY(QFile::remove(dir(a[0]))); }},
        {"events", [&](A) { QTest::qWait(20); }},
        {"volume", [&](A) { // picked for real, then filled by someone else to 36 blocks free
             Target t{m_volume};
             QVERIFY(probeTarget(false, t));
             m->setTarget(t), shown();
             QFile filler(m_volume + "/filler");
             QVERIFY(filler.open(QIODevice::WriteOnly) &&
                     filler.write(QByteArray((freeBlocks() - 36) * 4096, 'x')) && filler.flush());
             QCOMPARE(freeBlocks(), 36); }},
        {"set", [&](A a) { f.engine.prioritySet(a[0].toInt()); }},
        {"close", [&](A) { v.closed = f.engine.queryClose(); }}};
    const QMap<QString, void (Ctrl::*)()> commands{
        {"new", &Ctrl::projectNew}, {"load", &Ctrl::projectLoad}, {"save", &Ctrl::projectSave},
        {"saveas", &Ctrl::projectSaveAs}, {"exit", &Ctrl::appExit}, {"about", &Ctrl::about},
        {"select", &Ctrl::diskSelect}, {"dispense", &Ctrl::dispense},
        {"undispense", &Ctrl::undispense}, {"series", &Ctrl::planSeries}, {"post", &Ctrl::clipboardPost},
        {"delete", &Ctrl::originalsDelete}, {"files", &Ctrl::filesAdd},
        {"folder", &Ctrl::folderAdd}, {"remove", &Ctrl::entryRemove}, {"up", &Ctrl::priorityUp},
        {"down", &Ctrl::priorityDown}, {"click", &Ctrl::selectionChanged},
        {"detach", &Ctrl::detachViews}};
    // clang-format on
    for (const QString& step : script.split(';', Qt::SkipEmptyParts)) {
        const QStringList w = step.split(' ');
        QVERIFY2(verbs.contains(w[0]) || commands.contains(w[0]), qPrintable(step));
        verbs.value(w[0], [&](A) { (f.engine.*commands[w[0]])(); })(w.mid(1));
        if (QTest::currentTestFailed())
            return;
    }
}

// What the user would see of key, and the files on disk.
QString TestEngine::observe(Fixture& f, const QString& key)
{
    DM* m = dataModel();
    const auto filesIn = [](const QString& d) {
        return QDir(d).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).join(',');
    };
    QStringList out;
    for (int g = Dispensed; key == "sizes" && g < NoGroup; ++g) // name:size, "?" when unknown
        for (EntryPos p{g, 0}; m->isValidPos(p); ++p.index)
            out << m->entryAt(p).Name + ":" +
                       (m->entryAt(p).IsValidSize ? QString::number(m->entryAt(p).Size) : "?");
    if (key == "clip")
        for (const QUrl& u : QGuiApplication::clipboard()->mimeData()->urls())
            out << QDir(dir()).relativeFilePath(u.toLocalFile());
    if (key == "sized") // rows told their size
        (out = f.v.sized).sort();
    for (int g = Dispensed; key == "marked" && g < NoGroup; ++g) // entries the search left out
        for (EntryPos p{g, 0}; m->isValidPos(p); ++p.index)
            m->entryAt(p).Issue ? out << m->entryAt(p).Name : out;
    if (key == "fresh") // the volume's figures as they are now
        return QString::number(f.v.shownTarget ==
                               m_volume + " " + QString::number(freeBlocks() * 4096));
    // clang-format off
    const QMap<QString, QString> seen{{"L", layoutText()}, {"total", f.v.total},
        {"sel", f.v.selected}, {"acts", f.v.acts}, {"target", f.v.shownTarget},
        {"wasted", f.v.wasted}, {"title", f.v.title}, {"state", QString(f.v.state).remove(dir())},
        {"asked", f.v.asked.join('+')}, {"closed", QString::number(f.v.closed)},
        {"series", QString::number(f.v.series)},
        {"mod", QString::number(m->isModified())}, {"files", filesIn(dir())},
        {"here", filesIn(".")}, {"trash", filesIn(trash())},
        {"told", QString::number(!m->lastError().isEmpty() && f.v.state == m->lastError())}};
    // clang-format on
    return seen.value(key, out.join(','));
}

void TestEngine::commands_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected"); // "key=value ..."; see observe()
    const auto row = [](const QString& name, const QString& script, const QString& expected) {
        QTest::newRow(qPrintable(name)) << script << expected;
    };
    // Entry commands on the selection; Remove and the priorities are on while anything is.
    row("remove", P + "acts Esdu;sel 2:1 2:3 0:0;remove",
        "L=D:|R:r0,r1|M:m0,m2|B:b0|N:n0 total=1600 5 sel=0 0 acts=eSdu");
    row("up", P + "sel 0:0 1:0 2:1;up",
        "L=D:d0|R:r0,r1,m1|M:m0,m2,m3|B:b0|N:n0 total=3600 7 sel=2150 3 acts=ESdu");
    row("down", P + "sel 2:0 2:3 3:0 4:0;down", // m0 and m3 keep their order
        "L=D:d0|R:r0,r1|M:m1,m2|B:m0,m3|N:n0,b0 total=3300 6 sel=1700 4 acts=ESdu");
    row("set", P + "sel 0:0 1:0 2:2 3:0 4:0;set 4",
        "L=D:|R:r1|M:m0,m1,m3|B:|N:d0,r0,m2,b0,n0 total=3200 4 sel=850 5 acts=ESdu");
    row("click", P + "sel 2:2 2:3;click", "sel=0 2 acts=Esdu"); // unsized, but selected
    // Adding: files are sized at once, folders by the folder-size thread; what
    // does not exist or is there already is not added.
    row("drop",
        "mk d:empty f:r=12 f:music/a=100 f:music/in/b=200;add - music - r music;ans empty;"
        "folder;ans missing|music|/dev/null;files;settle",
        "sizes=music:300,r:12,empty:0,sentinel:0 total=312 4 sel=312 4 "
        "acts=ESdu sized=empty,music,sentinel state=READY");
    row("name not UTF-8", "raw caf%E9%0A.bin",
        "sizes= state=\"caf\\xE9\\x0A.bin\" was not added: its name "
        "is not valid UTF-8. Rename it and add it again.");
    row("nothing added, about, exit", "add - -;files;folder;about;exit",
        E + " asked=files+folder+about closed=1 title=New Project total=0 0 state=READY "
            "target=none wasted=none acts=esdu");
    // New, Load (whose file dialog is then cancelled) and closing ask to save
    // changes; nothing is given up unsaved.
    for (const QString c : {"new", "load", "close"}) {
        const QString changed = P + "target /s 10;acts eSDU;choice ";
        const QString load = c == "load" ? "+load" : "", kept = " " + S + " mod=1 acts=eSDU files=";
        const QString gone = c == "new" ? QString(" " + E + " target=none total=0 0 acts=esdu")
                                        : QString(c == "close" ? " closed=1" : "");
        row(c + ": nothing to save", c, "asked=" + load.mid(1) + gone);
        row(c + ": cancel", changed + "0;" + c, "asked=saveChanges closed=0" + kept);
        row(c + ": discard", changed + "2;" + c, "asked=saveChanges" + load + gone);
        row(c + ": save, cancelled", changed + "1;" + c, "asked=saveChanges+saveAs" + kept);
        row(c + ": save", changed + "1;ans k.qmp;" + c,
            "asked=saveChanges+saveAs" + load + gone + " files=k.qmp");
        row(c + ": save fails", changed + "1;ans no/k.qmp;" + c, "asked=saveChanges+saveAs" + kept);
    }
    // Save writes only to a file the user chose, and keeps writing there.
    row("save untitled, cancelled", P + "acts eSdu;save", "asked=saveAs acts=eSdu mod=1 files=");
    row("save untitled", P + "ans c.qmp;save;entry late 5 3;acts eSdu;save;ans c.qmp;load",
        "asked=saveAs+load files=c.qmp L=D:d0|R:r0,r1|M:m0,m1,m2,m3|B:b0,late|N:n0");
    row("save as, no such folder", P + "acts eSdu;ans no/p.qmp;saveas;save",
        "asked=saveAs+saveAs files= mod=1 acts=eSdu title=New Project told=1");
    // Load sets the actions for the project; Save then writes back to its file,
    // wherever the working folder is by then. A failed load keeps everything.
    for (const auto& [name, project, acts, loaded] :
         {std::tuple<QString, QString, QString, QString>{"target", "target /m 9", "ESdU",
                                                         "esDu D:"},
          {"target, result", "entry d0 50 1;sel 1:0;result 0;target /m 9", "ESDu", "esdU D:d0"},
          {"no target", "", "ESDU", "esdu D:"}}) {
        const QString prepare = "mk f:junk=99;entry m0 1000 2;" + project +
                                ";ans p.qmp;saveas;new;" + P + "target /o 10;acts " + acts +
                                ";ans ";
        row("load " + name, prepare + "p.qmp;load;cd sub;entry late 5 4;save;ans ../p.qmp;load",
            "acts=" + loaded.left(4) + " here= title=p.qmp total=1000 1 L=" + loaded.mid(5) +
                "|R:|M:m0|B:|N:late");
        const QString kept = " told=1 mod=1 target=/o 40960 acts=" + acts + " " + S;
        if (name == "target") {
            row("load: not found", prepare + "none.qmp;load", kept);
            row("load: not a project", prepare + "junk;load", kept);
        }
    }
    // Choosing a target: Dispense comes on with the first, unless a result is held.
    const QString m0 = "entry m0 1000 2;", result = "sel 2:0;result 7;acts esdU;";
    row("first target", m0 + "pick /n 500;select", "target=/n 2048000 acts=eSDu wasted=none");
    row("target picker cancelled", m0 + "pick;select", "target=none acts=esdu");
    row("first target, result", m0 + result + "pick /n 5;select", "acts=eSdU L=D:m0|R:|M:|B:|N:");
    row("second target, result", m0 + "target /o 1;" + result + "pick /n 5;select",
        "target=/n 20480 wasted=7 acts=eSdU L=D:m0|R:|M:|B:|N:");
    // The road of a dispense. 36 blocks of 4096, 11 past the NTFS reserve, in
    // KiB with 2 of metadata a file: r0 takes 14; of Main's 26, 22 and 14 only
    // one fits into the 30 left, best the 26.
    const QString road = "file r0 12288 1;file m0 24576 2;file m1 20480 2;file m2 12188 2;"
                         "file n0 4096 4;";
    const QString ready = road + "target s 36;acts esDu;";
    row("dispense without a target", road + "dispense", "asked= acts=esdu");
    row("dispense cancelled", ready + "cancel;dispense",
        "asked=search L=D:|R:r0|M:m0,m1,m2|B:|N:n0 acts=esDu wasted=none");
    row("dispense, post", ready + "dispense;post",
        "L=D:m0,r0|R:|M:m1,m2|B:|N:n0 wasted=4096 total=32668 2 acts=eSdU clip=m0,r0");
    row("undispense", ready + "dispense;post;acts esdU;undispense;post",
        "L=D:|R:r0|M:m1,m2,m0|B:|N:n0 clip= total=69532 4 acts=eSDu");
    // A planned medium is dispensed as Dispense would, what remains of the series left
    // unplanned; not while a result is held, nor with entries no longer where they were.
    const QString few = "entry r0 100 1;entry m0 1000 2;entry m1 2000 2;entry b0 300 3;"
                        "entry n0 400 4;acts esDu;";
    row("series, dispense a medium", // its waste from the block costs, not the medium's figure
        road + "target s 40;file b0 300 3;medium 77 1:0 2:1;series",
        "asked=series r0,m0,m1,m2,b0 1 L=D:m1,r0|R:|M:m0,m2|B:b0|N:n0 wasted=24576 acts=eSdU "
        "series=1");
    row("series, result held", P + "medium 5 1:0;series", "asked=series r0,r1,m0,m1,m2,m3,b0 0 " + S);
    row("series, stale medium", few + "target s 40;medium 5 1:0 4:0;series",
        "acts=esDu wasted=none");
    row("series, nothing to plan", few + "sel 1:0 2:0 2:1 3:0;set 4;series", "asked= series=0");
    // The target is probed again: gone, or filled up since it was picked.
    row("dispense, target gone", road + "target /gone 10;acts esDu;dispense",
        "asked= acts=esDu state=Cannot dispense to /gone: The volume is not mounted");
    row("dispense, filled up since picked", road + "volume;acts esDu;dispense",
        "fresh=1 L=D:m0,r0|R:|M:m1,m2|B:|N:n0 wasted=4096");
    // What cannot be measured is left out and marked; a Required entry that does not fit is told.
    row("dispense, vanished and too large",
        ready + "file big 999999 1;file gone 4096 2;rm gone;dispense",
        "L=D:m0,r0|R:big|M:m1,m2,gone|B:|N:n0 marked=gone state=Left out of the plan: 1 "
        "entry (1 no longer exists); 1 Required entries did not fit");
    // Only what arrived on the target goes to the trash: a (gone) and c (in t/sub, the folder
    // the user may point to) are not at its root; d and a file deep in set differ.
    row("delete, asked first",
        ready + "dispense;mk f:s/m0=24576 f:s/r0=12288;ans none;delete;delete",
        "asked=search+delete 2 2+delete 2 2 L=D:|R:|M:m1,m2|B:|N:n0 trash=m0,r0 acts=eSDu");
    const QString copied = "entry a 10 1;file b 3000 1;file c 7 1;file d 7 1;mk f:album/x=5;"
                           "entry album / 1;mk f:t/album/x=5 f:t/b=3000 f:t/d=4 f:t/sub/c=7;"
                           "mk f:set/x=5 f:set/in/y=9 f:t/set/x=5 f:t/set/in/y=8;entry set / 1;"
                           "target t 10;sel 1:0 1:1 1:2 1:3 1:4 1:5;result 1234;acts esdU;";
    row("delete, some not on the target", copied + "delete",
        "asked=delete 2 6 L=D:set,d,c,a|R:|M:|B:|N: trash=album,b wasted=none acts=eSdU "
        "state=Did not arrive on the target, still dispensed: set, d, c, a");
    row("delete, some not on the target, undispense", copied + "delete;undispense",
        "L=D:|R:a,c,d,set|M:|B:|N: acts=eSDu");
    row("delete, looked in a folder", copied + "ans %D/t/sub;delete",
        "asked=delete 2 6+delete 3 6 trash=album,b,c state=Did not arrive on the target, still "
        "dispensed: set, d, a");
    row("delete, pointed at the originals", copied + "ans %D;delete",
        "asked=delete 2 6+delete 2 6 trash=album,b");
    // Folder sizes reach the entry they were measured for, however the
    // entries changed meanwhile; the reports wait until the steps are done.
    const QString dirs = "mk f:A/s/x=1 f:B/s/x=20 f:C/s/x=300 f:D/s/x=4000 d:E;";
    row("sizes: moved, removed, dispensed",
        dirs + "add E A B C D;sel 2:0;remove;sel 2:1;set 4;sel 2:2;result 0;sel 2:0;set 1;settle",
        "sizes=D:4000,A:1,C:300,sentinel:0,B:20 sized=A,B,C,D,sentinel total=301 3");
    // Stopped with the views: nothing more reaches them, not even reports already sent.
    row("sizes: detached", dirs + "add A B;busy;detach;events", "sized= total=0 2");
}

void TestEngine::commands()
{
    QFETCH(QString, script);
    QFETCH(QString, expected);
    if (script.contains("volume") && m_volume.isEmpty())
        QSKIP(qPrintable(m_mounts.why()));
    Fixture f;
    run(f, script);
    for (const QString& item :
         expected.split(QRegularExpression(" (?=[A-Za-z]+=)"), Qt::SkipEmptyParts)) {
        const QString key = item.section('=', 0, 0);
        QCOMPARE(QString(key + "=" + observe(f, key)), item);
    }
    QCOMPARE(layoutText(f.v.rows), layoutText()); // the list shows the model
}

QTEST_MAIN(TestEngine)
#include "test_engine.moc"
