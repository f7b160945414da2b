// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest>

#include <cmath>
#include <csignal>
#include <unistd.h>

#include "core/copy/VolumeIdentity.h"
#include "core/dispense/SeriesPlanner.h"
#include "core/model/EntriesModel.h"
#include "core/model/SizeText.h"
#include "core/plan/DispenseRoad.h"
#include "tests/common/TestMounts.h"
#include "tests/common/TreeMaker.h"

namespace {

struct Run
{
    int code = -1;
    QByteArray out, err;
};

// Root reads everything: unreadable folders are tried as uid 65534.
const QStringList s_nobody = QString("setpriv --reuid=65534 --regid=65534 --clear-groups")
                                 .split(' ')
                                 .mid(::geteuid() ? 4 : 0);

// The program, find or setpriv; with signal, that signal once the program is busy
// (for 1.5 s, or once a file whose name begins as appears is there); input on its
// standard input.
Run exec(QStringList command, int signal = 0, const QByteArray& input = {},
         const QString& appears = {})
{
    if (!QStringList{"setpriv", "find", "script", QM_CLI_PATH}.contains(command.value(0)))
        command.prepend(QM_CLI_PATH);
    QProcess p;
    p.start(command.takeFirst(), command);
    p.write(input);
    p.closeWriteChannel();
    const QFileInfo file(appears);
    const auto busy = [&] {
        if (appears.isEmpty())
            return !p.waitForFinished(1500);
        for (int i = 0; i < 6000 && p.state() == QProcess::Running; ++i, QThread::msleep(5))
            if (!file.dir().entryList({file.fileName() + '*'}, QDir::Files | QDir::Hidden).isEmpty())
                return true;
        return false;
    };
    if (signal && p.waitForStarted() && busy())
        ::kill(pid_t(p.processId()), signal);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// What find counts below path: every file reached through links.
quint64 findBytes(const QString& path, const QStringList& as = {})
{
    quint64 sum = 0;
    const QStringList find{"find", "-L", path, "-type", "f", "-printf", "%s\n"};
    for (const QByteArray& size : exec(as + find).out.split('\n'))
        sum += size.toULongLong();
    return sum;
}

// A search that would not end in a lifetime: 80 sparse files of odd block counts
// between an eleventh and a tenth of an odd room: none fills it, nothing cheap proves so.
QStringList endlessSearch(const QString& root)
{
    const quint64 room = (quint64(1) << 28) + 1;
    QStringList tree, words{"--fs", "NTFS", "--block-size", "4096", "--main"};
    for (quint64 i = 1, x = 1; i <= 80; ++i) {
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        tree << QString("f:f%1=%2").arg(i).arg(((room / 11 + (x >> 33) % (room / 110)) | 1) << 12);
        words << root + "/f" + QString::number(i);
    }
    return TreeMaker::make(root, tree) ? words << "--free-blocks" << QString::number(room) : tree;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The copies' journals go to a folder of the test's own.
        QVERIFY(m_state.isValid());
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_state.path()));
    }
    void dispenseOutputs();
    void exitCodes_data();
    void exitCodes();
    void sizeMatchesFind();
    void jsonAndNul();
    void seriesAgrees();
    void seriesProgress();
    void copyFillsAndVerifies();
    void burnAndImage();

private:
    QTemporaryDir m_state;
};

