#include <QtTest>

#include <csignal>

#include <sys/statvfs.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/dispense/Dispenser.h"
#include "core/model/EntriesModel.h"
#include "core/model/EntryPaths.h"
#include "core/model/SizeText.h"

namespace {

struct Run
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Run runProgram(const QString& program, const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C.UTF-8");
    p.setProcessEnvironment(env);
    p.start(program, args);
    Run r;
    if (!p.waitForStarted()) {
        r.err = "could not start " + program.toUtf8();
        return r;
    }
    p.closeWriteChannel();
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        r.err = "timed out";
        return r;
    }
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    return r;
}

Run cli(const QStringList& args)
{
    return runProgram(QM_CLI_PATH, args);
}

// Root reads everything: unreadable folders are only unreadable to others.
Run asNobody(const QString& program, const QStringList& args)
{
    if (::geteuid() != 0)
        return runProgram(program, args);
    return runProgram(
        "setpriv", QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} + args);
}

bool isOneLine(const QByteArray& text)
{
    return text.endsWith('\n') && text.count('\n') == 1;
}

QString runText(const Run& r)
{
    return QString("exit %1\nstdout: %2\nstderr: %3")
        .arg(r.code)
        .arg(QString::fromUtf8(r.out), QString::fromUtf8(r.err));
}

// The words of a command line (split at spaces), %T replaced by root.
QStringList args(const QString& line, const QString& root = QString())
{
    QStringList words = line.split(' ', Qt::SkipEmptyParts);
    for (QString& w : words)
        w.replace("%T", root);
    return words;
}

QStringList commaList(const QString& text)
{
    return text.split(',', Qt::SkipEmptyParts);
}

// Builds a tree below root from lines such as
//   "f a/b.txt 123"   a file of 123 bytes (folders made as needed)
//   "d a/empty"       a folder
//   "l a/up -> .."    a symbolic link
//   "x a/locked"      a folder others cannot read or enter (made last)
bool makeTree(const QString& root, const QStringList& lines)
{
    QStringList locked;
    for (const QString& line : lines) {
        const QStringList w = line.split(' ');
        const QString kind = w.value(0);
        const QString path = root + '/' + w.value(1);
        if (!QStringList{"f", "d", "l", "x"}.contains(kind) ||
            !QDir().mkpath(kind == "d" || kind == "x" ? path : QFileInfo(path).path()))
            return false;
        QFile f(path);
        if (kind == "f" && !(f.open(QIODevice::WriteOnly) && f.resize(w.value(2).toLongLong())))
            return false;
        if (kind == "l" && ::symlink(QFile::encodeName(w.value(3)).constData(),
                                     QFile::encodeName(path).constData()) != 0)
            return false;
        if (kind == "x")
            locked << path;
    }
    for (const QString& path : locked)
        QFile::setPermissions(path, QFileDevice::Permissions());
    return true;
}

// Every file below root (links not followed) with a hash of its content.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        QByteArray hash = "folder";
        if (!it.fileInfo().isDir() && f.open(QIODevice::ReadOnly))
            hash = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
        files.insert(path, hash);
    }
    return files;
}

std::array<QVector<Entry>, 5> groupsOf(DM* model)
{
    std::array<QVector<Entry>, 5> groups;
    for (int g = Dispensed; g <= NotInUse; ++g) {
        for (EntryPos pos = model->groupBegin(g); model->isValidPos(pos); ++pos.index)
            groups[g] << model->entryAt(pos);
    }
    return groups;
}

QStringList identsOf(const QVector<Entry>& entries)
{
    QStringList idents;
    for (const Entry& e : entries)
        idents << e.Ident;
    return idents;
}

// Adds the entries "R path", "M path", "B path", "N path" (paths below root)
// to model as the window's Add does, then moves each into its group.
void addEntries(DM* model, const QString& root, const QStringList& groups)
{
    for (const QString& line : groups) {
        const int group = QString("?RMBN").indexOf(line.at(0));
        EntryPos pos = model->addEntry(entryForPath(root + '/' + line.mid(2)));
        if (group != Main)
            model->moveEntry(pos, group);
    }
}

