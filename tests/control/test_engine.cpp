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

// What the user sees afterwards: "name: text", by the names TestEngine::expect gives.
using Want = QStringList;
// sample(): Required r0 r1, Main m0 m1 m2 (an empty file) m3 (a folder not yet measured),
// Background b0, Not In Use n0, and d0 dispensed from Background.
const QString Sample = "D:d0|R:r0,r1|M:m0,m1,m2,m3|B:b0|N:n0", Empty = "D:|R:|M:|B:|N:";
using Item = std::tuple<const char*, qint64, int>; // name, size (-1: a folder), group

// The controller on the fake views over an emptied model, in the folder work; what rows do behind
// its back. Relative target paths are not probed. A search ends, or is cancelled at once.
struct Session : Engine
{
    FakeViews v;
    QString work, volume; // volume: a real NTFS volume, empty when the machine has none
    bool cancel = false;  // the next search

    Session(const QString& folder, const QString& realVolume) : work(folder), volume(realVolume)
    {
        dataModel()->newProject(), attachViews(&v, &v, &v, &v);
        v.onRunDispense = [this](Dispenser* d) {
            QSignalSpy finished(d, &IDispenser::do_finish);
            std::exchange(cancel, false) ? d->cancel() : void();
            return d->start(), d->wait(), finished.count() == 1 && finished[0][0].toBool();
        };
    }
    ~Session() override { detachViews(); }
    bool probeTarget(bool whole, Target& t) override
    {
        return QFileInfo(t.Path).isRelative() || Engine::probeTarget(whole, t);
    }
    QString path(const QString& name) const { return work + '/' + name; }
    void show() { v.rebuildItems(), refreshViews(); }
    void on(const QString& actions) { v.setActions(actions); }
    void answer(const QString& a) { v.answers << a; }
    void make(const QStringList& tree) { QVERIFY(TreeMaker::make(work, tree)); }
    void entries(const std::vector<Item>& items, bool files = false) // files: made in work as well
    {
        for (const auto& [name, size, group] : items) {
            files ? make({QString("f:%1=%2").arg(name).arg(size)}) : void();
            EntryPos p = dataModel()->addEntry(
                Entry{name, work, path(name), quint64(qMax(size, 0ll)), size >= 0, size < 0});
            dataModel()->moveEntry(p, group), show();
        }
    }
    void select(const std::vector<EntryPos>& positions) { v.selection = positions; }
    void medium(quint64 wasted, const std::vector<EntryPos>& on) { v.media = {{on, 0, wasted}}; }
    void dispensed(const std::vector<EntryPos>& chosen, quint64 wasted)
    {
        DispenseQueue q;
        std::for_each(chosen.begin(), chosen.end(), [&q](const EntryPos& p) { q.push(p); });
        dataModel()->applyDispense(q, wasted), show();
    }
    // On the volume of work, as if picked there.
    Target onWork(const QString& p, quint64 n) const
    {
        return {p, NTFS, 4096, n, Target::NoInodeLimit, VolumeIdentity::of(work).volumeId};
    }
    void target(const QString& p, quint64 n) { dataModel()->setTarget(onWork(p, n)), show(); }
    void pick(const QString& p = {}, quint64 n = 0) // in the next target picker; none: cancel
    {
        v.pick = [=] { return !p.isEmpty() && (dataModel()->setTarget(onWork(p, n)), true); };
    }
    // Sizes come in the order asked for: once the last one is known, all are.
    void settle()
    {
        make({"d:sentinel"}), pathsAdd({path("sentinel")});
        const EntryPos last{Main, dataModel()->groupSize(Main) - 1};
        QVERIFY(QTest::qWaitFor([&] { return dataModel()->entryAt(last).IsValidSize; }));
    }
    void sample()
    {
        entries({Item("r0", 100, 1), Item("r1", 200, 1), Item("m0", 1000, 2), Item("m1", 2000, 2),
                 Item("m2", 0, 2), Item("m3", -1, 2), Item("b0", 300, 3), Item("n0", 400, 4),
                 Item("d0", 50, 3)});
        dispensed({{Background, 1}}, 0);
    }
    // 37 blocks of 4096 on "s", 12 past the NTFS reserve, in KiB with 2 of metadata a file;
    // 5 held back for the checksum list, its lines a KiB: r0 takes 14; of Main's 26, 22 and
    // 14 only one fits into the 28 left, best the 26.
    void road(bool ready = true)
    {
        entries({Item("r0", 12288, 1), Item("m0", 24576, 2), Item("m1", 20480, 2),
                 Item("m2", 12188, 2), Item("n0", 4096, 4)},
                true);
        ready ? target("s", 37), on("Dispense") : void();
    }
    void few()
    {
        entries({{"r0", 100, 1}, {"m0", 1000, 2}, {"m1", 2000, 2}, {"b0", 300, 3}, {"n0", 400, 4}});
        on("Dispense");
    }
    // Dispensed: set, album (folders), d, c, b, a. On the target t: album, b; c in t/sub; d and
    // a file deep in set different; a nowhere (nor here).
    void copied()
    {
        entries({{"a", 10, 1}}), entries({{"b", 3000, 1}, {"c", 7, 1}, {"d", 7, 1}}, true);
        make({"f:album/x=5", "f:set/x=5", "f:set/in/y=9", "f:t/album/x=5", "f:t/b=3000", "f:t/d=4",
              "f:t/sub/c=7", "f:t/set/x=5", "f:t/set/in/y=8"});
        entries({{"album", -1, 1}, {"set", -1, 1}}), target("t", 10), on("Undispense");
        dispensed({{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}}, 1234);
    }
    qint64 freeBlocks() const { return QStorageInfo(volume).bytesAvailable() / 4096; }
};
using Steps = std::function<void(Session&)>;

} // namespace
Q_DECLARE_METATYPE(Steps)