// Entries of three groups, folders measured as find counts them: the text,
// -0, JSON and the saved project tell the same plan, and that plan opened
// again in the window's road shows the waste the command printed.
void TestCli::dispenseOutputs()
{
    QTemporaryDir tmp;
    const QString root = tmp.path(), out = root + "/out.qmp";
    QVERIFY(TreeMaker::make(root, {"f:r\"\tq=20000", "f:m1/a=73000", "f:m2=60000", "f:b1=16000",
                                   "f:b2=8000", "f:d1/a=1000", "f:d1/b=1001", "f:d2/s/g=2049",
                                   "f:d2/t/g=2049", "d:d2/e"}));
    QStringList args{"dispense", "--fs", "UDF", "--block-size", "2048", "--free-blocks", "339"};
    QMap<QString, QString> given; // path -> group
    for (const QString& g : QString("1 r\"\tq,1 d1,2 m1/,2 d2,2 m2,3 b1,3 b2").split(',')) {
        const int group = g[0].digitValue();
        args << QString("--required --main --background").split(' ')[group - 1]
             << root + '/' + g.mid(2);
        given[QDir::cleanPath(args.last())] = groupName(group);
    }
    const Run text = exec(args + QStringList{"--save", out});
    const Run nul = exec(args + QStringList{"-0"}), json = exec(args + QStringList{"--json"});
    // The same paths from lists, NUL-separated on standard input and one a line in files.
    QStringList fromLists = args.mid(0, 7);
    QByteArray input;
    for (int i = 7; i < args.size(); i += 2) {
        const QString list = root + args[i];
        QFile f(list);
        QVERIFY(f.open(QIODevice::Append) && f.write(QFile::encodeName(args[i + 1]) + '\n') > 0);
        if (args[i] == "--required")
            input += QFile::encodeName(args[i + 1]) + '\0';
        else if (!fromLists.contains(args[i] + "-from"))
            fromLists << args[i] + "-from" << list;
    }
    const Run fromList = exec(fromLists + QStringList{"--required-from", "-"}, 0, input);
    QCOMPARE(fromList.out, text.out);
    for (const Run& r : {text, nul, json, fromList})
        QVERIFY2(r.code == 0 && r.err.isEmpty(), r.err);
    EntriesModel saved;
    QVERIFY(saved.load(out, "out"));
    QByteArray lines;
    QJsonArray entries;
    for (EntryPos pos{Dispensed, 0}; saved.isValidPos(pos); ++pos.index) {
        const Entry& e = saved.entryAt(pos);
        QCOMPARE(e.Size, findBytes(e.Ident));
        lines += QFile::encodeName(e.Ident) + '\n'; // -0 prints names exactly, text escaped
        entries << QJsonObject{{"path", e.Ident},
                               {"kind", e.Kind ? "folder" : "file"},
                               {"size", double(e.Size)},
                               {"origin", given.value(e.Ident)}};
    }
    for (int g = Required; g <= Background; ++g) // the rest stay in the groups given
        for (EntryPos pos{g, 0}; saved.isValidPos(pos); ++pos.index)
            QCOMPARE(given.value(saved.entryAt(pos).Ident), groupName(g));
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    const quint64 wasted = quint64(o["wasted_bytes"].toDouble());
    QVERIFY(wasted > 0 && saved.groupSize(Background) > 0);
    DispenseRoad road(&saved);
    road.holdLoaded();
    QCOMPARE(saved.wastedSize(), wasted);
    QCOMPARE(text.out, QByteArray(lines).replace('\t', "\\x09") +
                           "Wasted: " + QByteArray::number(wasted) + " bytes (" +
                           QByteArray::number(wasted / 2048) + " blocks)\nProven best: yes\n");
    QCOMPARE(nul.out, QByteArray(lines).replace('\n', '\0'));
    QCOMPARE(o["entries"].toArray(), entries);
    QVERIFY(o["proven_best"].toBool());
    QCOMPARE(o["target"]["capacity"].toDouble(), 2048.0 * 339);
    // Each level's chosen costs fit its room, the next gets what is left; the
    // entries left out are listed too.
    double room = o["levels"][0]["room"].toDouble(), unchosen = 0, listed = 0;
    for (const QJsonValue& l : o["levels"].toArray()) {
        const double unit = l["shared_block"].toDouble(), before = l["shared_before"].toDouble();
        double blocks = 0, shared = before;
        for (const QJsonValue& e : l["entries"].toArray()) {
            const bool chosen = e["chosen"].toBool();
            blocks += chosen * e["cost"]["blocks"].toDouble();
            shared += chosen * e["cost"]["shared_bytes"].toDouble();
            unchosen += !chosen, ++listed;
        }
        QCOMPARE(l["room"].toDouble(), room);
        room -= blocks + std::ceil(shared / unit) - std::ceil(before / unit);
        QVERIFY(room >= 0 && l["unit_size"].toDouble() == 2048);
    }
    QCOMPARE(room, o["wasted_blocks"].toDouble());
    QVERIFY(listed == 7 && unchosen == listed - entries.size());
}