bool writeProject(const QString& file, const QString& root, const QStringList& groups,
                  const Target* target = nullptr)
{
    EntriesModel model;
    addEntries(&model, root, groups);
    if (target)
        model.setTarget(*target);
    return model.saveAs(file);
}

// The window's dispense, in this process: the real Dispenser over the model,
// its result applied with applyDispense.
bool dispenseInProcess(quint64* wasted = nullptr)
{
    Dispenser d;
    QSignalSpy finished(&d, &IDispenser::do_finish);
    d.start();
    d.wait();
    if (finished.count() != 1 || !finished.at(0).at(0).toBool())
        return false;
    dataModel()->applyDispense(d.resultQueue(), d.wasted());
    if (wasted)
        *wasted = d.wasted();
    return true;
}

// The text report of a finished search.
QByteArray textReport(const QStringList& paths, quint64 wasted, quint64 blockSize)
{
    QByteArray out;
    for (const QString& p : paths)
        out += QFile::encodeName(p) + '\n';
    return out + "Wasted: " + QByteArray::number(wasted) + " bytes (" +
           QByteArray::number(wasted / blockSize) + " blocks)\nProven best: yes\n";
}

// A Main group whose search cannot end in a lifetime: 80 files of odd,
// scattered block counts between a eleventh and a tenth of an odd capacity.
// At most ten fit, ten odd counts make an even sum and nine leave a tenth of
// the room free, so no selection fills the room exactly, yet no divisor of
// the counts shows it and the sums are too many to tabulate. (The files are
// sparse.) And an empty file in Background, which any finished Main level
// would take.
const quint64 s_endlessCapacity = (quint64(1) << 28) + 1;
const int s_endlessFiles = 80;

QStringList endlessSearchTree()
{
    const quint64 low = s_endlessCapacity / 11 + 1;
    const quint64 high = s_endlessCapacity / 10;
    quint64 x = 12345;
    QStringList lines;
    for (int i = 1; i <= s_endlessFiles; ++i) {
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        const quint64 blocks = (low + (x >> 33) % (high - low)) | 1;
        lines << QString("f big/f%1 %2").arg(i).arg(blocks * 4096);
    }
    return lines << "f small/empty 0";
}

QStringList endlessSearchArgs(const QString& root)
{
    QStringList words{"dispense", "--main"};
    for (int i = 1; i <= s_endlessFiles; ++i)
        words << QString("%1/big/f%2").arg(root).arg(i);
    return words + args(QString("--background %T/small/empty --fs NTFS --block-size 4096 "
                                "--free-blocks %1")
                            .arg(s_endlessCapacity),
                        root);
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
private slots:
    void help_data();
    void help();
    void errors_data();
    void errors();
    void sizeAgreesWithFind_data();
    void sizeAgreesWithFind();
    void volumesAndProbe();
    void ntfsVolume();
    void dispenseProject_data();
    void dispenseProject();
    void dispensePathsAndOutputForms();
    void vanishedEntryWarned();
    void nothingFits_data();
    void nothingFits();
    void timeLimitAccepts();
    void interruptCancels();
    void progressOnTerminal();
};

void TestCli::help_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<QString>("usage"); // what follows "Usage: quillmarch-cli "
    for (const auto& [line, usage] : {std::pair{"--help", "COMMAND"},
                                      {"volumes --help", "volumes"},
                                      {"probe --help", "probe"},
                                      {"size -h", "size"},
                                      {"dispense --help", "dispense"},
                                      {"help dispense", "dispense"}})
        QTest::newRow(line) << QString(line) << QString(usage);
}

void TestCli::help()
{
    QFETCH(QString, args);
    QFETCH(QString, usage);
    const Run r = cli(::args(args));
    QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(runText(r)));
    QVERIFY2(r.out.startsWith("Usage: quillmarch-cli " + usage.toUtf8()), r.out.constData());
}