// Each row: what the user does, one behaviour, and what the views and files show afterwards.
class TestEngine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { m_volume = m_mounts.ntfs(m_home.filePath("volume"), 8, false); }
    void commands_data();
    void commands();

private:
    QString work() const { return m_home.filePath("work"); }
    void expect(const Session& s, const Want& want);
    QTemporaryDir m_home;
    TestMounts m_mounts;
    QString m_volume;
};

void TestEngine::commands()
{
    QFETCH(Steps, steps);
    QFETCH(Want, want);
    if (QByteArray(QTest::currentDataTag()).contains("real volume"))
        QM_NEED_VOLUME(m_mounts, m_volume);
    // The test's own trash; a working folder where what is written there by mistake is seen.
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", m_home.filePath(".local/share").toLocal8Bit());
    QVERIFY(QDir(m_home.filePath(".local/share/Trash")).removeRecursively() &&
            QDir(work()).removeRecursively());
    QVERIFY(QDir().mkpath(work()) && QDir::setCurrent(work()));
    Session s(work(), m_volume);
    steps(s);
    if (!QTest::currentTestFailed())
        expect(s, want);
    QCOMPARE(layoutText(s.v.rows), layoutText()); // the list shows the model
}

void TestEngine::expect(const Session& s, const Want& want)
{
    DM* m = dataModel();
    const FakeViews& v = s.v;
    QStringList sizes, leftOut, posted, sized = v.sized; // sizes: "name:bytes", "?" unknown
    for (int g = Dispensed; g < NoGroup; ++g)
        for (EntryPos p{g, 0}; m->isValidPos(p); ++p.index) {
            const Entry& e = m->entryAt(p);
            sizes << e.Name + ':' + (e.IsValidSize ? QString::number(e.Size) : "?");
            e.Issue ? leftOut << e.Name : leftOut;
        }
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    for (const QUrl& u : clip ? clip->urls() : QList<QUrl>())
        posted << QDir(work()).relativeFilePath(u.toLocalFile());
    sized.sort();
    const QString fresh = s.volume + ' ' + QString::number(s.freeBlocks() * 4096);
    // clang-format off
    const auto yes = [](bool b) { return QString(b ? "yes" : "no"); };
    const auto in = [](const QString& d) {
        return QDir(d).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).join(','); };
    const QMap<QString, QString> seen{{"groups", layoutText()}, {"total", v.total},
        {"selected", v.selected}, {"on", v.actions()}, {"asked", v.asked.join('+')},
        {"state", QString(v.state).remove(work() + '/')}, {"target", v.shownTarget},
        {"wasted", v.wasted}, {"title", v.title}, {"modified", yes(m->isModified())},
        {"closed", yes(v.closed)}, {"series on", yes(v.series)}, {"files", in(work())},
        {"files here", in(".")}, {"trash", in(m_home.filePath(".local/share/Trash/files"))},
        {"posted", posted.join(',')}, {"sizes", sizes.join(',')}, {"sized", sized.join(',')},
        {"left out", leftOut.join(',')}, {"fresh target", yes(v.shownTarget == fresh)},
        {"error told", yes(!m->lastError().isEmpty() && v.state == m->lastError())}};
    // clang-format on
    QStringList wrong;
    for (const QString& w : want)
        if (const QString name = w.section(": ", 0, 0), got = seen.value(name, "(not looked at)");
            got != w.section(": ", 1))
            wrong << QString("%1: expected \"%2\", seen \"%3\"").arg(name, w.section(": ", 1), got);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("\n   ")));
}