void TestCli::exitCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out"); // how standard output begins (*: holds)
    QTest::addColumn<QString>("err"); // how the one line on standard error goes on
    QTest::addColumn<QString>("args");
    // %T: a (2 blocks), b (22 blocks), kept (to stay as it is), bad (no project), empty.qmp
    // (no target), stale.qmp (its target /proc, probed again and refused), held.qmp (a, b and c,
    // which went, dispensed), one.qmp (a dispensed), twice.qmp (a and t/a dispensed), inodes.qmp
    // (a, a2 and t/b for an ext4 medium with three free inodes), dots.qmp (a and a. dispensed, its
    // target d on the volume of %T), gone.qmp (the same, its volume not mounted), locked
    // (unreadable to %U, the unprivileged user), t (a copy of a, a shorter b), d (a folder), a2
    // (as a), g (4 GiB), fifo, x%Ry\z (%R: U+202E); %N: NTFS; %E: endless search; %D: run
    // under a German locale (output for scripts stays English). No err: nothing on standard
    // error.
    const QString rows = R"(
4|%T/a\nWasted:       |%T/c: It no longer exis |dispense %N 30 %T/held.qmp
4|%T/a\nWasted:       |%T/locked: Some items i |%U dispense %N 99 --main %T/a %T/locked
0|%T/a\nWasted:       |warning: 1 Required ent |dispense %N 30 --required %T/a %T/b
4|5001\t%T/t\n       |%T/locked: Some items i |%U size %T/locked %T/t
0|                   |                        |verify %T/one.qmp --target %T/t
1|missing\t%T/c\ndifferent\t%T/b\tb: 1 bytes|2 of 3 dispensed entrie|verify %T/held.qmp --target %T/t
1|different\t%T/t/a\ta: the same name on the target as %T/a\ndifferent|2 of 2 dispensed|verify %T/twice.qmp --target %T/t
0|%T/x\xE2\x80\xAEy\\z\nWasted|                   |dispense %N 99 --main %T/x%Ry\z
1|Wasted:            |%T/g: holds a file of 4 GiB or more, which FAT32 cannot store; left|dispense --fs FAT --block-size 4096 --free-blocks 9 --required %T/g
0|%T/a2\n%T/a\nWasted|warning: the volume's free inodes ran out|dispense %T/inodes.qmp
3|                   |%T/fifo: it is a FIFO, not a regular file|dispense %N 9 --main %T/a --save %T/fifo
3|                   |%T/none: not a folder   |verify %T/held.qmp --target %T/none
2|                   |unknown option --fast    |dispense %T/held.qmp --fast
2|                   |the capacity             |dispense %N 4503599627370496 --main %T/a
3|                   |%T/missing: No such file |dispense --main %T/a --target %T/missing
3|                   |/proc: Unsupported file |dispense %T/empty.qmp --target /proc --save %T/kept
3|                   |%T/bad: cannot be read   |dispense %N 9 %T/bad --save %T/kept
3|                   |%T/empty.qmp: the projec |dispense %T/empty.qmp --save %T/kept
3|                   |/proc: Unsupported file |dispense %T/stale.qmp
3|                   |%T/no/o: the folder does |dispense %N 9 %T/held.qmp --save %T/no/o
1|Wasted: 0 bytes    |Nothing fits             |dispense %N 0 --save %T/out.qmp --main %T/a %T/b
1|Wasted: 297984 bytes|warning: the time limit |dispense %N 99 --time-limit 0 --main %T/a %T/b
130|                 |Cancelled                |dispense %E --save %T/out.qmp
143|                 |Cancelled                |dispense %E --save %T/out.qmp
1|Medium 1: 1 entry, |%T/b: larger than one me|series %N 30 --main %T/a %T/b
4|Medium 1: 2 entries|%T/c: no longer exists; |series %N 99 %T/held.qmp
4|Medium 1: 1 entry, |%T/locked: could not be |%U series %N 99 --main %T/a %T/locked
0|Medium 1: 1 entry, |                        |series %N 30 --main %T/a %T/a2 --media 1
1|Medium 1: 1 entry, |%T/t/a: has the same name on the target as %T/a; left out|series %N 30 --main %T/a %T/t/a
2|                   |--media takes a number   |series %N 9 --main %T/a --media 0
2|                   |unknown option -0        |series %N 9 --main %T/a -0
3|                   |%T/kept: is not a folder |series %N 9 --main %T/a --out-dir %T/kept
130|                 |Cancelled                |series %E --out-dir %T/out.qmp
0|Copied: 1 file (5000 bytes), 0 read|          |copy %T/one.qmp --target %T --into d/e
6|failed\t%T/d/c\tno longer exists\nCopied: 2 files|1 file was not copied|copy %T/held.qmp --target %T/d
3|                   |a is already in %T/t and |copy %T/one.qmp --target %T/t
3|                   |%T/none: not a mounted vo|copy %T/one.qmp --target %T/none
3|                   |a. and a are one name on |copy %T/dots.qmp
3|                   |The target volume is not mounted at %T/d.|copy %T/gone.qmp
2|                   |--into takes a folder bel|copy %T/one.qmp --target %T --into ../x
1|                   |%T/empty.qmp: the project|copy %T/empty.qmp --target %T
0|%T/a\nWasted:       |                        |dispense --fs iso --block-size 2048 --free-blocks 300 --main %T/a
2|                   |--block-size takes 2048 b|dispense --fs ISO9660 --block-size 4096 --free-blocks 300 --main %T/a
2|                   |the project's target is n|burn %T/one.qmp
2|                   |--out FILE.iso is needed |image %T/one.qmp
1|Ungenutzt: 0 Byte  |Nichts passt auf das Ziel|%D dispense %N 0 --main %T/a %T/b
1|Medium 1: 1 Eintrag,|%T/b: größer als ein Medium; in der Serie ausgelassen|%D series %N 30 --main %T/a %T/b
0|Medium 1: 2 Einträge|                       |%D series %N 99 --main %T/a %T/a2
0|*"origin":"Main"}|                         |%D dispense %N 99 --main %T/a --json
2|                   |unbekannte Option --fast (siehe „quillmarch-cli dispense --help“)|%D dispense %T/held.qmp --fast
0|Aufruf: quillmarch-cli series PROJEKT|      |%D series --help
2|                   |--out DATEI.iso wird benötigt|%D image %T/one.qmp)";
    for (const QString& row : rows.split('\n', Qt::SkipEmptyParts)) {
        const QStringList c = row.split('|');
        QTest::newRow(qPrintable(c[0] + " " + c[3]))
            << c[0].toInt() << c[1].trimmed() << c[2].trimmed() << c[3];
    }
}