void TestCli::errors_data()
{
    // %T: a folder with tree/, good.qmp (no target), zeroblock.qmp (a target
    // of block size 0), corrupt.qmp and kept.qmp; %F: usable target figures.
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, const QString& line, int code, const char* message) {
        QTest::newRow(name) << line << code << QString(message);
    };
    const QString paths = "dispense --main %T/tree/a --fs ";

    // Usage errors: the command, the option parser, then dispense's own checks.
    row("no command", "", 2, "COMMAND");
    row("unknown command", "frobnicate", 2, "unknown command");
    row("help for unknown command", "help frobnicate", 2, "unknown command");
    row("volumes with argument", "volumes %T", 2, "unexpected");
    row("probe without path", "probe", 2, "PATH");
    row("size without path", "size", 2, "PATH");
    row("unknown option", "dispense %T/good.qmp --fast", 2, "unknown option");
    row("option without value", "dispense %T/good.qmp --time-limit", 2, "needs a value");
    row("option twice", "dispense %T/good.qmp %F --save %T/o1 --save %T/o2", 2, "more than once");
    row("dispense without project", "dispense", 2, "PROJECT");
    row("two projects", "dispense %T/good.qmp %T/good.qmp %F", 2, "unexpected");
    row("project and paths", "dispense %T/good.qmp --main %T/tree/a %F", 2, "not both");
    row("empty path list", "dispense --main --background %F", 2, "no PATH");
    row("paths without target", "dispense --main %T/tree/a", 2, "target is needed");
    row("target and figures", "dispense %T/good.qmp --target %T %F", 2, "excludes");
    row("fs alone", paths + "NTFS", 2, "go together");
    row("fs unknown", paths + "EXT4 --block-size 4096 --free-blocks 9", 2, "unknown file system");
    row("block size 0", paths + "NTFS --block-size 0 --free-blocks 9", 2, "--block-size");
    row("free blocks negative", paths + "NTFS --block-size 4096 --free-blocks -1", 2,
        "--free-blocks");
    row("capacity overflows", paths + "NTFS --block-size 4294967296 --free-blocks 4294967296", 2,
        "too large");
    row("time limit text", "dispense %T/good.qmp %F --time-limit soon", 2, "--time-limit");
    row("json and nul", "dispense %T/good.qmp %F --json -0", 2, "exclude");

    // Target and file errors.
    row("size of missing path", "size %T/missing", 3, "No such file");
    row("probe missing path", "probe %T/missing", 3, "No such file");
    row("missing project", "dispense %T/missing.qmp %F --save %T/out.qmp", 3, "No such file");
    row("corrupt project", "dispense %T/corrupt.qmp %F --save %T/kept.qmp", 3,
        "cannot be read as a project");
    row("project without target", "dispense %T/good.qmp --save %T/out.qmp", 3, "no target");
    row("project target of block size 0", "dispense %T/zeroblock.qmp --save %T/kept.qmp", 3,
        "target");
    row("missing path to dispense", "dispense --main %T/tree/a %T/missing %F", 3, "No such file");
    row("missing target", "dispense %T/good.qmp --target %T/missing", 3, "No such file");
    row("save into missing folder", "dispense %T/good.qmp %F --save %T/nofolder/out.qmp", 3,
        "does not exist");
    row("save onto a folder", "dispense %T/good.qmp %F --save %T/tree", 3, "is a folder");
    // The temporary folder lies on the machine's disk or tmpfs, never NTFS or FAT32.
    row("probe unsupported", "probe %T", 3, "Unsupported file system");
    row("dispense unsupported target", "dispense %T/good.qmp --target %T --save %T/kept.qmp", 3,
        "Unsupported file system");
}

