// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QtTest>

#include "control/Ctrl.h"
#include "core/copy/VolumeIdentity.h"
#include "core/model/DM.h"
#include "core/model/EntriesModel.h"
#include "gui/DeleteDlg.h"
#include "gui/DialogAnswers.h"
#include "gui/MainActions.h"
#include "gui/MainWindow.h"
#include "gui/MessageBar.h"
#include "tests/common/TestMounts.h"

namespace {

// Runs script under sh -e with $S the originals' folder, $T the target, $P the project
// and $CLI quillmarch-cli.
int sh(const QString& script, const QStringList& vars)
{
    return QProcess::execute("env", vars + QStringList{"sh", "-ec", script});
}

// Whatever is still mounted below folder goes, last mounted first.
void unmountBelow(const QString& folder)
{
    for (int round = 0; round < 20; ++round) {
        QFile table("/proc/self/mounts");
        QString last;
        if (table.open(QIODevice::ReadOnly))
            for (const QByteArray& line : table.readAll().split('\n'))
                if (line.split(' ').value(1).startsWith(QFile::encodeName(folder + '/')))
                    last = QFile::decodeName(line.split(' ').value(1));
        if (last.isEmpty())
            return;
        QProcess::execute("sh", {"-c", "umount \"$0\" || umount -l \"$0\"", last});
    }
}

// "name=state[:reason]|..." as a map from name to (state, reason).
QMap<QString, QStringList> rowsOf(const QString& text)
{
    QMap<QString, QStringList> rows;
    for (const QString& row : text.split('|'))
        rows[row.section('=', 0, 0)] = QStringList{row.section('=', 1).section(':', 0, 0),
                                                   row.section('=', 1).section(':', 1)};
    return rows;
}

} // namespace

// One table of scenes for the one arrival check, on real mounts: what verify says, what
// the window's Delete question says, and what goes to the trash. Nothing that is not a
// copy on the target's own volume with the original's content is approved or trashed.
class TestArrival : public QObject
{
    Q_OBJECT
    QTemporaryDir m_home;
    MainWindow* m_window = nullptr;
    QString m_src, m_project;
    QStringList m_vars;
    TestMounts m_mounts;

    // The volumes of a scene: the originals' (GIO has no trash on a tmpfs) and the target;
    // empty when the machine cannot mount them.
    QString mountScene()
    {
        const QString folder = m_home.filePath("scene");
        const QString s = m_mounts.ext4(folder + "/s", 16), t = m_mounts.tmpfs(folder + "/t", 16);
        return s.isEmpty() || t.isEmpty() ? QString() : folder;
    }

    // The originals on a volume of their own (album with a hard-linked pair the user
    // chose, song.ogg), dispensed in a project whose target is the volume at target.
    bool makeScene(bool targetIsSource, bool volumeKnown = true)
    {
        const QString folder = m_home.filePath("scene"), s = folder + "/s", t = folder + "/t";
        m_src = s + "/src";
        m_project = folder + "/p.qmp";
        const QString target = targetIsSource ? s : t;
        m_vars = QStringList{"S=" + m_src, "T=" + target, "P=" + m_project, "CLI=" QM_CLI_PATH};
        if (sh("mkdir -p \"$S/album/in\"; cd \"$S\"\n"
               "head -c 300000 /dev/urandom > album/a.jpg; ln album/a.jpg album/a2.jpg\n"
               "head -c 200000 /dev/urandom > album/in/b.jpg\n"
               "head -c 100000 /dev/urandom > song.ogg; touch -d '1 hour ago' album/*.jpg "
               "album/in/b.jpg song.ogg",
               m_vars))
            return false;
        EntriesModel model;
        EntryPos album = model.addEntry({"album", m_src, m_src + "/album", 500000, true, Folder});
        EntryPos song =
            model.addEntry({"song.ogg", m_src, m_src + "/song.ogg", 100000, true, File});
        DispenseQueue chosen;
        chosen.push(album), chosen.push(song);
        model.applyDispense(chosen, 0);
        model.setTarget({target, NTFS, 4096, 4000, Target::NoInodeLimit,
                         volumeKnown ? VolumeIdentity::of(target).volumeId : ""});
        return model.saveAs(m_project);
    }

    // Opens the project and asks to delete; with answer, the question is answered with
    // it, else the real dialog is left to whoever shows up.
    void deleteInWindow(QMessageBox::StandardButton answer)
    {
        dataModel()->newProject();
        controller()->projectLoadFrom(m_project);
        QCOMPARE(dataModel()->groupSize(Dispensed), 2);
        if (answer != QMessageBox::NoButton)
            DialogAnswers::nextButton(answer);
        m_window->actions()->action(MainActions::Act::OriginalsDelete)->trigger();
        QVERIFY(!DialogAnswers::pending());
    }