void TestEngine::commands_data()
{
    QTest::addColumn<Steps>("steps"), QTest::addColumn<Want>("want");
    const auto row = [](const QString& behaviour, const Steps& steps, const Want& want) {
        QTest::newRow(qPrintable(behaviour)) << steps << want;
    };
    using S = Session&;
    // clang-format off
    // Remove and the priorities act on the selection, and are on while anything is selected.
    row("Remove: the selected go, from any group", [](S s) { s.sample(), s.on("Remove"),
        s.select({{Main, 1}, {Main, 3}, {Dispensed, 0}}), s.entryRemove(); }, {"on: Save",
        "groups: D:|R:r0,r1|M:m0,m2|B:b0|N:n0", "total: 1600 5", "selected: 0 0"});
    row("Move Up: one group up; Dispensed and Required stay", [](S s) { s.sample(),
        s.select({{Dispensed, 0}, {Required, 0}, {Main, 1}}), s.priorityUp(); },
        {"groups: D:d0|R:r0,r1,m1|M:m0,m2,m3|B:b0|N:n0", "total: 3600 7", "selected: 2150 3",
        "on: Remove Save Undispense"});
    row("Move Down: one group down, in list order; Not In Use stays", [](S s) { s.sample(),
        s.select({{Main, 0}, {Main, 3}, {Background, 0}, {NotInUse, 0}}), s.priorityDown(); },
        {"groups: D:d0|R:r0,r1|M:m1,m2|B:m0,m3|N:n0,b0", "total: 3300 6", "selected: 1700 4",
        "on: Remove Save Undispense"});
    row("Not In Use: from any group, its own too, to the end", [](S s) { s.sample(),
        s.select({{Dispensed, 0}, {Required, 0}, {Main, 2}, {Background, 0}, {NotInUse, 0}}),
        s.prioritySet(NotInUse); }, {"groups: D:|R:r1|M:m0,m1,m3|B:|N:d0,r0,m2,b0,n0",
        "total: 3200 4", "selected: 850 5", "on: Remove Save"});
    row("a click on entries of no size yet: Remove on", [](S s) { s.sample(),
        s.select({{Main, 2}, {Main, 3}}), s.selectionChanged(); }, {"selected: 0 2", "on: Remove Undispense"});
    row("Add, Add Folder, Add File(s)", [](S s) { s.make({"d:empty", "f:r=12", "f:music/a=100",
        "f:music/in/b=200"}), s.pathsAdd({"", "music", "", "r", "music"}), s.answer("empty"),
        s.folderAdd(), s.answer("missing|music|/dev/null"), s.filesAdd(), s.settle(); },
        {"sizes: music:300,r:12,empty:0,sentinel:0", "total: 312 4", "selected: 312 4",
        "on: Remove Save", "sized: empty,music,sentinel", "state: READY"});
    row("Add: a name not in UTF-8 is told, not added", [](S s) {
        const QByteArray name = QFile::encodeName(s.work) + "/caf\xE9\n.bin"; // as Qt names it
        QVERIFY(::close(::creat(name.constData(), 0644)) == 0);
        s.pathsAdd({QFile::decodeName(name)}), ::unlink(name.constData()); }, {"sizes: ",
        "state: \"caf\\xE9\\x0A.bin\" was not added: its name is not valid UTF-8. Rename it and "
        "add it again."});
    row("cancelled dialogs add nothing; About; Exit", [](S s) { s.pathsAdd({"", ""}), s.filesAdd(),
        s.folderAdd(), s.about(), s.appExit(); }, {"groups: " + Empty, "on: ",
        "asked: files+folder+about", "closed: yes", "title: New Project", "total: 0 0",
        "state: READY", "target: none", "wasted: none"});
    // New, Load (its file dialog then cancelled) and closing ask to save changes; none are lost.
    for (const auto& [name, command] : {std::pair<QString, Steps>{"New", &Engine::projectNew},
         {"Load", &Engine::projectLoad}, {"close", [](S s) { s.v.closed = s.queryClose(); }}}) {
        const QString load = name == "Load" ? "+load" : "", ask = "saveChanges+saveAs";
        const Want gone = name == "New" ? Want{"groups: " + Empty, "target: none", "total: 0 0",
            "on: "} : Want{name == "close" ? "closed: yes" : "closed: no"};
        const Want kept{"groups: " + Sample, "modified: yes", "on: Save Dispense Undispense",
            "files: ", "closed: no"};
        const auto changed = [c = command](IViewDialogs::SaveChoice choice, const QString& file) {
            return [=](S s) { s.sample(), s.target("/s", 10), s.on("Save Dispense Undispense");
            s.v.saveChoice = choice, s.v.answers = file.split('|', Qt::SkipEmptyParts), c(s); }; };
        row(name + ": nothing to save", command, gone + Want{"asked: " + load.mid(1)});
        row(name + ": cancel", changed(IViewDialogs::CancelClose, ""),
            kept + Want{"asked: saveChanges"});
        row(name + ": discard", changed(IViewDialogs::DiscardChanges, ""),
            gone + Want{"asked: saveChanges" + load});
        row(name + ": save, cancelled", changed(IViewDialogs::SaveChanges, ""),
            kept + Want{"asked: " + ask});
        row(name + ": save", changed(IViewDialogs::SaveChanges, "k.qmp"),
            gone + Want{"asked: " + ask + load, "files: k.qmp"});
        row(name + ": save fails", changed(IViewDialogs::SaveChanges, "no/k.qmp"),
            kept + Want{"asked: " + ask});
    }
    row("Save untitled: asks for a file; cancelled, writes none", [](S s) { s.sample(),
        s.on("Save"), s.projectSave(); }, {"asked: saveAs", "on: Save", "modified: yes",
        "files: "});
    row("Save untitled, then Save: to the file chosen", [](S s) { s.sample(), s.answer("c.qmp"),
        s.projectSave(), s.entries({{"late", 5, 3}}), s.projectSave(), s.answer("c.qmp"),
        s.projectLoad(); }, {"asked: saveAs+load", "files: c.qmp",
        "groups: D:d0|R:r0,r1|M:m0,m1,m2,m3|B:b0,late|N:n0"});
    row("Save As into no such folder: told; Save asks again", [](S s) { s.sample(), s.on("Save"),
        s.answer("no/p.qmp"), s.projectSaveAs(), s.projectSave(); }, {"asked: saveAs+saveAs",
        "files: ", "modified: yes", "on: Save", "title: New Project", "error told: yes"});
    // Load sets the actions; Save then writes back to its file, wherever the working folder is.
    for (const auto& [name, project, before, after, dispensed] :
         {std::tuple<QString, Steps, QString, QString, QString>{"with a target",
              [](S s) { s.target("/m", 9); }, "Remove Save Undispense", "Dispense", ""},
          {"with a result", [](S s) { s.entries({{"d0", 50, 1}}), s.dispensed({{1, 0}}, 0),
              s.target("/m", 9); }, "Remove Save Dispense", "Undispense", "d0"},
          {"without a target", [](S) {}, "Remove Save Dispense Undispense", "", ""}}) {
        const auto loading = [p = project, on = before](const QString& file, const Steps& then) {
            return [=](S s) { s.make({"f:junk=99"}), s.entries({{"m0", 1000, 2}}), p(s),
            s.answer("p.qmp"), s.projectSaveAs(), s.projectNew(), s.sample(), s.target("/o", 10),
            s.on(on), s.answer(file), s.projectLoad(), then(s); }; };
        row("Load " + name, loading("p.qmp", [](S s) { QVERIFY(QDir().mkpath("sub") &&
            QDir::setCurrent("sub")); s.entries({{"late", 5, 4}}), s.projectSave(),
            s.answer("../p.qmp"), s.projectLoad(); }), {"on: " + after, "files here: ",
            "title: p.qmp", "total: 1000 1", "groups: D:" + dispensed + "|R:|M:m0|B:|N:late"});
        const Want kept{"error told: yes", "modified: yes", "target: /o 40960", "on: " + before,
            "groups: " + Sample};
        if (name == "with a target") row("Load: not found", loading("none.qmp", [](S) {}), kept),
            row("Load: not a project", loading("junk", [](S) {}), kept);
    }
    row("first target: Dispense on", [](S s) { s.entries({{"m0", 1000, 2}}), s.pick("/n", 500),
        s.diskSelect(); }, {"target: /n 2048000", "on: Save Dispense", "wasted: none"});
    row("target picker cancelled", [](S s) { s.entries({{"m0", 1000, 2}}), s.pick(),
        s.diskSelect(); }, {"target: none", "on: "});
    row("first target, result held: Dispense stays off", [](S s) { s.entries({{"m0", 1000, 2}}),
        s.dispensed({{Main, 0}}, 7), s.on("Undispense"), s.pick("/n", 5), s.diskSelect(); },
        {"on: Save Undispense", "groups: D:m0|R:|M:|B:|N:"});
    row("second target: result and wasted figure kept", [](S s) { s.entries({{"m0", 1000, 2}}),
        s.target("/o", 1), s.dispensed({{Main, 0}}, 7), s.on("Undispense"), s.pick("/n", 5),
        s.diskSelect(); }, {"target: /n 20480", "wasted: 7", "on: Save Undispense",
        "groups: D:m0|R:|M:|B:|N:"});
    row("Dispense without a target: nothing", [](S s) { s.road(false), s.dispense(); },
        {"asked: ", "on: "});
    row("Dispense cancelled: nothing changes", [](S s) { s.road(), s.cancel = true, s.dispense(); },
        {"asked: search", "groups: D:|R:r0|M:m0,m1,m2|B:|N:n0", "on: Dispense", "wasted: none"});
    row("Dispense: the best fill, Required first; Post", [](S s) { s.road(), s.dispense(),
        s.clipboardPost(); }, {"groups: D:m0,r0|R:|M:m1,m2|B:|N:n0", "wasted: 2048",
        "total: 32668 2", "on: Save Undispense", "posted: m0,r0"});
    row("Undispense: each back to the end of its group", [](S s) { s.road(), s.dispense(),
        s.on("Undispense"), s.undispense(); },
        {"groups: D:|R:r0|M:m1,m2,m0|B:|N:n0", "total: 69532 4", "on: Save Dispense"});
    row("Dispense to a target gone: told, no search", [](S s) { s.road(false),
        s.target("/gone", 10), s.on("Dispense"), s.dispense(); }, {"asked: ", "on: Dispense",
        "state: Cannot dispense to /gone: The volume is not mounted"});
    row("Dispense to a real volume filled since picked", [](S s) { Target t{s.volume};
        QVERIFY(probeTarget(false, t)); s.road(false), dataModel()->setTarget(t), s.show();
        QFile filler(s.volume + "/filler"); QVERIFY(filler.open(QIODevice::WriteOnly) &&
        filler.write(QByteArray((s.freeBlocks() - 37) * 4096, 'x')) && filler.flush());
        QCOMPARE(s.freeBlocks(), 37); s.on("Dispense"), s.dispense(); }, {"fresh target: yes",
        "groups: D:m0,r0|R:|M:m1,m2|B:|N:n0", "wasted: 2048"});
    row("Dispense: what is not measured left out, Required not fitted told", [](S s) { s.road(),
        s.entries({{"big", 999999, 1}, {"gone", 4096, 2}}, true), QFile::remove(s.path("gone")),
        s.dispense(); }, {"groups: D:m0,r0|R:big|M:m1,m2,gone|B:|N:n0", "left out: gone",
        "state: Left out of the plan: 1 entry (1 no longer exists); "
        "1 Required entry did not fit"});
    // A planned medium is dispensed as Dispense would, if no result is held and it is not stale.
    row("Plan Series: a medium dispensed, its waste from the block costs", [](S s) {
        s.road(false), s.target("s", 40), s.entries({{"b0", 300, 3}}, true),
        s.medium(77, {{1, 0}, {2, 1}}), s.planSeries(); }, {"series on: yes",
        "asked: series r0,m0,m1,m2,b0 1", "groups: D:m1,r0|R:|M:m0,m2|B:b0|N:n0",
        "wasted: 18432", "on: Save Undispense"});
    row("Plan Series, a result held: nothing dispensed", [](S s) { s.sample(),
        s.medium(5, {{1, 0}}), s.planSeries(); }, {"groups: " + Sample,
        "asked: series r0,r1,m0,m1,m2,m3,b0 0"});
    row("Plan Series: a medium of stale positions not dispensed", [](S s) { s.few(),
        s.target("s", 40), s.medium(5, {{1, 0}, {4, 0}}), s.planSeries(); },
        {"on: Dispense", "wasted: none"});
    row("Plan Series, nothing to plan: off, no dialog", [](S s) { s.few(),
        s.select({{1, 0}, {2, 0}, {2, 1}, {3, 0}}), s.prioritySet(NotInUse), s.planSeries(); },
        {"asked: ", "series on: no"});
    row("Delete: asked first; None keeps all, then what arrived goes", [](S s) { s.road(),
        s.dispense(), s.make({"f:s/m0=24576", "f:s/r0=12288"}), s.answer("none"),
        s.originalsDelete(), s.originalsDelete(); }, {"trash: m0,r0", "on: Save Dispense",
        "asked: search+delete 2 of 2+delete 2 of 2", "groups: D:|R:|M:m1,m2|B:|N:n0"});
    row("Delete: what is not on the target stays dispensed, named", [](S s) { s.copied(),
        s.originalsDelete(); }, {"asked: delete 2 of 6", "groups: D:set,d,c,a|R:|M:|B:|N:",
        "trash: album,b", "wasted: none", "on: Save Undispense",
        "state: Did not arrive on the target, still dispensed: set, d, c, a"});
    row("Delete, then Undispense: what stayed goes back", [](S s) { s.copied(), s.originalsDelete(),
        s.undispense(); }, {"groups: D:|R:a,c,d,set|M:|B:|N:", "on: Save Dispense"});
    row("Delete: a folder on the target looked in as well", [](S s) { s.copied(),
        s.answer(s.path("t/sub")), s.originalsDelete(); }, {"trash: album,b,c",
        "asked: delete 2 of 6+delete 3 of 6",
        "state: Did not arrive on the target, still dispensed: set, d, a"});
    row("Delete: the originals' folder is not the target", [](S s) { s.copied(), s.answer(s.work),
        s.originalsDelete(); }, {"asked: delete 2 of 6+delete 2 of 6", "trash: album,b"});
    row("Delete: two entries of one name on the target: neither goes, told", [](S s) {
        s.make({"f:b=3000", "f:x/b=3000", "f:t/b=3000"}), s.entries({{"b", 3000, 1}});
        dataModel()->addEntry(Entry{"b", s.path("x"), s.path("x/b"), 3000, true, File});
        s.target("t", 10), s.dispensed({{1, 0}, {2, 0}}, 0), s.originalsDelete(); },
        {"asked: delete 0 of 2", "trash: ", "groups: D:b,b|R:|M:|B:|N:", "state: 2 entries kept: "
        "each has the same name on the target as another, so one copy cannot stand for both: b, b"});
    // Folder sizes reach their entries however those moved; reports wait until the steps end.
    const QStringList folders{"f:A/s/x=1", "f:B/s/x=20", "f:C/s/x=300", "f:D/s/x=4000", "d:E"};
    row("folder sizes: moved, removed, dispensed", [=](S s) { s.make(folders),
        s.pathsAdd({"E", "A", "B", "C", "D"}), s.select({{Main, 0}}), s.entryRemove(),
        s.select({{Main, 1}}), s.prioritySet(NotInUse), s.dispensed({{Main, 2}}, 0),
        s.select({{Main, 0}}), s.prioritySet(Required), s.settle(); },
        {"sizes: D:4000,A:1,C:300,sentinel:0,B:20", "sized: A,B,C,D,sentinel", "total: 301 3"});
    row("folder sizes after detachViews: none reach the views", [=](S s) { s.make(folders),
        s.pathsAdd({"A", "B"}), QThread::msleep(100), s.detachViews(), QTest::qWait(20); },
        {"sized: ", "total: 0 2"});
    // clang-format on
}

QTEST_MAIN(TestEngine)
#include "test_engine.moc"