void TestCli::errors()
{
    QFETCH(QString, args);
    QFETCH(int, code);
    QFETCH(QString, message);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString root = tmp.path();
    QVERIFY(makeTree(root, {"f tree/a 5000", "f tree/b/c 7000"}));
    QVERIFY(writeProject(root + "/good.qmp", root, {"M tree/a", "M tree/b"}));
    const Target zero{QString(), NTFS, 0, 100};
    QVERIFY(writeProject(root + "/zeroblock.qmp", root, {"M tree/a"}, &zero));
    for (const auto& [name, content] :
         {std::pair{"/corrupt.qmp", "<?xml version=\"1.0\"?>\n<Quillmarch>\n    <Main>\n"},
          {"/kept.qmp", "an earlier file that must stay as it is\n"}}) {
        QFile file(root + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) > 0);
    }
    args.replace("%F", "--fs NTFS --block-size 4096 --free-blocks 1000");

    const QMap<QString, QByteArray> before = snapshot(root);
    const Run r = cli(::args(args, root));
    QVERIFY2(r.code == code, qPrintable(runText(r)));
    QVERIFY2(isOneLine(r.err) && r.err.startsWith("quillmarch-cli"), r.err.constData());
    QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
    QVERIFY2(r.out.isEmpty(), r.out.constData());
    QCOMPARE(snapshot(root), before);
}

void TestCli::sizeAgreesWithFind_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QStringList>("paths"); // below the tree's root; "." is the root itself
    const auto row = [](const char* name, const char* more, const char* paths) {
        QTest::newRow(name) << commaList(QString("f a.bin 1,f sub/b.bin 4097,f sub/deeper/c.bin "
                                                 "123456,f sub/zero 0,f .hidden 77,") +
                                         more)
                            << commaList(paths);
    };
    row("link loop", "l sub/deeper/up -> ../..,l sub/self -> .", ".,sub,sub/deeper");
    // The walk enters a folder once however many links lead to it; find -L
    // agrees only while one link does.
    row("links to a file and to a folder outside",
        "l sub/again -> ../a.bin,l link.bin -> sub/deeper/c.bin,f ../outside/o.bin 5555,"
        "l other -> ../outside",
        ".,sub,link.bin,other");
    row("files, dangling links and empty folders",
        "l sub/gone -> nowhere,l gone-dir -> sub/nothing/,d e1,d e2/e3/e4,f e2/x 10",
        ".,sub,a.bin,sub/zero,e1,e2/e3");
    row("unreadable folder", "x sub/locked,f sub/locked/secret 999,f sub/locked/inner/more 1000",
        ".,sub,sub/locked");
    row("everything at once",
        "l sub/deeper/up -> ../..,l sub/again -> ../a.bin,l sub/gone -> nowhere,d e1/e2,"
        "x sub/locked,f sub/locked/secret 999",
        ".,sub");
}

void TestCli::sizeAgreesWithFind()
{
    QFETCH(QStringList, tree);
    QFETCH(QStringList, paths);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    // The unprivileged user must be able to enter everything but the locked folders.
    QVERIFY(QFile::setPermissions(tmp.path(), QFileDevice::Permissions(0x7755)));
    const QString root = tmp.path() + "/root";
    QVERIFY(makeTree(root, tree));

    QStringList words{"size"};
    for (const QString& p : paths)
        words << (p == "." ? root : root + '/' + p);
    const Run r = asNobody(QM_CLI_PATH, words);
    QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(runText(r)));
    const QList<QByteArray> lines = r.out.split('\n');
    QCOMPARE(lines.size(), words.size()); // one line per path, and the final newline
    for (int i = 1; i < words.size(); ++i) {
        const Run found = asNobody("find", {"-L", words.at(i), "-type", "f", "-printf", "%s\n"});
        quint64 expected = 0;
        for (const QByteArray& size : found.out.split('\n'))
            expected += size.toULongLong();
        QCOMPARE(lines.at(i - 1), QByteArray::number(expected) + '\t' + words.at(i).toUtf8());
    }
    // The locked folders must be removable again.
    QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        QFile::setPermissions(it.next(), QFileDevice::Permissions(0x7700));
}