void TestCli::exitCodes()
{
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QString, args);
    QTemporaryDir tmp;
    const QString root = tmp.path(), ntfs = "--fs NTFS --block-size 4096 --free-blocks";
    QVERIFY(TreeMaker::make(root, {"f:a=5000", "f:b=90000", "f:c=1", "f:kept=3", "f:bad=9",
                                   "f:locked/in/x=1", "f:t/a=5000", "f:t/b=1", "d:d", "f:a2=5000", "f:a.=5000",
                                   "f:g=4294967296", "p:fifo", "f:x\u202ey\\z=10"}));
    QVERIFY(QFile::setPermissions(root, QFileDevice::Permissions(0x7755)) &&
            QFile::setPermissions(root + "/locked/in", QFileDevice::Permissions(0x7700)));
    const QString held = "dispense " + ntfs + " 99 --main %1/a %1/b %1/c --save %1/held.qmp";
    const QString one = QString(held).replace(" %1/b %1/c", "").replace("held", "one");
    QCOMPARE(exec(held.arg(root).split(' ')).code + exec(one.arg(root).split(' ')).code, 0);
    QVERIFY(QFile::remove(root + "/c") && EntriesModel().saveAs(root + "/empty.qmp"));
    EntriesModel stale;
    stale.setTarget({"/proc", NTFS, 4096, 99});
    QVERIFY(stale.saveAs(root + "/stale.qmp"));
    DispenseQueue both; // as an older version could hold them
    for (const QString& path : QStringList{root + "/a", root + "/t/a"})
        both.push(stale.addEntry({"a", QFileInfo(path).path(), path, 5000, true, File}));
    stale.applyDispense(both, 0);
    QVERIFY(stale.saveAs(root + "/twice.qmp"));
    Target few{"", EXT4, 4096, 99}; // room for a, a2 and t/b; inodes for two of them and the checksum list
    few.AvailableInodes = 3;
    EntriesModel inodes;
    inodes.setTarget(few);
    for (const QString& path : QStringList{root + "/a", root + "/a2", root + "/t/b"})
        inodes.addEntry({QFileInfo(path).fileName(), QFileInfo(path).path(), path,
                         quint64(QFileInfo(path).size()), true, File});
    QVERIFY(inodes.saveAs(root + "/inodes.qmp"));
    EntriesModel dots; // a and a. onto the volume of %T, typed NTFS; then onto a volume gone
    DispenseQueue dotted;
    for (const char* name : {"a", "a."})
        dotted.push(dots.addEntry({name, root, root + '/' + name, 5000, true, File}));
    dots.applyDispense(dotted, 0);
    dots.setTarget({root + "/d", NTFS, 4096, 99, Target::NoInodeLimit,
                    VolumeIdentity::of(root).volumeId});
    QVERIFY(dots.saveAs(root + "/dots.qmp"));
    dots.setTarget({root + "/d", NTFS, 4096, 99, Target::NoInodeLimit, "uuid 0"});
    QVERIFY(dots.saveAs(root + "/gone.qmp"));
    for (QString* text : {&err, &out, &args})
        text->replace("%N", ntfs).replace("%T", root).replace("\\n", "\n").replace("\\t", "\t");
    const QStringList words = args.replace("%E", endlessSearch(root).join(' '))
                                  .replace("%R", QChar(0x202e))
                                  .replace("%U", s_nobody.join(' ') + ' ' + QM_CLI_PATH)
                                  .split(' ', Qt::SkipEmptyParts);
    const bool german = args.startsWith("%D ");
    if (german) // the programs started inherit it
        for (const char* var : {"LC_ALL=", "LANG=de_DE.UTF-8", "LANGUAGE=de"})
            qputenv(QByteArray(var).split('=')[0], QByteArray(var).split('=')[1]);
    const Run r = exec(words.mid(german), words.size() < 80 ? 0 : code == 143 ? SIGTERM : SIGINT);
    if (german)
        for (const char* var : {"LC_ALL=C.UTF-8", "LANG=", "LANGUAGE="})
            qputenv(QByteArray(var).split('=')[0], QByteArray(var).split('=')[1]);
    QVERIFY2(r.code == code, r.err);
    QVERIFY2(out.isEmpty()         ? r.out.isEmpty()
             : out.startsWith('*') ? r.out.contains(out.mid(1).toUtf8())
                                   : r.out.startsWith(out.toUtf8()),
             r.out);
    const QString command =
        words.at(words.indexOf(QRegularExpression("dispense|size|verify|series|copy|burn|image")));
    const QByteArray line = "quillmarch-cli " + command.toUtf8() + ": " + err.toUtf8();
    QVERIFY2(err.isEmpty() ? r.err.isEmpty() : r.err.startsWith(line), r.err);
    QCOMPARE(r.err.count('\n'), int(!err.isEmpty()));
    QCOMPARE(QFileInfo(root + "/kept").size(), 3);
    QVERIFY(!QFileInfo::exists(root + "/out.qmp"));
}