    QStringList dispensed() const
    {
        QStringList names;
        for (EntryPos p = dataModel()->groupBegin(Dispensed); dataModel()->isValidPos(p); ++p.index)
            names << dataModel()->entryAt(p).Name;
        names.sort();
        return names;
    }

private slots:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toLocal8Bit()); // the trash
        qputenv("XDG_DATA_HOME", m_home.filePath(".local/share").toLocal8Bit());
        qputenv("XDG_STATE_HOME", m_home.filePath(".local/state").toLocal8Bit()); // journals
        setController(nullptr);
        dataModel()->newProject();
        m_window = new MainWindow;
    }

    void cleanupTestCase()
    {
        delete m_window;
        m_mounts.unmountAll();
        unmountBelow(m_home.path());
    }

    void cleanup()
    {
        DialogAnswers::clear();
        m_mounts.unmountAll();
        unmountBelow(m_home.path());
        QVERIFY(QDir(m_home.filePath("scene")).removeRecursively());
    }

    void scenes_data()
    {
        // setup: a sh script; a leading "@": the target is the volume of the originals, "-":
        // the project does not record which volume its target is (saved before it did).
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("expected"); // name=state[:part of the reason]|...
        QTest::addColumn<int>("code");         // verify's exit status
        const QString copy = "cp -a \"$S/album\" \"$S/song.ogg\" \"$T\"; ";
        const QString flip = "printf QUILLMARCH-FLIP! | dd of=\"$T/%1\" bs=1 seek=%2 "
                             "conv=notrunc 2>/dev/null";
        QTest::newRow("hand copy, read on both sides")
            << copy << "album=arrived|song.ogg=arrived" << 0;
        QTest::newRow("program's copy, then the original changed")
            << "\"$CLI\" copy \"$P\" >/dev/null; " +
                   QString(flip).replace("$T", "$S").arg("song.ogg", "70000")
            << "album=arrived|song.ogg=differs:changed after it was copied" << 1;
        QTest::newRow("a byte flipped deep down")
            << copy + flip.arg("album/in/b.jpg", "1000")
            << "album=differs:in/b.jpg: different content from byte 1000|song.ogg=arrived" << 1;
        QTest::newRow("all holes, the length right")
            << copy + "rm \"$T/song.ogg\"; truncate -s 100000 \"$T/song.ogg\""
            << "album=arrived|song.ogg=differs:no data on the target" << 1;
        QTest::newRow("a file missing deep down, an entry missing")
            << "cp -a \"$S/album\" \"$T\"; rm \"$T/album/in/b.jpg\""
            << "album=differs:in/b.jpg: not on the target|song.ogg=missing" << 1;
        QTest::newRow("a link below the top")
            << copy + "ln -sf \"$S/album/in/b.jpg\" \"$T/album/in/b.jpg\""
            << "album=differs:in/b.jpg: a link on the target|song.ogg=arrived" << 1;
        QTest::newRow("hard links to the originals")
            << "@cp -al \"$S/album\" \"$T\"; ln \"$S/song.ogg\" \"$T\""
            << "album=differs:the original itself|song.ogg=differs:the original itself" << 1;
        QTest::newRow("hard links only where the originals have them")
            << copy + "mkdir \"$T/x\"; ln \"$T/song.ogg\" \"$T/x\""
            << "album=arrived|song.ogg=differs:a hard link" << 1;
        QTest::newRow("bind mount of an original folder as the copy")
            << "cp -a \"$S/song.ogg\" \"$T\"; mkdir \"$T/album\"; mount --bind \"$S/album\" "
               "\"$T/album\""
            << "album=differs:the original itself|song.ogg=arrived" << 1;
        QTest::newRow("target unmounted, its folder holding a copy")
            << "umount \"$T\"; " + copy
            << "album=not checked:not mounted|song.ogg=not checked:not mounted" << 3;
        QTest::newRow("another volume mounted at the target's path")
            << "umount \"$T\"; mount -t tmpfs tmpfs \"$T\"; " + copy
            << "album=not checked:Another volume|song.ogg=not checked:Another volume" << 3;
        QTest::newRow("a target without its volume, taken as mounted")
            << "-" + copy << "album=arrived|song.ogg=arrived" << 0;
        QTest::newRow("a target without its volume, unmounted")
            << "-umount \"$T\"; " + copy
            << "album=not checked:system's own volume|song.ogg=not checked:system's own volume"
            << 3;
    }

    void scenes()
    {
        QFETCH(QString, setup);
        QFETCH(QString, expected);
        QFETCH(int, code);
        if (setup.startsWith("-umount") && VolumeIdentity::of(m_home.path()).volumeRoot != "/")
            QSKIP("The temporary folder is not on the system's own volume, where an unmounted "
                  "target's folder would tell itself apart");
        const bool marked = setup.startsWith('@') || setup.startsWith('-');
        QM_NEED_VOLUME(m_mounts, mountScene());
        QVERIFY(makeScene(setup.startsWith('@'), !setup.startsWith('-')));
        QCOMPARE(sh(setup.mid(marked), m_vars), 0);
        const QMap<QString, QStringList> want = rowsOf(expected);

        // The command line: a state for each entry, or the target refused.
        QProcess cli;
        cli.start(QM_CLI_PATH, {"verify", m_project, "--json"});
        QVERIFY(cli.waitForFinished(60000));
        const QByteArray err = cli.readAllStandardError();
        QVERIFY2(cli.exitCode() == code, QByteArray(err + cli.readAllStandardOutput()).constData());
        if (code == 3)
            QVERIFY2(err.contains(want.first().at(1).toUtf8()), err.constData());
        for (const QJsonValue& v : QJsonDocument::fromJson(cli.readAllStandardOutput()).array()) {
            const QStringList& w = want[v["path"].toString().section('/', -1)];
            QCOMPARE(v["state"].toString(), QString(w[0]).replace("differs", "different"));
            QVERIFY2(v["detail"].toString().contains(w[1]), qPrintable(v["detail"].toString()));
        }
        // Nor does copy write there, not even the folder it would copy into.
        if (code == 3) {
            cli.start(QM_CLI_PATH, {"copy", m_project, "--into", "fresh"});
            QVERIFY(cli.waitForFinished(60000));
            const QByteArray copyErr = cli.readAllStandardError();
            QVERIFY2(cli.exitCode() == 3 && copyErr.contains(want.first().at(1).toUtf8()),
                     copyErr.constData());
            QVERIFY(!QFileInfo::exists(m_home.filePath("scene/t/fresh")));
        }

        // The window: the same states in the question; only what arrived goes.
        deleteInWindow(QMessageBox::Yes);
        QMap<QString, QStringList> asked;
        for (const QString& line : DialogAnswers::lastShown().text.split('\n'))
            if (line.count('\t') == 2)
                asked[line.section('\t', 0, 0)] = line.section('\t', 1).split('\t');
        QCOMPARE(asked.keys(), want.keys());
        QStringList stayed;
        for (auto w = want.begin(); w != want.end(); ++w) {
            QCOMPARE(asked[w.key()].at(0), w.value().at(0));
            QVERIFY2(asked[w.key()].at(1).contains(w.value().at(1)),
                     qPrintable(asked[w.key()].at(1)));
            if (w.value().at(0) != "arrived")
                stayed << w.key();
        }
        QVERIFY2(dispensed() == stayed, qPrintable(m_window->messages()->text()));
        for (auto w = want.begin(); w != want.end(); ++w)
            QCOMPARE(QFileInfo::exists(m_src + '/' + w.key()), stayed.contains(w.key()));
    }

    // The question is up; meanwhile an original changes: it stays, the other goes. Before
    // that, a check cancelled half way leaves everything as it was.
    void changedBeforeTheTrash()
    {
        QM_NEED_VOLUME(m_mounts, mountScene());
        QVERIFY(makeScene(false));
        QCOMPARE(sh("cp -a \"$S/album\" \"$S/song.ogg\" \"$T\"", m_vars), 0);
        DialogAnswers::nextResult(QDialog::Rejected); // the progress dialog's Cancel
        deleteInWindow(QMessageBox::NoButton);
        QCOMPARE(DialogAnswers::lastShown().caption, QString("Delete the files"));
        QVERIFY(QFileInfo::exists(m_src + "/song.ogg") && QFileInfo::exists(m_src + "/album"));
        QCOMPARE(dispensed(), QStringList({"album", "song.ogg"}));

        bool pressed = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* question = qobject_cast<DeleteDlg*>(QApplication::activeModalWidget());
            if (!question || pressed)
                return;
            pressed = true;
            QFile song(m_src + "/song.ogg"); // the same size, another byte
            QVERIFY(song.open(QIODevice::ReadWrite) && song.seek(10) && song.write("!") == 1);
            song.close();
            for (QPushButton* b : question->findChildren<QPushButton*>())
                if (b->text().startsWith("&Move 2"))
                    b->click();
        });
        poll.start(20);
        deleteInWindow(QMessageBox::NoButton);
        QVERIFY(pressed);
        QVERIFY(!QFileInfo::exists(m_src + "/album") && QFileInfo::exists(m_src + "/song.ogg"));
        QCOMPARE(dispensed(), QStringList("song.ogg"));
    }
};

QTEST_MAIN(TestArrival)
#include "test_arrival.moc"