void TestCli::volumesAndProbe()
{
    const Run r = cli({"volumes"});
    QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(runText(r)));
    for (const QByteArray& line : r.out.split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> f = line.split('\t');
        QVERIFY2(f.size() == 5 || f.size() == 2, line.constData());
        const Run probe = cli({"probe", QFile::decodeName(f.at(0))});
        if (f.size() == 2) {
            // A root that cannot be a target says why, and probe says the same.
            QVERIFY2(probe.code == 3, qPrintable(runText(probe)));
            QVERIFY2(probe.err.trimmed().endsWith(f.at(1)), probe.err.constData());
            continue;
        }
        QVERIFY2(QList<QByteArray>({"NTFS", "FAT", "UDF"}).contains(f.at(1)), line.constData());
        QCOMPARE(f.at(4).toULongLong(), f.at(2).toULongLong() * f.at(3).toULongLong());
        QVERIFY2(probe.code == 0, qPrintable(runText(probe)));
        const QList<QByteArray> p = probe.out.trimmed().split('\t');
        QCOMPARE(p.value(1), f.at(1));
        QCOMPARE(p.value(2), f.at(2));
    }
}

void TestCli::ntfsVolume()
{
    const QString mkntfs = QStandardPaths::findExecutable("mkntfs", {"/usr/sbin", "/sbin"});
    const QString ntfs3g = QStandardPaths::findExecutable("ntfs-3g");
    if (::geteuid() != 0 || !QFileInfo::exists("/dev/fuse") || mkntfs.isEmpty() || ntfs3g.isEmpty())
        QSKIP("needs root, /dev/fuse, mkntfs and ntfs-3g to mount an NTFS image");

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString image = tmp.path() + "/ntfs.img";
    const QString mount = tmp.path() + "/mnt";
    QVERIFY(QDir().mkpath(mount));
    QVERIFY(makeTree(tmp.path(), {"f ntfs.img 33554432", "f tree/a 100000", "f tree/b/c 3000000",
                                  "f tree/d 40000000"}));
    Run made = runProgram(mkntfs, {"-F", "-f", "-q", image});
    QVERIFY2(made.code == 0, qPrintable(runText(made)));
    made = runProgram(ntfs3g, {image, mount});
    if (made.code != 0)
        QSKIP(qPrintable("ntfs-3g cannot mount here: " + QString::fromUtf8(made.err)));
    struct Unmount
    {
        QString path;
        ~Unmount() { runProgram("umount", {path}); }
    } unmount{mount};

    struct statvfs fs = {};
    QCOMPARE(::statvfs(QFile::encodeName(mount).constData(), &fs), 0);
    const QByteArray expected = QFile::encodeName(mount) + "\tNTFS\t" +
                                QByteArray::number(quint64(fs.f_frsize)) + '\t' +
                                QByteArray::number(quint64(fs.f_bavail)) + '\t' +
                                QByteArray::number(quint64(fs.f_frsize) * fs.f_bavail) + '\n';
    const Run probe = cli({"probe", mount});
    QVERIFY2(probe.code == 0, qPrintable(runText(probe)));
    QCOMPARE(probe.out, expected);
    const Run volumes = cli({"volumes"});
    QVERIFY2(volumes.code == 0, qPrintable(runText(volumes)));
    QVERIFY2(volumes.out.split('\n').contains(expected.chopped(1)), volumes.out.constData());

    // Dispensing onto the mounted volume is dispensing onto its figures.
    const QString paths = "dispense --main %T/tree/a %T/tree/b %T/tree/d ";
    const Run onVolume = cli(args(paths + "--target %T/mnt", tmp.path()));
    const Run onFigures = cli(args(
        paths +
            QString("--fs NTFS --block-size %1 --free-blocks %2").arg(fs.f_frsize).arg(fs.f_bavail),
        tmp.path()));
    QVERIFY2(onVolume.code == 0, qPrintable(runText(onVolume)));
    QCOMPARE(onVolume.out, onFigures.out);
    QCOMPARE(onVolume.out.count('\n'), 2 + 2); // the 40 MB file does not fit
}