void TestCli::sizeMatchesFind()
{
    QTemporaryDir tmp;
    // The unprivileged user may enter everything (what it may not is in exitCodes).
    QVERIFY(QFile::setPermissions(tmp.path(), QFileDevice::Permissions(0x7755)));
    const QString root = tmp.path() + "/root";
    QVERIFY(TreeMaker::make(root, {"f:a=1", "f:.h=77", "f:s/b=4097", "f:s/d/c=123456", "f:s/z=0",
                                   "d:e/e", "l:s/d/up->../..", "l:s/a->../a", "l:s/gone->no",
                                   "f:s/x/y=999", "f:../o/o=5555", "l:o->../o", "l:l->s/d/c"}));
    const QStringList paths = QString("%1 %1/s %1/s/x %1/l %1/o").arg(root).split(' ');
    const Run r = exec(s_nobody + QStringList{QM_CLI_PATH, "size"} + paths);
    QByteArray expected;
    for (const QString& path : paths)
        expected += QByteArray::number(findBytes(path, s_nobody)) + '\t' + path.toUtf8() + '\n';
    QVERIFY2(r.code == 0 && r.err.isEmpty(), r.err);
    QCOMPARE(r.out, expected);
}

// Names from several planes with JSON's specials, sizes up to 2^64-1, and the
// three shapes of volumes agreeing over a real NTFS volume.
void TestCli::jsonAndNul()
{
    QCOMPARE(exec({"--version"}).out, QByteArray("quillmarch-cli " QM_VERSION "\n"));
    QTemporaryDir tmp;
    const QString name = QString::fromUtf8("q\"\\\n\t\x01é中😀𠀀\U000E0041\U0010FFFD");
    QStringList paths;
    QByteArray nul;
    for (int i = 0; i < 3; ++i) {
        paths << tmp.path() + '/' + name + QString::number(i);
        QVERIFY(TreeMaker::make(
            tmp.path(), {"f:" + name + QString::number(i) + '=' + QString::number(i * 999)}));
        nul += QByteArray::number(i * 999) + '\t' + QFile::encodeName(paths[i]) + '\0';
    }
    QCOMPARE(exec(QStringList{"size", "-0"} + paths).out, nul);
    const QJsonArray sizes =
        QJsonDocument::fromJson(exec(QStringList{"size", "--json"} + paths).out).array();
    QCOMPARE(sizes.size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(sizes[i].toObject(), (QJsonObject{{"path", paths[i]}, {"size", i * 999}}));
    // The largest capacity a target may have, (2^54 - 1) x 512 = 2^63 - 512: exact past 2^53.
    const Run all = exec(QStringList{"dispense", "--json", "--fs", "NTFS", "--block-size", "512",
                                     "--free-blocks", "18014398509481983", "--main"} +
                         paths);
    QVERIFY2(all.out.contains(R"("capacity":9223372036854775296})"),
             QByteArray(all.out + all.err));
    QStringList chosen;
    for (const QJsonValue& e : QJsonDocument::fromJson(all.out)["entries"].toArray())
        chosen << e["path"].toString();
    QCOMPARE(chosen, QStringList({paths[2], paths[1], paths[0]}));

    TestMounts mounts;
    const QString volume = mounts.ntfs(tmp.path() + QString::fromUtf8("/vol 😀"), 8, false);
    QM_NEED_VOLUME(mounts, volume);
    const QJsonObject probed =
        QJsonDocument::fromJson(exec({"probe", "--json", volume}).out).object();
    QCOMPARE(probed["path"].toString(), volume);
    QCOMPARE(probed["capacity"].toDouble(),
             probed["block_size"].toDouble() * probed["available_blocks"].toDouble());
    // Other volumes' free space may change between the runs.
    const Run text = exec({"volumes"}), zero = exec({"volumes", "-0"});
    const auto line = [&volume](const QByteArray& out, char end) {
        for (const QByteArray& l : out.split(end))
            if (l.startsWith(volume.toUtf8() + '\t'))
                return l;
        return QByteArray();
    };
    QVERIFY(!line(text.out, '\n').isEmpty());
    QCOMPARE(line(zero.out, '\0'), line(text.out, '\n'));
    QCOMPARE(zero.out.count('\0'), text.out.count('\n'));
    const QJsonArray volumes = QJsonDocument::fromJson(exec({"volumes", "--json"}).out).array();
    QCOMPARE(volumes.size(), text.out.count('\n'));
    QVERIFY2(volumes.contains(probed), text.out);
}

// Several media: the text, the JSON and the lists of --out-dir put every entry
// on the same medium, once; --media keeps the first media of the whole series,
// counts the rest, and its lists replace those of the longer series.
void TestCli::seriesAgrees()
{
    QTemporaryDir tmp;
    const QString lists = tmp.path() + "/lists/";
    QStringList given,
        words = QString("series --fs UDF --block-size 2048 --free-blocks 400").split(' ')
                << "--out-dir" << lists << "--main";
    for (int i = 0; i < 30; ++i) {
        given << tmp.path() + "/e" + QString::number(i);
        QVERIFY(
            TreeMaker::make(tmp.path(), {QString("f:e%1=%2").arg(i).arg(i * 7919 % 23 * 3000)}));
    }
    QVERIFY(TreeMaker::make(tmp.path(), {"f:big=300000"})); // larger than a medium
    words << given << "--background" << tmp.path() + "/big";
    const Run text = exec(words), json = exec(words + QStringList{"--json"});
    QVERIFY2(text.code + json.code == 2 && text.err.count('\n') == 1, text.err);
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    const QJsonArray media = o["media"].toArray();
    QByteArrayList shown, listed; // each medium's lines, the last, and the lists
    for (const QByteArray& line : text.out.split('\n')) {
        if (line.startsWith('/'))
            shown.last() += line + '\n';
        else
            shown << line + '\n';
    }
    QStringList placed;
    for (int m = 0; m < media.size(); ++m) {
        QByteArray list;
        for (const QJsonValue& e : media[m]["entries"].toArray())
            list += e["path"].toString().toUtf8() + '\n', placed << e["path"].toString();
        QFile file(lists + SeriesPlanner::listName(m + 1, media.size(), false));
        QVERIFY(file.open(QIODevice::ReadOnly));
        listed << file.readAll();
        QCOMPARE(listed.last(), list);
        const double used = media[m]["used_bytes"].toDouble();
        QCOMPARE(used + media[m]["wasted_bytes"].toDouble(), o["medium_bytes"].toDouble());
        QVERIFY2(shown[m].contains(QByteArray(' ' + QByteArray::number(used) + " bytes used")),
                 shown[m]);
        QVERIFY(shown[m].endsWith(QByteArray("\n" + list)));
    }
    placed.sort(), given.sort();
    QCOMPARE(placed, given);
    const double bound = o["lower_bound"].toDouble();
    QVERIFY(media.size() > 3 && bound <= media.size());
    QCOMPARE(shown.value(media.size()),
             QString("Media: %1 (lower bound %2)\n").arg(media.size()).arg(bound).toUtf8());
    const Run cut = exec(words + QStringList{"--media", "2"});
    const int left =
        30 - media[0]["entries"].toArray().size() - media[1]["entries"].toArray().size();
    QVERIFY2(cut.code == 1 &&
                 cut.out.endsWith(QString("\nNot planned: %1 entries\n").arg(left).toUtf8()),
             cut.out);
    QCOMPARE(QDir(lists).entryList(QDir::Files).size(), 4);
    QFile second(lists + "medium-02.txt");
    QVERIFY(second.open(QIODevice::ReadOnly) && second.readAll() == listed[1]);
}

// A copy onto a target too small stops (7) and goes on once there is room;
// verify trusts the copy, then finds a byte changed on it.
void TestCli::copyFillsAndVerifies()
{
    QTemporaryDir tmp;
    TestMounts mounts;
    const QString root = tmp.path(), target = mounts.tmpfs(root + "/t", 1);
    QM_NEED_VOLUME(mounts, target);
    QVERIFY(TreeMaker::make(root, {"f:s/x=600000", "f:s/y=700000", "f:z=100"}));
    QCOMPARE(exec({"dispense", "--fs", "NTFS", "--block-size", "4096", "--free-blocks", "999",
                   "--main", root + "/s", root + "/z", "--save", root + "/p.qmp"})
                 .code,
             0);
    const QStringList copy{"copy", root + "/p.qmp", "--target", target, "--json"};
    Run r = exec(copy);
    QCOMPARE(r.code, 7);
    QCOMPARE(QJsonDocument::fromJson(r.out)["outcome"].toString(), QString("target_full"));
    QCOMPARE(QProcess::execute("mount", {"-o", "remount,size=8M", target}), 0);
    r = exec(copy);
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    QVERIFY2(r.code == 0 && o["outcome"] == "complete" && o["verified"] == 3,
             QByteArray(r.out + r.err).constData());
    QCOMPARE(
        QProcess::execute("sh", {"-c", "cd \"$0\" && xxh128sum --status -c XXH128SUMS", target}),
        0);
    const QStringList verify{"verify", root + "/p.qmp", "--target", target};
    QCOMPARE(exec(verify).code, 0);
    QFile f(target + "/s/y");
    QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(650000) && f.write("!") == 1);
    f.close();
    r = exec(verify);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.out.startsWith(("different\t" + root +
                               "/s\ts/y: different content from byte "
                               "650000")
                                  .toUtf8()),
             r.out);
}