void TestCli::dispenseProject_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<int>("fs");
    QTest::addColumn<quint64>("blockSize");
    QTest::addColumn<quint64>("freeBlocks");
    QTest::addColumn<bool>("dispenseFirst"); // the project already holds a result

    // "name:blocks": files of blocks x 4096 - 7 bytes.
    const auto tree = [](const char* files) {
        QStringList lines;
        for (const QString& f : commaList(files))
            lines << QString("f tree/%1 %2")
                         .arg(f.section(':', 0, 0))
                         .arg(f.section(':', 1).toInt() * 4096 - 7);
        return lines;
    };
    QTest::newRow("6 4 4 3 into 8 on FAT")
        << tree("a:6,b:4,c:4,d:3") << commaList("M a,M b,M c,M d") << int(FAT) << quint64(4096)
        << quint64(8) << false;
    QTest::newRow("three levels share the room")
        << tree("r1:5,r2:2,m1:9,m2:4,m3:3,b1:2,b2:1,n1:1")
        << commaList("R r1,R r2,M m1,M m2,M m3,B b1,B b2,N n1") << int(NTFS) << quint64(4096)
        << quint64(16) << false;
    QStringList folders = tree("x:2");
    for (int i = 0; i < 40; ++i)
        folders << QString("f tree/dir1/f%1 %2").arg(i).arg(1000 + i)
                << QString("f tree/dir2/s%1/g 2049").arg(i % 25);
    QTest::newRow("udf folders with metadata")
        << folders << commaList("M dir1,M dir2,B x") << int(UDF) << quint64(2048)
        << quint64(262 + 200) << false;
    QTest::newRow("a held result is put back first")
        << tree("a:4,b:3,c:3,d:2") << commaList("R d,M a,M b,M c") << int(NTFS) << quint64(4096)
        << quint64(8) << true;
}

void TestCli::dispenseProject()
{
    QFETCH(QStringList, tree);
    QFETCH(QStringList, groups);
    QFETCH(int, fs);
    QFETCH(quint64, blockSize);
    QFETCH(quint64, freeBlocks);
    QFETCH(bool, dispenseFirst);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString root = tmp.path();
    QVERIFY(makeTree(root, tree));
    const QString project = root + "/project.qmp";
    const QString out = root + "/out.qmp";
    const Target target{root, fs, blockSize, freeBlocks};
    QVERIFY(writeProject(project, root + "/tree", groups, &target));
    DM* model = dataModel();
    if (dispenseFirst) {
        // A result taken with a larger target, saved in the project.
        QVERIFY(model->load(project, project));
        model->setTarget(Target{root, fs, blockSize, freeBlocks * 3});
        QVERIFY(dispenseInProcess());
        model->setTarget(target);
        QVERIFY(model->saveAs(project) && model->isDispensed());
    }
    const QMap<QString, QByteArray> before = snapshot(root);

    const Run r = cli({"dispense", project, "--save", out});
    QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(runText(r)));
    QCOMPARE(snapshot(root).value(project), before.value(project));

    // The window's dispense on the same project and target, in this process.
    QVERIFY(model->load(project, project));
    if (model->isDispensed())
        model->undispense();
    quint64 wasted = 0;
    QVERIFY(dispenseInProcess(&wasted));
    const auto expected = groupsOf(model);
    QVERIFY(!expected[Dispensed].isEmpty());
    QCOMPARE(r.out, textReport(identsOf(expected[Dispensed]), wasted, blockSize));

    // The saved project opens with the same groups, origins and target.
    EntriesModel saved;
    QVERIFY2(saved.load(out, out), qPrintable(saved.lastError()));
    QVERIFY(saved.isDispensed());
    QVERIFY(groupsOf(&saved) == expected);
    QCOMPARE(saved.origins(), static_cast<EntriesModel*>(model)->origins());
    QCOMPARE(saved.target(), target);
}

void TestCli::dispensePathsAndOutputForms()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString root = tmp.path();
    QVERIFY(makeTree(root, commaList("f r\"\tq 10000,f m1/a 30000,f m1/sub/b 2100,d m1/empty,"
                                     "f m2.bin 20000,f m3/c 9000,f bg/d 5000,f bg/e 3000")));
    const quint64 folderSizes[] = {30000 + 2100, 9000, 8000}; // m1, m3, bg
    const QStringList base = args("dispense --required %T/r\"\tq --main %T/m1/ %T/m2.bin "
                                  "%T/m3 --background %T/bg --fs FAT --block-size 2048 "
                                  "--free-blocks 30",
                                  root);
    const QString out = root + "/out.qmp";
    const Run text = cli(base + QStringList{"--save", out});
    const Run nul = cli(base + QStringList{"-0"});
    const Run json = cli(base + QStringList{"--json"});
    for (const Run& r : {text, nul, json})
        QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(runText(r)));

    // The same entries added in the window, with their folder sizes measured.
    DM* model = dataModel();
    model->newProject();
    addEntries(model, root, commaList("R r\"\tq,M m1/,M m2.bin,M m3,B bg"));
    int folder = 0;
    for (int g = Required; g <= Background; ++g) {
        for (EntryPos pos = model->groupBegin(g); model->isValidPos(pos); ++pos.index) {
            Entry& e = model->entryAt(pos);
            if (e.Kind == Folder) {
                e.Size = folderSizes[folder++];
                e.IsValidSize = true;
                model->entrySizeKnown(pos);
            }
        }
    }
    QCOMPARE(folder, 3);
    const Target target{QString(), FAT, 2048, 30};
    model->setTarget(target);
    quint64 wasted = 0;
    QVERIFY(dispenseInProcess(&wasted));
    const auto expected = groupsOf(model);
    const QVector<int> origins = static_cast<EntriesModel*>(model)->origins();
    const QStringList paths = identsOf(expected[Dispensed]);
    // A name to escape in JSON, and a folder measured for it.
    QCOMPARE(paths, QStringList({root + "/m1", root + "/r\"\tq"}));

    QCOMPARE(text.out, textReport(paths, wasted, 2048));
    EntriesModel saved;
    QVERIFY2(saved.load(out, out), qPrintable(saved.lastError()));
    QVERIFY(groupsOf(&saved) == expected);
    QCOMPARE(saved.origins(), origins);
    QCOMPARE(saved.target(), target);

    QCOMPARE(nul.out, QFile::encodeName(paths.join(QChar('\0'))) + '\0');

    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(json.out, &error).object();
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    const QJsonArray entries = o.value("entries").toArray();
    QCOMPARE(entries.size(), paths.size());
    for (int i = 0; i < entries.size(); ++i) {
        const QJsonObject entry = entries.at(i).toObject();
        const Entry& e = expected[Dispensed].at(i);
        QCOMPARE(entry.value("path").toString(), e.Ident);
        QCOMPARE(entry.value("kind").toString(), QString(e.Kind == Folder ? "folder" : "file"));
        QCOMPARE(entry.value("size").toVariant().toULongLong(), e.Size);
        QCOMPARE(entry.value("origin").toString(), groupTitle(origins.at(i)));
    }
    QCOMPARE(o.value("wasted_bytes").toVariant().toULongLong(), wasted);
    QCOMPARE(o.value("wasted_blocks").toVariant().toULongLong(), wasted / 2048);
    QCOMPARE(o.value("proven_best").toBool(), true);
    const QJsonObject t = o.value("target").toObject();
    QCOMPARE(t.value("file_system").toString(), QString("FAT"));
    QCOMPARE(t.value("capacity").toVariant().toULongLong(), quint64(30 * 2048));
}

void TestCli::vanishedEntryWarned()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(makeTree(tmp.path(), {"f a 5000", "f gone 6000"}));
    QVERIFY(writeProject(tmp.path() + "/p.qmp", tmp.path(), {"M a", "B gone"}));
    QVERIFY(QFile::remove(tmp.path() + "/gone"));
    const Run r =
        cli(args("dispense %T/p.qmp --fs NTFS --block-size 4096 --free-blocks 2", tmp.path()));
    QVERIFY2(r.code == 0, qPrintable(runText(r)));
    QVERIFY2(isOneLine(r.err) && r.err.contains("/gone does not exist"), r.err.constData());
}

void TestCli::nothingFits_data()
{
    QTest::addColumn<QString>("args"); // %T: the folder with a, b and parked.qmp
    QTest::addColumn<quint64>("wastedBlocks");
    QTest::newRow("full volume") << "--main %T/a %T/b --free-blocks 0" << quint64(0);
    QTest::newRow("everything too large") << "--required %T/b --free-blocks 2" << quint64(2);
    QTest::newRow("only parked entries") << "%T/parked.qmp --free-blocks 9" << quint64(9);
}