// A disc plan burnt to a pseudo-drive and read back: verify takes the disc's word until an
// original changes. Nothing is written (8) onto a disc that holds files unless asked, onto
// one too small, or of a source changed since planning; an image stopped by Ctrl+C is not left.
void TestCli::burnAndImage()
{
    QTemporaryDir tmp;
    TestMounts mounts;
    const QString root = tmp.path(), disc = mounts.tmpfs(root + "/disc", 1);
    if (disc.isEmpty())
        QSKIP(qPrintable(mounts.why()));
    QVERIFY(TreeMaker::make(root, {"f:s/x=60000", "f:s/in/y=7000", "f:z=100", "f:big=536870912"}));
    const QString plan = root + "/p.qmp", big = root + "/big.qmp", drive = "stdio:" + disc + "/d";
    const QString dispense =
        "dispense --fs iso --block-size 2048 --free-blocks %1 --main %2 --save %3";
    QCOMPARE(exec(dispense.arg(400).arg(root + "/s " + root + "/z", plan).split(' ')).code +
                 exec(dispense.arg(300000).arg(root + "/big", big).split(' ')).code,
             0);
    const QStringList burn{"burn", plan, "--drive", drive},
        verify{"verify", plan, "--target", drive};
    Run r = exec(burn);
    QVERIFY2(r.code == 0, r.err);
    QVERIFY(r.out.startsWith("Written: ") &&
            r.out.endsWith(" blocks to " + drive.toUtf8() + "\nRead back equal: 3 files\n"));
    QCOMPARE(exec(verify).code, 0);
    r = exec(burn);
    QVERIFY2(r.code == 8 && r.err.contains("already holds files"), r.err);
    QCOMPARE(exec(burn + QStringList{"--overwrite"}).code, 0);
    QCOMPARE(exec(verify).code, 0);
    r = exec({"image", plan, "--out", root + "/p.iso", "--json"});
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    QVERIFY2(r.code == 0 && o["outcome"] == "written" && o["files"] == 3, r.err);
    QCOMPARE(o["blocks"].toDouble() * 2048, double(QFileInfo(root + "/p.iso").size()));

    QFile filler(disc + "/filler"); // the disc then has less room than the image needs
    QVERIFY(filler.open(QIODevice::WriteOnly) && filler.write(QByteArray(300000, 'f')) == 300000);
    filler.close();
    r = exec({"burn", plan, "--drive", drive + "2"});
    QVERIFY2(r.code == 8 && r.err.contains("there is room for"), r.err);
    QVERIFY(QFileInfo(disc + "/d2").size() == 0);
    QFile::remove(disc + "/filler");
    QVERIFY(TreeMaker::make(root, {"f:z=100"})); // the same size, written anew
    r = exec(burn + QStringList{"--overwrite"});
    QVERIFY2(r.code == 8 && r.err.contains(root.toUtf8() + "/z\" changed since it was planned"),
             r.err);
    r = exec(verify);
    QVERIFY2(r.code == 1 && r.out == ("different\t" + root +
                                      "/z\tz: changed since the disc was "
                                      "written\n")
                                         .toUtf8(),
             r.out);

    // Stopped while written or while read back: either way no image is left.
    r = exec({"image", big, "--out", root + "/big.iso"}, SIGINT, {}, root + "/big.iso");
    QVERIFY2(r.code == 130, r.err);
    QVERIFY(!QFileInfo::exists(root + "/big.iso"));
}

// On a terminal, series shows how far the plan is, counts as numbers (Qt 5 once
// printed the count of media as a control character).
void TestCli::seriesProgress()
{
    QTemporaryDir tmp;
    const QString series = QM_CLI_PATH " series " + endlessSearch(tmp.path()).join(' ');
    // script gives it a terminal; Ctrl+C after two seconds.
    const Run r = exec({"script", "-qec", "timeout -s INT 2 " + series, "/dev/null"});
    const QRegularExpression planning(
        "\\rPlanning: [0-9]+ media, [0-9]+ of 80 entries on them \\(");
    QVERIFY2(planning.match(QString::fromUtf8(r.out)).hasMatch(), r.out);
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