void TestCli::nothingFits()
{
    QFETCH(QString, args);
    QFETCH(quint64, wastedBlocks);
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(makeTree(tmp.path(), {"f a 5000", "f b 90000"}));
    QVERIFY(writeProject(tmp.path() + "/parked.qmp", tmp.path(), {"N a"}));
    const Run r = cli(
        ::args("dispense --fs NTFS --block-size 4096 " + args + " --save %T/out.qmp", tmp.path()));
    QVERIFY2(r.code == 1, qPrintable(runText(r)));
    QVERIFY2(isOneLine(r.err) && r.err.contains("Nothing fits"), r.err.constData());
    QCOMPARE(r.out, textReport({}, wastedBlocks * 4096, 4096));
    QVERIFY(!QFileInfo::exists(tmp.path() + "/out.qmp"));
}

void TestCli::timeLimitAccepts()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(makeTree(tmp.path(), endlessSearchTree()));
    const QString out = tmp.path() + "/out.qmp";
    const Run r = cli(endlessSearchArgs(tmp.path()) +
                      QStringList{"--time-limit", "0.5", "--save", out, "--json"});
    // Quiet, since standard error is no terminal here.
    QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(runText(r)));
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    QCOMPARE(o.value("proven_best").toBool(true), false);

    // The best selection of Main so far, and nothing of Background, which
    // the accepted search never reached.
    quint64 used = 0;
    for (const QJsonValue& e : o.value("entries").toArray()) {
        QCOMPARE(e.toObject().value("origin").toString(), QString("Main"));
        used += e.toObject().value("size").toVariant().toULongLong() / 4096;
    }
    QVERIFY(used > 0 && used < s_endlessCapacity);
    QCOMPARE(o.value("wasted_bytes").toVariant().toULongLong(), (s_endlessCapacity - used) * 4096);

    EntriesModel saved;
    QVERIFY2(saved.load(out, out), qPrintable(saved.lastError()));
    QCOMPARE(saved.groupSize(Dispensed), o.value("entries").toArray().size());
    QCOMPARE(saved.groupSize(Background), 1);
}

void TestCli::interruptCancels()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(makeTree(tmp.path(), endlessSearchTree()));
    const QString out = tmp.path() + "/out.qmp";
    QProcess p;
    p.start(QM_CLI_PATH, endlessSearchArgs(tmp.path()) + QStringList{"--save", out});
    QVERIFY(p.waitForStarted());
    QVERIFY(!p.waitForFinished(1500)); // searching, and would go on for ages
    ::kill(pid_t(p.processId()), SIGINT);
    QVERIFY2(p.waitForFinished(30000), "Ctrl+C did not end the search");
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    const QByteArray err = p.readAllStandardError();
    QVERIFY2(isOneLine(err) && err.contains("Cancelled"), err.constData());
    QVERIFY(p.readAllStandardOutput().isEmpty());
    QVERIFY(!QFileInfo::exists(out));
}

void TestCli::progressOnTerminal()
{
    const QString script = QStandardPaths::findExecutable("script");
    if (script.isEmpty())
        QSKIP("script(1) is needed to give the program a terminal");
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(makeTree(tmp.path(), endlessSearchTree()));
    // script runs the command on a pseudo-terminal and copies what it shows.
    const QString command = QM_CLI_PATH " " + endlessSearchArgs(tmp.path()).join(' ') +
                            " --time-limit 0.8 -0 >/dev/null";
    const Run r = runProgram(script, {"-qefc", command, "/dev/null"});
    QVERIFY2(r.code == 0, qPrintable(runText(r)));
    QVERIFY2(r.out.contains("Searching: best so far wastes"), r.out.constData());
    // The line is erased at the end, leaving nothing behind on the terminal.
    QVERIFY2(r.out.endsWith("\r\x1b[K"), r.out.constData());
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
